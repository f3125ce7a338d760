#pragma once

#include <QVector>
#include <QtGlobal>

// Readings of one series taken one after another at a steady interval, none
// missing between them: the stretch a stability statistic may join terms
// over. The stamps jitter and the poll phase may have moved within it; the
// readings themselves are regular.
struct ReadingRun {
    qint64 firstMs = 0;     // stamps of the first and the last reading
    qint64 lastMs = 0;
    qint64 intervalMs = 0;  // a whole number of seconds; 0 for a reading alone between gaps
    QVector<double> y;      // the readings in their order
};
