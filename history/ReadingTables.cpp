#include "ReadingTables.h"

#include "HistoryConnection.h"
#include "HistorySchema.h"
#include "SqlReal.h"

#include <QVariant>

namespace {

QString insertReadings(const QString &table, int first, int count)
{
    QStringList columns = HistorySchema::seriesColumns(first, count);
    columns.prepend(QStringLiteral("time_ms"));
    return HistorySchema::insert(table, columns);
}

}  // namespace

ReadingTables::ReadingTables(QSqlDatabase &db) : m_offsets(db), m_adevs(db)
{
    for (int level = 0; level < HistorySchema::RollupLevels; ++level) {
        m_summaries.emplace_back(db);
        m_rollups.emplace_back(HistorySchema::rollupSlotMs(level));
    }
}

bool ReadingTables::prepare()
{
    bool ok = m_offsets.prepare(insertReadings(QStringLiteral("adj_state"), Series::FreqOffset, Series::FromAdjState))
        && m_adevs.prepare(insertReadings(QStringLiteral("var_struct"), Series::Adev1, Series::FromVarStruct));
    for (int level = 0; ok && level < HistorySchema::RollupLevels; ++level)
        ok = m_summaries[size_t(level)].prepare(HistorySchema::insert(
            HistorySchema::rollupTable(level), HistorySchema::rollupColumns(), QStringLiteral("REPLACE")));
    if (!ok)
        m_reason = QStringLiteral("cannot prepare the statements");
    return ok;
}

bool ReadingTables::addOffsets(qint64 timeMs, const float *values, bool *inserted)
{
    return add(m_offsets, timeMs, Series::FreqOffset, values, Series::FromAdjState, inserted);
}

bool ReadingTables::addAdevs(qint64 timeMs, const float *values, bool *inserted)
{
    return add(m_adevs, timeMs, Series::Adev1, values, Series::FromVarStruct, inserted);
}

bool ReadingTables::add(QSqlQuery &query, qint64 timeMs, int first, const float *values, int count,
                        bool *inserted)
{
    QVector<QVariant> row = {timeMs};
    for (int i = 0; i < count; ++i)
        row << SqlReal::of(values[i]);
    if (!exec(query, row))
        return false;
    const bool isNew = query.numRowsAffected() > 0;
    if (inserted)
        *inserted = isNew;
    if (isNew) {
        for (Rollup &rollup : m_rollups)
            rollup.add(timeMs, first, values, count);
    }
    return true;
}

void ReadingTables::breakHere()
{
    for (Rollup &rollup : m_rollups)
        rollup.breakHere();
}

bool ReadingTables::storeSummaries()
{
    for (size_t level = 0; level < m_rollups.size(); ++level) {
        for (const Rollup::Row &row : m_rollups[level].takeChanged()) {
            // A summary of a few readings would cost more room than reading
            // them saves; the reader takes those readings one by one.
            if (row.readings < HistorySchema::SummaryMinReadings)
                continue;
            QVector<QVariant> values = {row.startMs, row.endMs, row.readings};
            for (size_t s = 0; s < size_t(Series::Count); ++s)
                values << SqlReal::of(row.min[s]) << SqlReal::of(row.max[s]);
            if (!exec(m_summaries[level], values))
                return false;
        }
    }
    return true;
}

bool ReadingTables::exec(QSqlQuery &query, const QVector<QVariant> &values)
{
    return HistoryConnection::run(query, values, &m_reason);
}
