#include "InstanceLock.h"

#include "core/WriteWatch.h"

#include <QDir>
#include <QSysInfo>

InstanceLock::InstanceLock(const QString &folder)
    : m_folder(QDir(folder).absolutePath()), m_lock(QDir(m_folder).filePath(fileName()))
{
    // Held for as long as the program runs: never stale for its age, only
    // when the process named in it is gone.
    m_lock.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::acquire()
{
    if (m_lock.isLocked() || m_lock.tryLock(0))
        return Outcome::Held;
    const QString folder = QDir::toNativeSeparators(m_folder);
    qint64 pid = 0;
    QString host;
    QString program;
    if (m_lock.error() == QLockFile::LockFailedError) {
        if (!m_lock.getLockInfo(&pid, &host, &program))
            m_problem = tr("The folder %1 is in use by another program.").arg(folder);
        else if (!host.isEmpty() && host != QSysInfo::machineHostName())
            m_problem = tr("The folder %1 is in use by process %2 (%3) on the computer %4.")
                            .arg(folder).arg(pid).arg(program, host);
        else
            m_problem = tr("The folder %1 is in use by process %2 (%3).").arg(folder).arg(pid).arg(program);
        return Outcome::InUse;
    }
    const QString reason = WriteWatch::folderProblem(m_folder);
    m_problem = tr("Cannot write the lock file %1 in the folder %2: %3")
                    .arg(fileName(), folder, reason.isEmpty() ? tr("the lock cannot be taken") : reason);
    return Outcome::CannotWrite;
}
