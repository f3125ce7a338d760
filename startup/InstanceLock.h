#pragma once

#include <QCoreApplication>
#include <QLockFile>
#include <QString>

// One program at a time in a work folder, window or service: two must never
// poll one instrument or write one log. The lock file in the folder names the
// process that holds it; one left behind by a process that is gone (killed,
// a power cut) is taken over. A command that writes what a running program
// writes (an import into its history) takes the lock too, and so is refused
// while a program runs there.
class InstanceLock
{
    Q_DECLARE_TR_FUNCTIONS(InstanceLock)

public:
    enum class Outcome { Held, InUse, CannotWrite };

    static QString fileName() { return QStringLiteral("ksr583-monitor.lock"); }

    explicit InstanceLock(const QString &folder);

    // Takes the folder for this process until the lock is destroyed.
    Outcome acquire();
    // After acquire() did not hold it: one line that says the folder is in
    // use and by which process, or why the lock cannot be written there.
    QString problem() const { return m_problem; }

private:
    QString m_folder;
    QLockFile m_lock;
    QString m_problem;
};
