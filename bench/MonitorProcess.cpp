#include "MonitorProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
constexpr int TimeoutMs = 10000;
}

QString MonitorProcess::program()
{
    const QString fromEnvironment = qEnvironmentVariable("KSR_MONITOR");
    return fromEnvironment.isEmpty() ? QStringLiteral(KSR_MONITOR_BUILT) : fromEnvironment;
}

MonitorProcess::~MonitorProcess()
{
    stop();
}

bool MonitorProcess::start(const QString &folder, const QString &port, int monitorInterval, int metricsPort,
                           Mode mode)
{
    stop();
    if (!QFileInfo(program()).isExecutable()) {
        m_error = QStringLiteral("no program at %1").arg(program());
        return false;
    }
    {
        QSettings ini(QDir(folder).filePath(QStringLiteral("fconn583.ini")), QSettings::IniFormat);
        ini.setIniCodec("Windows-1251");
        ini.setValue(QStringLiteral("Settings/COM"), port);
        ini.setValue(QStringLiteral("Settings/AnalyseAtStart"), 0);
        ini.setValue(QStringLiteral("Settings/Path_local"), folder);
        if (monitorInterval > 0)
            ini.setValue(QStringLiteral("Settings/MonitorInterval"), monitorInterval);
        if (metricsPort > 0)
            ini.setValue(QStringLiteral("Metrics/Port"), metricsPort);
    }
    m_process = std::make_unique<QProcess>();
    m_process->setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QStringList arguments;
    if (mode == Mode::Service) {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        arguments << QStringLiteral("--service");
        // Its program log lines on standard error are not the benchmark's.
        m_process->setStandardErrorFile(QProcess::nullDevice());
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    m_process->setProcessEnvironment(env);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(program(), arguments);
    if (!m_process->waitForStarted(TimeoutMs)) {
        m_error = m_process->errorString();
        return false;
    }
    return true;
}

void MonitorProcess::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(TimeoutMs)) {
            m_process->kill();
            m_process->waitForFinished(TimeoutMs);
        }
    }
    m_process.reset();
}

qint64 MonitorProcess::pid() const
{
    return m_process ? m_process->processId() : 0;
}
