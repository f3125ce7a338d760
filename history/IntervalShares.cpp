#include "IntervalShares.h"

#include <algorithm>

QVector<IntervalShares::Share> IntervalShares::of(const QVector<ReadingRun> &runs)
{
    QVector<Share> shares;
    for (const ReadingRun &run : runs) {
        if (run.intervalMs <= 0)
            continue;
        auto share = std::find_if(shares.begin(), shares.end(),
                                  [&](const Share &s) { return s.intervalMs == run.intervalMs; });
        if (share == shares.end()) {
            shares << Share{run.intervalMs, 0, 0, 0};
            share = shares.end() - 1;
        }
        ++share->runs;
        share->readings += run.y.size();
        share->timeMs += run.y.size() * run.intervalMs;
    }
    std::sort(shares.begin(), shares.end(), [](const Share &a, const Share &b) {
        return a.timeMs != b.timeMs ? a.timeMs > b.timeMs : a.intervalMs < b.intervalMs;
    });
    return shares;
}

QVector<ReadingRun> IntervalShares::at(const QVector<ReadingRun> &runs, qint64 intervalMs)
{
    QVector<ReadingRun> chosen;
    for (const ReadingRun &run : runs) {
        if (run.intervalMs == intervalMs && intervalMs > 0)
            chosen << run;
    }
    return chosen;
}
