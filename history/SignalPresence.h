#pragma once

#include "HistoryData.h"
#include "StateTimeline.h"

#include <QVector>

// When a channel had no signal, so that what it reported then (an offset and
// an ADEV of 0) is neither analysed nor drawn as a measurement.
//
// A live reading counts when the DETECT polls on both sides of it, within one
// connection, show the signal detected and without error (a stored row stands
// for the polls from its time to its last_ms that said the same): the instrument
// reports 0 from the moment it loses the signal, and the DETECT poll that
// sees the loss comes after. Before the first row of a connection the row
// after decides. In an imported parameter log an "E" status has no signal;
// "-" cannot tell and is kept.
class SignalPresence
{
public:
    // The stretches of `range` in which channel 1..4 had no signal, in time
    // order, not touching each other.
    static QVector<TimeRange> absent(const StateTimeline::Input &input, int channel, TimeRange range);

    // `samples` without those inside `absent` (both in time order); how many
    // were left out goes to `excluded`.
    static QVector<Sample> without(const QVector<Sample> &samples, const QVector<TimeRange> &absent,
                                   qint64 *excluded);
    static bool inside(const QVector<TimeRange> &absent, qint64 ms);
};
