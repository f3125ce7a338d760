#pragma once

#include "HistoryData.h"
#include "Rollup.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <vector>

// The tables of readings (adj_state, var_struct) and their summaries,
// written through statements prepared once. Shared by the live writer and
// the parameter log import.
class ReadingTables
{
public:
    explicit ReadingTables(QSqlDatabase &db);

    bool prepare();
    // The six ADJ_STATE series or the four ADEV values of one poll.
    // `inserted` tells whether the row is new (false: that time was stored
    // already and nothing changed). False on a database error.
    bool addOffsets(qint64 timeMs, const float *values, bool *inserted = nullptr);
    bool addAdevs(qint64 timeMs, const float *values, bool *inserted = nullptr);
    // The summaries end here: a break in the readings.
    void breakHere();
    // Writes the summaries changed since the last call.
    bool storeSummaries();

    // The summaries being built, to go back to when a transaction is rolled back.
    std::vector<Rollup> summaries() const { return m_rollups; }
    void restoreSummaries(const std::vector<Rollup> &rollups) { m_rollups = rollups; }

    QString reason() const { return m_reason; }

private:
    bool add(QSqlQuery &query, qint64 timeMs, int first, const float *values, int count, bool *inserted);
    bool exec(QSqlQuery &query, const QVector<QVariant> &values);

    QSqlQuery m_offsets;
    QSqlQuery m_adevs;
    std::vector<QSqlQuery> m_summaries;
    std::vector<Rollup> m_rollups;
    QString m_reason;
};
