#include "HistoryConnection.h"

#include "HistorySchema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace {

// Long enough for the other side's transaction (a batch, one imported file),
// short enough that a stuck lock shows as a failure.
constexpr int BusyTimeoutMs = 3000;

QString uniqueName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("history-%1").arg(counter++);
}

}  // namespace

HistoryConnection::HistoryConnection(const QString &path, Mode mode)
    : m_path(path), m_mode(mode), m_name(uniqueName())
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
    if (mode == Mode::Read)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
}

HistoryConnection::~HistoryConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

HistoryConnection::Status HistoryConnection::open()
{
    m_reason.clear();
    if (m_mode == Mode::Read && !QFileInfo::exists(m_path))
        return fail(Status::CannotOpen, QStringLiteral("no such file"));
    if (!m_db.open())
        return fail(Status::CannotOpen, m_db.lastError().text());

    QString reason;
    m_version = HistorySchema::version(m_db, &reason);
    if (m_version == -2)
        return fail(Status::CannotOpen, reason);
    if (m_version == HistorySchema::NotHistory)
        return fail(Status::NotHistory, QString());
    if (m_version > HistorySchema::Version)
        return fail(Status::Newer, QString());

    if (m_mode == Mode::Read) {
        if (m_version < HistorySchema::Version)
            return fail(Status::Older, QString());
        return Status::Open;
    }

    QString journalMode;
    // Incremental vacuum must be chosen before the first table exists; it
    // lets pruning give space back to the file system.
    if (m_version == 0 && !exec(QStringLiteral("PRAGMA auto_vacuum = INCREMENTAL")))
        return fail(Status::CannotOpen, m_reason);
    if (!exec(QStringLiteral("PRAGMA journal_mode = WAL"), &journalMode))
        return fail(Status::CannotOpen, m_reason);
    if (journalMode.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return fail(Status::CannotOpen, QStringLiteral("journal mode %1 instead of WAL").arg(journalMode));
    // WAL without a sync per commit: a power cut may lose the last second,
    // never the file. The log is kept small after each checkpoint.
    if (!exec(QStringLiteral("PRAGMA synchronous = NORMAL"))
        || !exec(QStringLiteral("PRAGMA journal_size_limit = 4194304")))
        return fail(Status::CannotOpen, m_reason);
    if (m_version < HistorySchema::Version) {
        if (!HistorySchema::upgrade(m_db, m_version, HistorySchema::Version, &reason))
            return fail(Status::CannotOpen, reason);
        // The tables an upgrade made anew leave their old pages free.
        releaseFreePages();
    }
    return Status::Open;
}

bool HistoryConnection::releaseFreePages()
{
    // The pragma frees a page per step, and Qt steps a statement without
    // columns once: one page per call, in one transaction.
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("PRAGMA freelist_count")) || !q.next()) {
        m_reason = q.lastError().text();
        return false;
    }
    const qint64 pages = q.value(0).toLongLong();
    q.finish();
    if (pages == 0)
        return true;
    bool ok = begin();
    for (qint64 i = 0; ok && i < pages; ++i)
        ok = exec(QStringLiteral("PRAGMA incremental_vacuum(1)"));
    if (ok && commit())
        return true;
    rollback();
    return false;
}

void HistoryConnection::close()
{
    m_db.close();
}

bool HistoryConnection::run(QSqlQuery &query, const QVector<QVariant> &values, QString *reason)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (query.exec())
        return true;
    *reason = query.lastError().text();
    return false;
}

bool HistoryConnection::begin()
{
    return exec(QStringLiteral("BEGIN IMMEDIATE"));
}

bool HistoryConnection::commit()
{
    return exec(QStringLiteral("COMMIT"));
}

void HistoryConnection::rollback()
{
    const QString reason = m_reason;
    exec(QStringLiteral("ROLLBACK"));
    m_reason = reason;
}

HistoryConnection::Status HistoryConnection::fail(Status status, const QString &reason)
{
    m_reason = reason;
    m_db.close();
    return status;
}

bool HistoryConnection::exec(const QString &statement, QString *answer)
{
    QSqlQuery q(m_db);
    if (!q.exec(statement)) {
        m_reason = q.lastError().text();
        return false;
    }
    if (answer && q.next())
        *answer = q.value(0).toString();
    return true;
}
