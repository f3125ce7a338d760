#pragma once

#include "ReadingRun.h"

#include <QVector>

// The intervals the runs of a range were read at, and how much of the range
// each covers: readings at different intervals are never analysed together,
// and the one with the most time is the one analysed unless the operator
// chooses another.
class IntervalShares
{
public:
    struct Share {
        qint64 intervalMs = 0;
        int runs = 0;
        qint64 readings = 0;
        qint64 timeMs = 0;  // readings times the interval
    };

    // One share per interval, most time first (the shorter interval first
    // when equal). Readings alone between gaps belong to none.
    static QVector<Share> of(const QVector<ReadingRun> &runs);
    // The runs at `intervalMs`.
    static QVector<ReadingRun> at(const QVector<ReadingRun> &runs, qint64 intervalMs);
};
