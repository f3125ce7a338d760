#include "HistoryRange.h"

#include <cmath>

namespace {

constexpr qint64 Hour = 3600 * 1000;
constexpr qint64 Day = 24 * Hour;

qint64 lastSpanMs(HistoryRange::Choice choice)
{
    switch (choice) {
    case HistoryRange::LastHour:
        return Hour;
    case HistoryRange::Last6Hours:
        return 6 * Hour;
    case HistoryRange::Last24Hours:
        return Day;
    case HistoryRange::Last7Days:
        return 7 * Day;
    case HistoryRange::Last30Days:
    case HistoryRange::All:
    case HistoryRange::BetweenDates:
        break;
    }
    return 30 * Day;
}

}  // namespace

TimeRange HistoryRange::of(Choice choice, qint64 nowMs, TimeRange extent, TimeRange dates)
{
    // A reading taken at this very millisecond belongs to the range.
    const qint64 end = nowMs + 1;
    switch (choice) {
    case BetweenDates:
        return dates.isEmpty() ? TimeRange{} : dates;
    case All:
        if (extent.isEmpty())
            return {end - Hour, end};
        return {extent.fromMs, qMax(extent.toMs, end)};
    default:
        return {end - lastSpanMs(choice), end};
    }
}

TimeRange HistoryRange::fromSeconds(double fromSec, double toSec)
{
    if (!std::isfinite(fromSec) || !std::isfinite(toSec))
        return {};
    const double middleMs = (fromSec + toSec) / 2 * 1000;
    const double spanMs = qBound(double(MinSpanMs), (toSec - fromSec) * 1000, double(MaxSpanMs));
    // Times before 1970 or after the year 2500 are no instrument's history.
    const double latest = 16725225600000.0;
    const double from = qBound(0.0, middleMs - spanMs / 2, latest - spanMs);
    return {qint64(std::llround(from)), qint64(std::llround(from + spanMs))};
}

TimeRange HistoryRange::endingAt(TimeRange range, qint64 endMs)
{
    return {endMs - range.length(), endMs};
}

QString HistoryRange::tickFormat(qint64 spanMs)
{
    if (spanMs <= 10 * 60 * 1000)
        return QStringLiteral("hh:mm:ss\ndd.MM.yy");
    if (spanMs <= 3 * Day)
        return QStringLiteral("hh:mm\ndd.MM.yy");
    return QStringLiteral("dd.MM.yy");
}
