#pragma once

#include "link/Records.h"

#include <QtGlobal>

#include <optional>

// Equal in every field the history keeps (not the bytes it does not
// interpret, which may change without meaning). Field by field: the records
// are packed.
inline bool sameStored(const DETECT &a, const DETECT &b)
{
    for (int i = 0; i < 4; ++i) {
        if (a.chan[i] != b.chan[i])
            return false;
    }
    return true;
}

inline bool sameStored(const ADJ_CMD_STATE &a, const ADJ_CMD_STATE &b)
{
    for (int i = 0; i < 4; ++i) {
        if (a.qualState[i] != b.qualState[i] || a.chanWord[i] != b.chanWord[i]
            || a.qualTimeLeft[i] != b.qualTimeLeft[i])
            return false;
    }
    return a.syncStatus == b.syncStatus && a.estimationTimeLeft == b.estimationTimeLeft && a.flags == b.flags;
}

// Decides which copies of a slowly changing record are stored: the first
// after a break, every change, and one at least every `heartbeatMs`, so the
// state at any time is the stored row at or before it, never far back.
template <typename Record>
class ChangeFilter
{
public:
    explicit ChangeFilter(qint64 heartbeatMs) : m_heartbeatMs(heartbeatMs) {}

    bool shouldStore(qint64 timeMs, const Record &record)
    {
        const bool store = !m_last || !sameStored(*m_last, record)
            || timeMs - m_lastMs >= m_heartbeatMs || timeMs < m_lastMs;
        if (store) {
            m_last = record;
            m_lastMs = timeMs;
        }
        return store;
    }

    void reset() { m_last.reset(); }

private:
    qint64 m_heartbeatMs;
    std::optional<Record> m_last;
    qint64 m_lastMs = 0;
};
