#pragma once

#include "history/HistoryData.h"

#include <QVector>

#include <algorithm>
#include <optional>

// What the drawn view holds at a time under the mouse, found by bisection in
// the loaded view (never a query).
class HistoryLookup
{
public:
    struct Value {
        float min = 0;
        float max = 0;
    };

    // The extremes of the bucket that holds `ms`; between two buckets joined
    // by the line, the nearer one; in a gap or beyond the ends, the nearer
    // one only within `toleranceMs`.
    static std::optional<Value> valueAt(const QVector<SeriesBucket> &buckets, qint64 ms, qint64 toleranceMs);

    // The state in force at `ms`, or none outside every interval.
    template <typename State>
    static std::optional<State> stateAt(const QVector<StateInterval<State>> &intervals, qint64 ms);

    // The indexes of the markers from `fromMs` to `toMs` inclusive.
    static QVector<int> markersBetween(const QVector<Marker> &markers, qint64 fromMs, qint64 toMs);
};

template <typename State>
std::optional<State> HistoryLookup::stateAt(const QVector<StateInterval<State>> &intervals, qint64 ms)
{
    // The first interval that ends after `ms`.
    auto it = std::upper_bound(intervals.begin(), intervals.end(), ms,
                               [](qint64 t, const StateInterval<State> &i) { return t < i.toMs; });
    if (it == intervals.end() || ms < it->fromMs)
        return std::nullopt;
    return it->state;
}
