#include "ProgramFolder.h"

#include "FolderSim.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextCodec>

ProgramFolder::ProgramFolder() = default;

QString ProgramFolder::monitorUnavailableReason()
{
    const QString reason = FolderSim::unavailableReason();
    if (!reason.isEmpty())
        return reason;
    const QString monitor = qEnvironmentVariable("KSR_MONITOR");
    if (monitor.isEmpty() || !QFileInfo(monitor).isExecutable())
        return QStringLiteral("KSR_MONITOR does not name the built ksr583-monitor; run this test through ctest");
    return QString();
}

namespace {

std::unique_ptr<QProcess> startIn(const QString &folder, const QProcessEnvironment &env,
                                  const QStringList &arguments)
{
    auto monitor = std::make_unique<QProcess>();
    monitor->setWorkingDirectory(folder);
    monitor->setProcessEnvironment(env);
    monitor->start(qEnvironmentVariable("KSR_MONITOR"), arguments);
    if (!monitor->waitForStarted(10000))
        return nullptr;
    return monitor;
}

}  // namespace

std::unique_ptr<QProcess> ProgramFolder::startMonitor() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return startIn(path(), env, QStringList());
}

std::unique_ptr<QProcess> ProgramFolder::startService() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    return startIn(path(), env, {QStringLiteral("--service")});
}

bool ProgramFolder::writeConfiguration(const QString &port, int analyseAtStart,
                                       const QString &extraSettings) const
{
    QFile file(filePath(QStringLiteral("fconn583.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString text = QStringLiteral("[Settings]\nCOM=%1\nAnalyseAtStart=%2\nMonitorInterval=1\n"
                                        "Path_local=%3\n%4")
                             .arg(port)
                             .arg(analyseAtStart)
                             .arg(path(), extraSettings);
    return file.write(text.toUtf8()) > 0;
}

QString ProgramFolder::programLog() const
{
    return readText(filePath(QStringLiteral("Logs/%1.log")
                                 .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")))));
}

QString ProgramFolder::parameterLog() const
{
    const QString day = QDateTime::currentDateTimeUtc().date().toString(QStringLiteral("yyyyMMdd"));
    return readText(filePath(QStringLiteral("Logs/Parameters/%1.log").arg(day)));
}

std::unique_ptr<QSettings> ProgramFolder::ini(const QString &name) const
{
    auto settings = std::make_unique<QSettings>(filePath(name), QSettings::IniFormat);
    settings->setIniCodec(QTextCodec::codecForName("Windows-1251"));
    return settings;
}

QString ProgramFolder::readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
