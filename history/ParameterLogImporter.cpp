#include "ParameterLogImporter.h"

#include "HistoryConnection.h"
#include "HistoryItem.h"
#include "HistorySchema.h"
#include "ReadingTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <limits>
#include <map>

namespace {

struct Session {
    qint64 fromMs;
    qint64 toMs;
};

// The times this version recorded itself; a parameter log row inside one
// only repeats a reading at less precision.
QVector<Session> sessions(QSqlDatabase &db)
{
    QVector<Session> list;
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT kind, time_ms FROM event WHERE kind IN (1, 2) ORDER BY id"));
    qint64 open = std::numeric_limits<qint64>::min();
    bool inside = false;
    while (q.next()) {
        const qint64 ms = q.value(1).toLongLong();
        if (EventKind(q.value(0).toInt()) == EventKind::SessionStarted) {
            open = ms;
            inside = true;
        } else {
            list << Session{inside ? open : std::numeric_limits<qint64>::min(), ms};
            inside = false;
        }
    }
    if (inside)
        list << Session{open, std::numeric_limits<qint64>::max()};
    return list;
}

bool covered(const QVector<Session> &list, qint64 ms)
{
    return std::any_of(list.begin(), list.end(), [ms](const Session &s) { return ms >= s.fromMs && ms <= s.toMs; });
}

// The spacing most rows of a file have: the logging period.
qint64 usualSpacing(const QVector<LoggedRow> &rows)
{
    std::map<qint64, int> counts;
    for (int i = 1; i < rows.size(); ++i) {
        const qint64 d = rows.at(i).timeMs - rows.at(i - 1).timeMs;
        if (d > 0)
            ++counts[d];
    }
    qint64 usual = 60000;
    int most = 0;
    for (const auto &[spacing, count] : counts) {
        if (count > most) {
            usual = spacing;
            most = count;
        }
    }
    return usual;
}

// One import: the database, and the stretch of rows being written.
class Import
{
public:
    Import(HistoryConnection &connection, qint64 cutoffMs, ParameterLogImporter::Report &report)
        : m_connection(connection),
          m_db(connection.db()),
          m_readings(m_db),
          m_exists(m_db),
          m_run(m_db),
          m_status(m_db),
          m_cutoffMs(cutoffMs),
          m_report(report)
    {
    }

    bool prepare()
    {
        m_sessions = sessions(m_db);
        QStringList status = {QStringLiteral("time_ms"), QStringLiteral("mode")};
        for (int n = 1; n <= 4; ++n)
            status << QStringLiteral("chan%1").arg(n);
        return m_readings.prepare()
            && m_exists.prepare(QStringLiteral("SELECT 1 FROM adj_state WHERE time_ms = ?"))
            && m_run.prepare(HistorySchema::insert(QStringLiteral("imported_run"),
                                                   {QStringLiteral("start_ms"), QStringLiteral("end_ms"),
                                                    QStringLiteral("file")},
                                                   QStringLiteral("REPLACE")))
            && m_status.prepare(HistorySchema::insert(QStringLiteral("imported_status"), status));
    }

    // One file in one transaction.
    bool file(const QString &name, const ParameterLogParser::Result &parsed)
    {
        m_report.unreadable += parsed.unreadable;
        if (!m_connection.begin())
            return fail(m_connection.reason());
        const qint64 usual = usualSpacing(parsed.rows);
        m_file = name;
        bool ok = true;
        for (int i = 0; ok && i < parsed.rows.size(); ++i)
            ok = row(parsed.rows.at(i), usual);
        ok = ok && storeRun() && (m_readings.storeSummaries() || fail(m_readings.reason()));
        if (ok && !m_connection.commit())
            ok = fail(m_connection.reason());
        if (!ok)
            m_connection.rollback();
        return ok;
    }

    QString reason() const { return m_reason; }

private:
    bool row(const LoggedRow &r, qint64 usual)
    {
        if (r.mode == 0) {
            ++m_report.withoutReading;
            m_restart = true;  // the program was started here
            return true;
        }
        if (r.timeMs < m_cutoffMs || covered(m_sessions, r.timeMs)) {
            ++(r.timeMs < m_cutoffMs ? m_report.tooOld : m_report.alreadyStored);
            m_restart = true;
            return true;
        }
        if (!exec(m_exists, {r.timeMs}))
            return false;
        const bool exists = m_exists.next();
        m_exists.finish();
        if (exists) {
            ++m_report.alreadyStored;
            m_restart = true;
            return true;
        }
        if (m_restart || m_runStart < 0 || r.timeMs - m_lastMs > 2 * usual || r.timeMs <= m_lastMs) {
            if (!storeRun())
                return false;
            m_readings.breakHere();
            m_runStart = r.timeMs;
            m_lastStatus.reset();
        }
        m_restart = false;
        m_lastMs = r.timeMs;
        ++m_report.imported;
        if (!m_readings.addOffsets(r.timeMs, r.value) || !m_readings.addAdevs(r.timeMs, r.value + Series::Adev1))
            return fail(m_readings.reason());
        return status(r);
    }

