#pragma once

#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QSettings;

// A temporary working folder for the program: its "fconn583.ini" and the
// files it writes there (program log, parameter log, status file).
class ProgramFolder
{
public:
    ProgramFolder();

    // Why the built ksr583-monitor ($KSR_MONITOR) and the simulator cannot
    // run here, or an empty text when they can.
    static QString monitorUnavailableReason();
    // ksr583-monitor working in this folder on the offscreen platform;
    // null when it did not start.
    std::unique_ptr<QProcess> startMonitor() const;
    // ksr583-monitor --service working in this folder, with no display and
    // no Qt platform named; null when it did not start.
    std::unique_ptr<QProcess> startService() const;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes "fconn583.ini" for the instrument on `port`, with the program
    // log, status and parameter files in this folder. `extraSettings` are
    // more "key=value" lines for the [Settings] group.
    bool writeConfiguration(const QString &port, int analyseAtStart,
                            const QString &extraSettings = QString()) const;

    // Today's program log (local date) and parameter log (UTC date).
    QString programLog() const;
    QString parameterLog() const;
    // An INI file of the folder, read as the program writes it.
    std::unique_ptr<QSettings> ini(const QString &name) const;

private:
    static QString readText(const QString &path);

    QTemporaryDir m_dir;
};
