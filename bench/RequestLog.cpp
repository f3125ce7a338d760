#include "RequestLog.h"

#include "BenchTime.h"

#include <QMutexLocker>

void RequestLog::add(const QByteArray &code)
{
    const qint64 ns = BenchTime::nowNs();
    QMutexLocker lock(&m_mutex);
    m_seen.push_back({code, ns});
}

qint64 RequestLog::firstAfter(const QList<QByteArray> &codes, qint64 sinceNs) const
{
    QMutexLocker lock(&m_mutex);
    for (const Seen &s : m_seen) {
        if (s.ns >= sinceNs && codes.contains(s.code))
            return s.ns;
    }
    return 0;
}

std::vector<qint64> RequestLog::times(const QList<QByteArray> &codes, qint64 fromNs, qint64 toNs) const
{
    std::vector<qint64> out;
    QMutexLocker lock(&m_mutex);
    for (const Seen &s : m_seen) {
        if (s.ns >= fromNs && s.ns <= toNs && codes.contains(s.code))
            out.push_back(s.ns);
    }
    return out;
}