    // Kept when it changes, and at the start of each run.
    bool status(const LoggedRow &r)
    {
        const std::array<int, 5> now = {r.mode, r.status[0], r.status[1], r.status[2], r.status[3]};
        if (m_lastStatus == now)
            return true;
        m_lastStatus = now;
        return exec(m_status, {r.timeMs, now[0], now[1], now[2], now[3], now[4]});
    }

    bool storeRun()
    {
        if (m_runStart < 0)
            return true;
        return exec(m_run, {m_runStart, m_lastMs, m_file});
    }

    bool exec(QSqlQuery &q, const QVector<QVariant> &values)
    {
        return HistoryConnection::run(q, values, &m_reason);
    }

    bool fail(const QString &reason)
    {
        m_reason = reason;
        return false;
    }

    HistoryConnection &m_connection;
    QSqlDatabase &m_db;
    ReadingTables m_readings;
    QSqlQuery m_exists;
    QSqlQuery m_run;
    QSqlQuery m_status;
    QVector<Session> m_sessions;
    qint64 m_cutoffMs;
    ParameterLogImporter::Report &m_report;
    QString m_file;
    QString m_reason;
    // The run being written; it may go on into the next day's file.
    qint64 m_runStart = -1;
    qint64 m_lastMs = 0;
    bool m_restart = false;
    std::optional<std::array<int, 5>> m_lastStatus;
};

}  // namespace

ParameterLogImporter::ParameterLogImporter(const QString &databasePath, int keepDays, qint64 nowMs)
    : m_path(databasePath),
      m_cutoffMs(keepDays > 0 ? nowMs - qint64(keepDays) * 86400000 : std::numeric_limits<qint64>::min())
{
}

ParameterLogImporter::Report ParameterLogImporter::importFolder(const QString &folder,
                                                                const std::function<bool(int, int)> &progress)
{
    QStringList paths;
    for (const QFileInfo &info : QDir(folder).entryInfoList({QStringLiteral("*.log")}, QDir::Files, QDir::Name))
        paths << info.absoluteFilePath();
    return importFiles(paths, progress);
}

ParameterLogImporter::Report ParameterLogImporter::importFiles(const QStringList &paths,
                                                               const std::function<bool(int, int)> &progress)
{
    Report report;
    QVector<QPair<QDate, QString>> files;
    for (const QString &path : paths) {
        const QDate date = ParameterLogParser::dateOf(path);
        if (date.isValid())
            files << qMakePair(date, path);
        else
            ++report.otherFiles;
    }
    std::sort(files.begin(), files.end());

    HistoryConnection connection(m_path, HistoryConnection::Mode::Write);
    if (connection.open() != HistoryConnection::Status::Open) {
        report.failed = true;
        report.reason = connection.reason().isEmpty() ? QStringLiteral("not a history of this version")
                                                      : connection.reason();
        return report;
    }
    Import import(connection, m_cutoffMs, report);
    if (!import.prepare()) {
        report.failed = true;
        report.reason = connection.db().lastError().text();
        return report;
    }
    for (int i = 0; i < files.size(); ++i) {
        QFile file(files.at(i).second);
        if (!file.open(QIODevice::ReadOnly)) {
            ++report.otherFiles;
            continue;
        }
        ++report.files;
        const QString name = QFileInfo(file).fileName();
        if (!import.file(name, ParameterLogParser::parse(file.readAll(), files.at(i).first))) {
            report.failed = true;
            report.reason = import.reason();
            return report;
        }
        if (progress && !progress(i + 1, files.size()))
            break;
    }
    return report;
}

QString ParameterLogImporter::summary(const Report &report)
{
    if (report.failed)
        return tr("Parameter logs could not be imported: %1").arg(report.reason);
    return tr("Parameter logs imported: %1 rows from %2 files; skipped: %3 unreadable, %4 already in the history, "
              "%5 without a reading, %6 older than the history keeps.")
        .arg(report.imported)
        .arg(report.files)
        .arg(report.unreadable)
        .arg(report.alreadyStored)
        .arg(report.withoutReading)
        .arg(report.tooOld);
}
