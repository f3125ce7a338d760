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
// Float32 values are integer codes (FloatCode); the views *_values show them
// as numbers for the sqlite3 shell and other readers.
class HistorySchema
{
public:
    static constexpr int Version = 2;
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
    static QStringList detectColumns();
    static QStringList cmdColumns();
    static QStringList rollupColumns();  // start_ms, end_ms, readings, then min and max of each series
    static QStringList journalColumns();

    // "INSERT OR <conflict> INTO table (a, b) VALUES (?, ?)"
    static QString insert(const QString &table, const QStringList &columns,
                          const QString &conflict = QStringLiteral("IGNORE"));

    // The rollup tables and their slot lengths, finest first.
    static constexpr int RollupLevels = 2;
    static QString rollupTable(int level);
    static qint64 rollupSlotMs(int level);
};
