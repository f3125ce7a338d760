#pragma once

#include "HistoryData.h"
#include "ReadingRun.h"

#include <QVector>

#include <functional>

// Splits the readings of one series, as the link stamped them, into runs of
// regular readings.
//
// The nominal interval at each step is the median of the spacings before it,
// or of those after it where that is nearer its own (the interval changes
// there), in whole seconds (the link polls on whole seconds): a stamp that
// jitters or a poll that came late does not move it. A step
// nearer one interval than none or two joins its readings; anything else is a
// gap and ends the run: missing readings, a stamp out of step (the clock was
// set back), a break (a lost connection, a restart), or a change of the
// interval. A reading next to a step of at most half an interval belongs to
// no run of others: two clocks' readings interleave there. Every reading is
// in exactly one run; one alone between gaps is a run of its own with
// interval 0.
class RunSplitter
{
public:
    // `samples` in time order; `breaks` sorted: from each of these times on,
    // readings are not joined to those before. `goOn` may stop it (the
    // result is then empty).
    static QVector<ReadingRun> split(const QVector<Sample> &samples, const QVector<qint64> &breaks,
                                     const std::function<bool()> &goOn = {});
};
