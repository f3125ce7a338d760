#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QFileInfo>

namespace {
constexpr int StartTimeoutMs = 10000;
constexpr int EndTimeoutMs = 5000;
}  // namespace

QString SimProcess::program()
{
    const QString fromEnvironment = qEnvironmentVariable("KSR_SIM");
    return fromEnvironment.isEmpty() ? QStringLiteral(KSR_SIM_BUILT) : fromEnvironment;
}

bool SimProcess::ptysAvailable()
{
    return QFileInfo::exists(QStringLiteral("/dev/ptmx"));
}

SimProcess::~SimProcess()
{
    terminate();
}

bool SimProcess::start(const QString &link, const QStringList &options)
{
    terminate();
    m_terminal.clear();
    m_error.clear();
    if (!QFileInfo(program()).isExecutable()) {
        m_error = QStringLiteral("no simulator at %1").arg(program());
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->start(program(), QStringList{QStringLiteral("--link"), link} + options);
    if (!m_process->waitForStarted(StartTimeoutMs)) {
        m_error = m_process->errorString();
        return false;
    }
    // The first line on stdout is the terminal's path, printed once the
    // terminal and the link exist.
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!m_process->canReadLine() && m_process->state() == QProcess::Running
           && !deadline.hasExpired())
        m_process->waitForReadyRead(int(deadline.remainingTime()));
    m_terminal = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    if (m_terminal.startsWith(QLatin1Char('/')))
        return true;
    m_process->waitForFinished(EndTimeoutMs);
    m_error = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
    if (m_error.isEmpty())
        m_error = QStringLiteral("the simulator named no terminal");
    return false;
}

void SimProcess::terminate()
{
    if (isRunning())
        m_process->terminate();
    waitForEnd();
}

void SimProcess::waitForEnd()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(EndTimeoutMs)) {
        m_process->kill();
        m_process->waitForFinished(EndTimeoutMs);
    }
    m_process.reset();
}

bool SimProcess::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

qint64 SimProcess::pid() const
{
    return m_process ? m_process->processId() : 0;
}
