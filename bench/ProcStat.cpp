#include "ProcStat.h"

#include <QDir>
#include <QFile>

#include <sys/syscall.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

double ProcStat::cpuSeconds(qint64 pid, qint64 tid)
{
    const QString path = tid > 0 ? QStringLiteral("/proc/%1/task/%2/stat").arg(pid).arg(tid)
                                 : QStringLiteral("/proc/%1/stat").arg(pid);
    const QByteArray stat = readFile(path);
    // The name in parentheses may hold blanks: count fields after it.
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // Fields 14 and 15 of the line; the state (field 3) comes first here.
    constexpr int UserTime = 14 - 3;
    constexpr int SystemTime = 15 - 3;
    if (fields.size() <= SystemTime)
        return -1;
    const double ticks = fields.at(UserTime).toDouble() + fields.at(SystemTime).toDouble();
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

double ProcStat::residentMiB(qint64 pid)
{
    const QList<QByteArray> lines = readFile(QStringLiteral("/proc/%1/status").arg(pid)).split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

QList<qint64> ProcStat::threadsNamed(qint64 pid, const QString &name)
{
    QList<qint64> out;
    const QStringList tasks = QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &tid : tasks) {
        const QByteArray comm = readFile(QStringLiteral("/proc/%1/task/%2/comm").arg(pid).arg(tid)).trimmed();
        if (QString::fromLocal8Bit(comm) == name)
            out.append(tid.toLongLong());
    }
    return out;
}

qint64 ProcStat::currentThreadId()
{
    return qint64(::syscall(SYS_gettid));
}
