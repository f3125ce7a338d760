#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The history database's tables, in one place. The version lives in the table
// schema_version; each numbered step brings a database from the version
// before it to its own, so any older history is upgraded step by step and
// keeps its rows. A database of a newer version than this program knows is
// never touched.
//
// Float32 values are REAL, which holds each of them exactly: the sqlite3
// shell, pandas or a Grafana SQLite source read plain numbers. Times are UTC
// ms since the epoch.
class HistorySchema
{
public:
    static constexpr int Version = 3;
    static constexpr int NotHistory = -1;

    // The version of an open database: 0 for an empty one, NotHistory for a
    // database with tables but without a version, or -2 when it cannot be read
    // (with the reason).
    static int version(QSqlDatabase &db, QString *reason);

    // Runs the steps after `from` up to `to` and records `to`, in one
    // transaction: either all of them or none.
    static bool upgrade(QSqlDatabase &db, int from, int to, QString *reason);

    // Column lists of the tables the writer fills, in column order.
    static QStringList seriesColumns(int first, int count);
    static QStringList weightColumns();  // time_ms, chan1_weight .. chan4_weight
    static QStringList detectColumns();  // time_ms, last_ms, chan1 .. chan4
    static QStringList cmdColumns();     // time_ms, last_ms, sync_status, ...
    static QStringList rollupColumns();  // start_ms, end_ms, readings, then min and max of each series
    static QStringList journalColumns();

    // "INSERT OR <conflict> INTO table (a, b) VALUES (?, ?)"
    static QString insert(const QString &table, const QStringList &columns,
                          const QString &conflict = QStringLiteral("IGNORE"));

    // The rollup tables and their slot lengths, finest first. A summary of
    // fewer readings than SummaryMinReadings is not stored: where polls are
    // sparse, the readings themselves are read.
    static constexpr int RollupLevels = 2;
    static constexpr int SummaryMinReadings = 64;
    static QString rollupTable(int level);
    static qint64 rollupSlotMs(int level);
};
