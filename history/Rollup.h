#pragma once

#include "HistoryData.h"

#include <QVector>
#include <QtGlobal>

#include <array>
#include <optional>

// Summaries of the readings per slot of time (5 minutes, 1 hour): for each
// series the smallest and the largest value, so that a month is drawn from a
// few thousand rows and still shows every spike. A summary ends at the end of
// its slot and at every break, so it never spans a disconnection.
class Rollup
{
public:
    struct Row {
        qint64 startMs = 0;  // the first reading; the row's key
        qint64 endMs = 0;    // the last reading
        int readings = 0;
        std::array<float, Series::Count> min;  // NaN: no value of the series
        std::array<float, Series::Count> max;
        Row();
    };

    explicit Rollup(qint64 slotMs) : m_slotMs(slotMs) {}

    // A reading at `timeMs` with the values of the series first .. first +
    // count - 1 (NaN: none).
    void add(qint64 timeMs, int first, const float *values, int count);
    // The current summary is complete; the next reading begins a new one.
    void breakHere();
    // The summaries changed since the last call, oldest first: completed ones
    // and the current one, which later readings may still extend.
    QVector<Row> takeChanged();

private:
    qint64 m_slotMs;
    std::optional<Row> m_current;
    bool m_currentChanged = false;
    QVector<Row> m_completed;
};
