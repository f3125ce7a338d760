#include "HistorySchema.h"

#include "HistoryData.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace {

QString perChannel(const QString &pattern)
{
    QStringList list;
    for (int n = 1; n <= 4; ++n)
        list << pattern.arg(n);
    return list.join(QStringLiteral(", "));
}

QString integerColumns(const QStringList &names)
{
    QStringList list;
    for (const QString &name : names)
        list << name + QStringLiteral(" INTEGER");
    return list.join(QStringLiteral(", "));
}

// Readings, events and the instrument's journal.
QStringList step1()
{
    const QString series = integerColumns(HistorySchema::seriesColumns(0, Series::FromAdjState));
    const QString adevs = integerColumns(HistorySchema::seriesColumns(Series::Adev1, Series::FromVarStruct));
    const QString rollup = integerColumns(HistorySchema::rollupColumns().mid(3));
    QStringList sql = {
        // One row per answered poll, keyed by its UTC time in ms.
        QStringLiteral("CREATE TABLE adj_state (time_ms INTEGER PRIMARY KEY, %1)").arg(series),
        QStringLiteral("CREATE TABLE var_struct (time_ms INTEGER PRIMARY KEY, %1)").arg(adevs),
        // Stored when they change, when a connection begins and every ten
        // minutes: the state at any time is the row at or before it.
        QStringLiteral("CREATE TABLE detect (time_ms INTEGER PRIMARY KEY, %1)")
            .arg(perChannel(QStringLiteral("chan%1 INTEGER NOT NULL"))),
        QStringLiteral("CREATE TABLE cmd_state (time_ms INTEGER PRIMARY KEY, sync_status INTEGER NOT NULL, "
                       "estimation_left INTEGER NOT NULL, flags INTEGER NOT NULL, %1, %2, %3)")
            .arg(perChannel(QStringLiteral("chan%1_qual INTEGER NOT NULL")),
                 perChannel(QStringLiteral("chan%1_word INTEGER NOT NULL")),
                 perChannel(QStringLiteral("chan%1_qual_left INTEGER NOT NULL"))),
        QStringLiteral("CREATE TABLE event (id INTEGER PRIMARY KEY, time_ms INTEGER NOT NULL, "
                       "kind INTEGER NOT NULL, code INTEGER, text TEXT, detail TEXT)"),
        QStringLiteral("CREATE INDEX event_kind_time ON event (kind, time_ms)"),
        QStringLiteral("CREATE TABLE event_kind (kind INTEGER PRIMARY KEY, name TEXT NOT NULL)"),
        QStringLiteral("INSERT INTO event_kind VALUES (1, 'session started'), (2, 'session ended'), "
                       "(3, 'search started'), (4, 'connected'), (5, 'device information'), "
                       "(6, 'connection lost'), (7, 'message'), (8, 'command queued'), "
                       "(9, 'command finished'), (10, 'writes dropped')"),
        // A record is kept once: its number, the instrument's own date and time
        // and its event tell it from every other, also after the instrument's
        // journal was cleared and numbered anew.
        QStringLiteral("CREATE TABLE journal (id INTEGER PRIMARY KEY, time_ms INTEGER NOT NULL, "
                       "number INTEGER NOT NULL, device_time TEXT NOT NULL, device_ms INTEGER, "
                       "event INTEGER NOT NULL, channels INTEGER, dac1 INTEGER, dac2 INTEGER, "
                       "offset INTEGER, rfd1 INTEGER, rfd2 INTEGER, rfd3 INTEGER, rfd4 INTEGER, "
                       "trend INTEGER, UNIQUE (number, device_time, event))"),
        QStringLiteral("CREATE INDEX journal_device_ms ON journal (device_ms)"),
    };
    // Extremes per slot (a summary ends at every break), for long ranges.
    for (int level = 0; level < HistorySchema::RollupLevels; ++level)
        sql << QStringLiteral("CREATE TABLE %1 (start_ms INTEGER PRIMARY KEY, end_ms INTEGER NOT NULL, "
                              "readings INTEGER NOT NULL, %2)")
                   .arg(HistorySchema::rollupTable(level), rollup);
    return sql;
}

