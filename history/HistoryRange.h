#pragma once

#include "history/HistoryData.h"

#include <QString>

// The stretch of time the History window shows: the operator's choice turned
// into times, and the limits of zooming and dragging.
class HistoryRange
{
public:
    enum Choice {
        LastHour,
        Last6Hours,
        Last24Hours,
        Last7Days,
        Last30Days,
        All,
        BetweenDates,
    };
    static constexpr int ChoiceCount = 7;

    static constexpr qint64 MinSpanMs = 10 * 1000;
    static constexpr qint64 MaxSpanMs = qint64(20) * 366 * 24 * 3600 * 1000;

    // The range of `choice` at `nowMs`. "All" reaches from the first thing
    // recorded (`extent`) to now; `dates` is the operator's own range, used
    // as it is (empty when its end does not come after its beginning).
    static TimeRange of(Choice choice, qint64 nowMs, TimeRange extent, TimeRange dates);

    // A choice that ends now moves on with the clock.
    static bool followsNow(Choice choice) { return choice != BetweenDates; }

    // The range the operator zoomed or dragged to, in seconds as the plot
    // keeps it: kept whole and within MinSpanMs..MaxSpanMs around its middle.
    static TimeRange fromSeconds(double fromSec, double toSec);

    // The same span, moved so that it ends at `endMs`.
    static TimeRange endingAt(TimeRange range, qint64 endMs);

    // The format of the time axis ticks for a span: the time of day as
    // fine as the span needs it, and always the date.
    static QString tickFormat(qint64 spanMs);
};
