#include "Rollup.h"

#include <cmath>
#include <limits>

namespace {

qint64 slotOf(qint64 timeMs, qint64 slotMs)
{
    // Floor division, also for times before 1970.
    return timeMs >= 0 ? timeMs / slotMs : -((-timeMs + slotMs - 1) / slotMs);
}

}  // namespace

Rollup::Row::Row()
{
    min.fill(std::numeric_limits<float>::quiet_NaN());
    max.fill(std::numeric_limits<float>::quiet_NaN());
}

void Rollup::add(qint64 timeMs, int first, const float *values, int count)
{
    if (m_current && (slotOf(timeMs, m_slotMs) != slotOf(m_current->startMs, m_slotMs)
                      || timeMs < m_current->endMs))
        breakHere();
    if (!m_current) {
        m_current = Row();
        m_current->startMs = timeMs;
    }
    Row &row = *m_current;
    row.endMs = timeMs;
    ++row.readings;
    for (int i = 0; i < count; ++i) {
        const float v = values[i];
        if (std::isnan(v))
            continue;
        float &least = row.min[size_t(first + i)];
        float &most = row.max[size_t(first + i)];
        least = std::isnan(least) ? v : std::fmin(least, v);
        most = std::isnan(most) ? v : std::fmax(most, v);
    }
    m_currentChanged = true;
}

void Rollup::breakHere()
{
    if (m_current && m_currentChanged)
        m_completed << *m_current;
    m_current.reset();
    m_currentChanged = false;
}

QVector<Rollup::Row> Rollup::takeChanged()
{
    QVector<Row> rows;
    rows.swap(m_completed);
    if (m_current && m_currentChanged)
        rows << *m_current;
    m_currentChanged = false;
    return rows;
}
