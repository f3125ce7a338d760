#include "HistoryLookup.h"

#include <algorithm>
#include <limits>

std::optional<HistoryLookup::Value> HistoryLookup::valueAt(const QVector<SeriesBucket> &buckets, qint64 ms,
                                                           qint64 toleranceMs)
{
    // The first bucket whose last reading is not before `ms`.
    auto after = std::lower_bound(buckets.begin(), buckets.end(), ms,
                                  [](const SeriesBucket &b, qint64 t) { return b.lastMs < t; });
    if (after != buckets.end() && after->firstMs <= ms)
        return Value{after->min, after->max};
    const SeriesBucket *next = after != buckets.end() ? &*after : nullptr;
    const SeriesBucket *previous = after != buckets.begin() ? &*(after - 1) : nullptr;
    if (!next && !previous)
        return std::nullopt;
    const qint64 toNext = next ? next->firstMs - ms : std::numeric_limits<qint64>::max();
    const qint64 toPrevious = previous ? ms - previous->lastMs : std::numeric_limits<qint64>::max();
    const SeriesBucket *nearest = toNext < toPrevious ? next : previous;
    // Where the line runs on, the nearest reading; in a gap or beyond the
    // ends only one close by.
    const bool onLine = next && previous && !next->breakBefore;
    if (!onLine && qMin(toNext, toPrevious) > toleranceMs)
        return std::nullopt;
    return Value{nearest->min, nearest->max};
}

QVector<int> HistoryLookup::markersBetween(const QVector<Marker> &markers, qint64 fromMs, qint64 toMs)
{
    auto first = std::lower_bound(markers.begin(), markers.end(), fromMs,
                                  [](const Marker &m, qint64 t) { return m.timeMs < t; });
    QVector<int> found;
    for (auto it = first; it != markers.end() && it->timeMs <= toMs; ++it)
        found << int(it - markers.begin());
    return found;
}
