#pragma once

#include "HistoryData.h"
#include "IntervalShares.h"
#include "ReadingRun.h"
#include "StabilityAnalysis.h"

#include <QVector>

#include <functional>

class HistoryReader;

// What to analyse: a series over a range, with the analysis' options.
struct StabilityRequest {
    Series::Id series = Series::Offset1;
    TimeRange range;
    StabilityAnalysis::Options options;
    qint64 intervalMs = 0;  // the interval to analyse; 0, or one the range lacks: the one with the most time
};

// The readings of a series in a range, as the analysis takes them: those
// without a signal left out, the rest in runs of regular readings.
struct StabilityReadings {
    Series::Id series = Series::Offset1;
    TimeRange range;
    qint64 read = 0;      // readings of the series in the range
    qint64 noSignal = 0;  // of them: recorded while the channel had no signal
    QVector<ReadingRun> runs;
};

struct StabilityResult {
    StabilityRequest request;
    qint64 read = 0;
    qint64 noSignal = 0;
    qint64 otherIntervals = 0;  // readings in runs at an interval not analysed
    qint64 alone = 0;           // readings alone between gaps
    qint64 used = 0;
    int runs = 0;               // runs at the analysed interval
    qint64 intervalMs = 0;      // the analysed interval, 0 when there is none
    QVector<IntervalShares::Share> shares;  // every interval of the range, most time first
    QVector<StabilityCurve> curves;
    QVector<ReadingRun> analysed;  // the runs the curves rest on
};

// The steps from the history to the plotted statistics, one after the
// other: read the series, leave out what was recorded without a signal,
// split into runs, take the runs at one interval, analyse.
class StabilityJob
{
public:
    // False when stopped by `goOn`.
    static bool read(HistoryReader &reader, Series::Id series, TimeRange range, const std::function<bool()> &goOn,
                     StabilityReadings *readings);
    // `progress` 0..100 may return false to stop; the curves are then empty.
    static StabilityResult analyse(const StabilityReadings &readings, const StabilityRequest &request,
                                   const std::function<bool(int)> &progress = {});
    // The channel 1..4 a series belongs to, 0 for the output's.
    static int channelOf(Series::Id series);
};
