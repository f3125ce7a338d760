#include "SimProcess.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr int StartWaitMs = 10000;
constexpr int StopWaitMs = 5000;
QAtomicInt simCount;
}  // namespace

QString SimProcess::unavailableReason()
{
    const QString sim = qEnvironmentVariable("KSR_SIM");
    if (sim.isEmpty() || !QFileInfo(sim).isExecutable())
        return QStringLiteral("KSR_SIM does not name the built ksr583-sim; run this test through ctest");
    if (!QFileInfo::exists(QStringLiteral("/dev/ptmx")))
        return QStringLiteral("this machine has no pseudo-terminals (/dev/ptmx is missing)");
    return QString();
}

SimProcess::SimProcess(const QString &folder) : m_folder(folder)
{
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(const QStringList &extra)
{
    m_link = QDir(m_folder).filePath(QStringLiteral("ksr583-%1-%2")
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(simCount.fetchAndAddRelaxed(1)));
    m_proc = std::make_unique<QProcess>();
    m_proc->setProcessChannelMode(QProcess::SeparateChannels);
    m_proc->start(qEnvironmentVariable("KSR_SIM"),
                  QStringList{"--link", m_link, "--trace", QDir(m_folder).filePath("trace.txt"),
                              "--control", QDir(m_folder).filePath("control")}
                      + extra);
    if (!m_proc->waitForStarted(StartWaitMs)) {
        m_error = QStringLiteral("ksr583-sim did not start: ") + m_proc->errorString();
        return false;
    }
    while (!m_proc->canReadLine() && m_proc->state() == QProcess::Running)
        m_proc->waitForReadyRead(StartWaitMs);
    const QString terminal = QString::fromLocal8Bit(m_proc->readLine()).trimmed();
    if (!terminal.startsWith(QLatin1Char('/'))) {
        m_error = QStringLiteral("ksr583-sim found no pseudo-terminal: ")
                  + QString::fromLocal8Bit(m_proc->readAllStandardError());
        return false;
    }
    return true;
}

void SimProcess::stop()
{
    if (!m_proc || m_proc->state() == QProcess::NotRunning)
        return;
    m_proc->terminate();
    if (!m_proc->waitForFinished(StopWaitMs)) {
        m_proc->kill();
        m_proc->waitForFinished(StopWaitMs);
    }
}

bool SimProcess::control(const QByteArray &line)
{
    QFile fifo(QDir(m_folder).filePath(QStringLiteral("control")));
    if (!fifo.open(QIODevice::WriteOnly))
        return false;
    return fifo.write(line + '\n') == line.size() + 1;
}

QStringList SimProcess::requests() const
{
    QFile trace(QDir(m_folder).filePath(QStringLiteral("trace.txt")));
    if (!trace.open(QIODevice::ReadOnly))
        return QStringList();
    QStringList requests;
    // Each line: time stamp, code, payload in hex or "-".
    const QList<QByteArray> lines = trace.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const int blank = line.indexOf(' ');
        if (blank > 0)
            requests << QString::fromLatin1(line.mid(blank + 1)).trimmed();
    }
    return requests;
}

bool SimProcess::received(const QString &code, const QString &payloadHex) const
{
    const QStringList all = requests();
    for (const QString &request : all) {
        const QStringList parts = request.split(QLatin1Char(' '));
        if (parts.value(0) == code && (payloadHex.isEmpty() || parts.value(1) == payloadHex))
            return true;
    }
    return false;
}
