#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>

#include <vector>

// Requests as the simulated instrument's terminal delivered them, stamped
// with the monotonic clock on the server's thread.
class RequestLog
{
public:
    void add(const QByteArray &code);
    // The first request with one of `codes` seen at or after `sinceNs`; 0 when none.
    qint64 firstAfter(const QList<QByteArray> &codes, qint64 sinceNs) const;
    // The times of the requests with one of `codes` within [fromNs, toNs].
    std::vector<qint64> times(const QList<QByteArray> &codes, qint64 fromNs, qint64 toNs) const;

private:
    struct Seen {
        QByteArray code;
        qint64 ns;
    };
    mutable QMutex m_mutex;
    std::vector<Seen> m_seen;
};
