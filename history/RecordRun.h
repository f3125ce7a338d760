#pragma once

#include "link/Records.h"

#include <QtGlobal>

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

// A stretch of answered polls of one slowly changing record (DETECT,
// ADJ_CMD_STATE) that all said the same: one row from the first poll to the
// last. Every answered poll is in a run, and a run holds no unanswered one,
// so the rows tell which polls were answered without a row per poll.
template <typename Record>
struct RecordRun {
    qint64 firstMs = 0;  // the row's key
    qint64 lastMs = 0;
    quint64 poll = 0;    // the link's number of the last poll (0: not known)
    Record record{};
    bool lastStored = true;  // false: lastMs moved on since the row was written

    // The next poll extends the run when it says the same and follows the
    // last one without a poll of this record lost between (numbers the link
    // did not give are taken as following).
    bool extendedBy(qint64 timeMs, quint64 number, const Record &next) const
    {
        return sameStored(record, next) && timeMs >= lastMs && (number == 0 || poll == 0 || number == poll + 1);
    }
};