// A float code of the steps before 3 as a number, for their views: sign,
// mantissa and a scale from the table float_scale (SQLite has no pow()
// everywhere).
QString decoded(const QString &column)
{
    const QString bits = QStringLiteral("(CASE WHEN %1 < 0 THEN -1 - %1 ELSE %1 END)").arg(column);
    return QStringLiteral("(SELECT (CASE WHEN %1 < 0 THEN -1.0 ELSE 1.0 END) * ((%2 & 8388607) + "
                          "(CASE WHEN (%2 >> 23) = 0 THEN 0 ELSE 8388608 END)) * scale "
                          "FROM float_scale WHERE exponent = (%2 >> 23)) AS %1")
        .arg(column, bits);
}

QString valuesView(const QString &table, const QStringList &columns)
{
    QStringList select = {QStringLiteral("time_ms"),
                          QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', time_ms / 1000.0, 'unixepoch') "
                                         "AS time_utc")};
    for (const QString &column : columns)
        select << decoded(column);
    return QStringLiteral("CREATE VIEW %1_values AS SELECT %2 FROM %1").arg(table, select.join(QStringLiteral(", ")));
}

// Rows imported from the parameter logs of earlier versions, and views that
// showed the float codes of the steps before 3 as numbers.
QStringList step2()
{
    QStringList sql = {
        // A stretch of imported rows that belong together; lines break at
        // both ends.
        QStringLiteral("CREATE TABLE imported_run (start_ms INTEGER PRIMARY KEY, end_ms INTEGER NOT NULL, "
                       "file TEXT)"),
        // Mode (1 averaging, 2 switching) and the channel statuses as the log
        // showed them: 3 "+", 5 qualifying, 11..13 backup, -1 "-", -2 "E".
        // Stored when they change and at the start of each run.
        QStringLiteral("CREATE TABLE imported_status (time_ms INTEGER PRIMARY KEY, mode INTEGER NOT NULL, %1)")
            .arg(perChannel(QStringLiteral("chan%1 INTEGER NOT NULL"))),
        QStringLiteral("CREATE TABLE float_scale (exponent INTEGER PRIMARY KEY, scale REAL NOT NULL)"),
    };
    // Exponent 0 holds subnormals: mantissa x 2^-149; exponent e: (2^23 +
    // mantissa) x 2^(e - 150). 255 (infinity, NaN) has no row and reads NULL.
    QStringList scales;
    for (int e = 0; e < 255; ++e)
        scales << QStringLiteral("(%1, %2)").arg(e).arg(std::ldexp(1.0, e == 0 ? -149 : e - 150), 0, 'g', 17);
    sql << QStringLiteral("INSERT INTO float_scale VALUES ") + scales.join(QStringLiteral(", "));
    sql << valuesView(QStringLiteral("adj_state"), HistorySchema::seriesColumns(0, Series::FromAdjState));
    sql << valuesView(QStringLiteral("var_struct"),
                      HistorySchema::seriesColumns(Series::Adev1, Series::FromVarStruct));
    return sql;
}

// A float code of the steps before as REAL: the sign, the mantissa and the
// scale of its exponent (infinities have none in float_scale).
QString realOf(const QString &column)
{
    const QString bits = QStringLiteral("(CASE WHEN %1 < 0 THEN -1 - %1 ELSE %1 END)").arg(column);
    const QString sign = QStringLiteral("(CASE WHEN %1 < 0 THEN -1.0 ELSE 1.0 END)").arg(column);
    return QStringLiteral("(CASE WHEN %1 IS NULL THEN NULL "
                          "WHEN (%2 >> 23) = 255 THEN (CASE WHEN (%2 & 8388607) = 0 THEN %3 * 9e999 END) "
                          "ELSE %3 * ((%2 & 8388607) + (CASE WHEN (%2 >> 23) = 0 THEN 0 ELSE 8388608 END)) "
                          "* (SELECT scale FROM float_scale WHERE exponent = (%2 >> 23)) END)")
        .arg(column, bits, sign);
}

QString typed(const QStringList &names, const QString &type)
{
    QStringList list;
    for (const QString &name : names)
        list << name + QLatin1Char(' ') + type;
    return list.join(QStringLiteral(", "));
}

// Makes `table` anew as `definition`, filled with `select` from its old rows.
QStringList remake(const QString &table, const QString &definition, const QString &select)
{
    return {QStringLiteral("CREATE TABLE %1_new (%2)").arg(table, definition),
            QStringLiteral("INSERT INTO %1_new SELECT %2 FROM %1").arg(table, select),
            QStringLiteral("DROP TABLE %1").arg(table),
            QStringLiteral("ALTER TABLE %1_new RENAME TO %1").arg(table)};
}

