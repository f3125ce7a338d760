#pragma once

#include <QList>
#include <QString>

// What Linux says about a process and its threads in /proc.
class ProcStat
{
public:
    // CPU time (user + system) in seconds of a process, or of one of its
    // threads when `tid` is given; negative when it cannot be read.
    static double cpuSeconds(qint64 pid, qint64 tid = 0);
    // Resident set size in MiB; negative when it cannot be read.
    static double residentMiB(qint64 pid);
    // The threads whose name (comm) is `name`.
    static QList<qint64> threadsNamed(qint64 pid, const QString &name);
    // The calling thread's id.
    static qint64 currentThreadId();
};