// Values in plain REAL, every answered poll of DETECT and ADJ_CMD_STATE, the
// channel weights; the codes, their scale table and views go.
QStringList step3()
{
    QStringList sql = {QStringLiteral("DROP VIEW adj_state_values"), QStringLiteral("DROP VIEW var_struct_values")};
    struct Readings {
        const char *table;
        int first;
        int count;
    };
    for (const Readings &r : {Readings{"adj_state", 0, Series::FromAdjState},
                              Readings{"var_struct", Series::Adev1, Series::FromVarStruct}}) {
        const QStringList columns = HistorySchema::seriesColumns(r.first, r.count);
        QStringList select = {QStringLiteral("time_ms")};
        for (const QString &c : columns)
            select << realOf(c);
        sql << remake(QLatin1String(r.table), QStringLiteral("time_ms INTEGER PRIMARY KEY, ") + typed(columns, QStringLiteral("REAL")),
                      select.join(QStringLiteral(", ")));
    }

    // A row per run of answered polls that said the same (RecordRun); each
    // row of before stands for one poll.
    sql << remake(QStringLiteral("detect"),
                  QStringLiteral("time_ms INTEGER PRIMARY KEY, last_ms INTEGER NOT NULL, %1")
                      .arg(perChannel(QStringLiteral("chan%1 INTEGER NOT NULL"))),
                  QStringLiteral("time_ms, time_ms, chan1, chan2, chan3, chan4"));
    const QStringList cmd = HistorySchema::cmdColumns().mid(2);
    sql << remake(QStringLiteral("cmd_state"),
                  QStringLiteral("time_ms INTEGER PRIMARY KEY, last_ms INTEGER NOT NULL, ")
                      + typed(cmd, QStringLiteral("INTEGER NOT NULL")),
                  QStringLiteral("time_ms, time_ms, ") + cmd.join(QStringLiteral(", ")));
    // The channels' weight coefficients of ADJ_STATE, stored with the first
    // poll after a break and when they change.
    sql << QStringLiteral("CREATE TABLE weights (time_ms INTEGER PRIMARY KEY, %1)")
               .arg(typed(HistorySchema::weightColumns().mid(1), QStringLiteral("REAL")));

    const QStringList journal = HistorySchema::journalColumns();
    QStringList select = {QStringLiteral("id")};
    for (const QString &c : journal)
        select << (QStringList{QStringLiteral("offset"), QStringLiteral("rfd1"), QStringLiteral("rfd2"),
                               QStringLiteral("rfd3"), QStringLiteral("rfd4"), QStringLiteral("trend")}
                           .contains(c)
                       ? realOf(c)
                       : c);
    sql << remake(QStringLiteral("journal"),
                  QStringLiteral("id INTEGER PRIMARY KEY, time_ms INTEGER NOT NULL, number INTEGER NOT NULL, "
                                 "device_time TEXT NOT NULL, device_ms INTEGER, event INTEGER NOT NULL, "
                                 "channels INTEGER, dac1 INTEGER, dac2 INTEGER, offset REAL, rfd1 REAL, rfd2 REAL, "
                                 "rfd3 REAL, rfd4 REAL, trend REAL, UNIQUE (number, device_time, event)"),
                  select.join(QStringLiteral(", ")))
        << QStringLiteral("CREATE INDEX journal_device_ms ON journal (device_ms)");

    const QStringList extremes = HistorySchema::rollupColumns().mid(3);
    QStringList summary = {QStringLiteral("start_ms"), QStringLiteral("end_ms"), QStringLiteral("readings")};
    for (const QString &c : extremes)
        summary << realOf(c);
    for (int level = 0; level < HistorySchema::RollupLevels; ++level) {
        const QString table = HistorySchema::rollupTable(level);
        sql << QStringLiteral("DELETE FROM %1 WHERE readings < %2").arg(table).arg(HistorySchema::SummaryMinReadings)
            << remake(table,
                      QStringLiteral("start_ms INTEGER PRIMARY KEY, end_ms INTEGER NOT NULL, readings INTEGER NOT NULL, ")
                          + typed(extremes, QStringLiteral("REAL")),
                      summary.join(QStringLiteral(", ")));
    }
    sql << QStringLiteral("DROP TABLE float_scale");
    return sql;
}

bool run(QSqlDatabase &db, const QString &statement, QString *reason)
{
    QSqlQuery q(db);
    if (q.exec(statement))
        return true;
    *reason = q.lastError().text();
    return false;
}

}  // namespace

int HistorySchema::version(QSqlDatabase &db, QString *reason)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        *reason = q.lastError().text();
        return -2;
    }
    bool anyTable = false;
    bool versioned = false;
    while (q.next()) {
        anyTable = true;
        versioned = versioned || q.value(0).toString() == QLatin1String("schema_version");
    }
    if (!versioned)
        return anyTable ? NotHistory : 0;
    if (!q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next()) {
        *reason = q.lastError().text();
        return -2;
    }
    return q.value(0).isNull() ? NotHistory : q.value(0).toInt();
}

bool HistorySchema::upgrade(QSqlDatabase &db, int from, int to, QString *reason)
{
    using Step = QStringList (*)();
    static const Step steps[Version] = {step1, step2, step3};
    if (!run(db, QStringLiteral("BEGIN IMMEDIATE"), reason))
        return false;
    bool ok = from > 0 || run(db, QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"), reason);
    for (int v = from + 1; ok && v <= to && v <= Version; ++v) {
        for (const QString &statement : steps[v - 1]())
            ok = ok && run(db, statement, reason);
    }
    ok = ok && run(db, QStringLiteral("DELETE FROM schema_version"), reason)
        && run(db, QStringLiteral("INSERT INTO schema_version VALUES (%1)").arg(to), reason)
        && run(db, QStringLiteral("COMMIT"), reason);
    if (!ok) {
        QString ignored;
        run(db, QStringLiteral("ROLLBACK"), &ignored);
    }
    return ok;
}

QStringList HistorySchema::seriesColumns(int first, int count)
{
    QStringList list;
    for (int s = first; s < first + count; ++s)
        list << Series::column(Series::Id(s));
    return list;
}

QStringList HistorySchema::weightColumns()
{
    QStringList list = {QStringLiteral("time_ms")};
    for (int n = 1; n <= 4; ++n)
        list << QStringLiteral("chan%1_weight").arg(n);
    return list;
}

QStringList HistorySchema::detectColumns()
{
    return {QStringLiteral("time_ms"), QStringLiteral("last_ms"), QStringLiteral("chan1"), QStringLiteral("chan2"),
            QStringLiteral("chan3"), QStringLiteral("chan4")};
}

QStringList HistorySchema::cmdColumns()
{
    QStringList list = {QStringLiteral("time_ms"), QStringLiteral("last_ms"), QStringLiteral("sync_status"),
                        QStringLiteral("estimation_left"), QStringLiteral("flags")};
    for (const char *pattern : {"chan%1_qual", "chan%1_word", "chan%1_qual_left"}) {
        for (int n = 1; n <= 4; ++n)
            list << QString::fromLatin1(pattern).arg(n);
    }
    return list;
}

QStringList HistorySchema::rollupColumns()
{
    QStringList list = {QStringLiteral("start_ms"), QStringLiteral("end_ms"), QStringLiteral("readings")};
    for (const QString &column : seriesColumns(0, Series::Count))
        list << column + QStringLiteral("_min") << column + QStringLiteral("_max");
    return list;
}

QStringList HistorySchema::journalColumns()
{
    return {QStringLiteral("time_ms"), QStringLiteral("number"), QStringLiteral("device_time"),
            QStringLiteral("device_ms"), QStringLiteral("event"), QStringLiteral("channels"),
            QStringLiteral("dac1"), QStringLiteral("dac2"), QStringLiteral("offset"), QStringLiteral("rfd1"),
            QStringLiteral("rfd2"), QStringLiteral("rfd3"), QStringLiteral("rfd4"), QStringLiteral("trend")};
}

QString HistorySchema::insert(const QString &table, const QStringList &columns, const QString &conflict)
{
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT OR %1 INTO %2 (%3) VALUES (%4)")
        .arg(conflict, table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

QString HistorySchema::rollupTable(int level)
{
    return level == 0 ? QStringLiteral("rollup_5min") : QStringLiteral("rollup_1h");
}

qint64 HistorySchema::rollupSlotMs(int level)
{
    return level == 0 ? 5 * 60000 : 3600000;
}
