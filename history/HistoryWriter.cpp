#include "HistoryWriter.h"

#include "FloatCode.h"
#include "HistorySchema.h"
#include "ReadingTables.h"

#include <QDateTime>
#include <QSqlError>

#include <limits>

namespace {

constexpr qint64 HeartbeatMs = 10 * 60000;

// The record's own date and time, exactly as its fields hold them (also
// when they are no date), and as UTC ms when they are one.
QString deviceTime(const JournalRecord &r)
{
    return QString::asprintf("%04u-%02u-%02u %02u:%02u:%02u", unsigned(r.year), unsigned(r.month), unsigned(r.day),
                             unsigned(r.hour), unsigned(r.minute), unsigned(r.second));
}

QVariant deviceMs(const JournalRecord &r)
{
    const QDate date(r.year, r.month, r.day);
    const QTime time(r.hour, r.minute, r.second);
    if (!date.isValid() || !time.isValid())
        return QVariant(QVariant::LongLong);
    return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
}

}  // namespace

struct HistoryWriter::Statements {
    explicit Statements(QSqlDatabase &db) : detect(db), cmd(db), event(db), journal(db), readings(db) {}
    QSqlQuery detect, cmd, event, journal;
    ReadingTables readings;
};

HistoryWriter::HistoryWriter(const QString &path)
    : m_path(path),
      m_detectFilter(HeartbeatMs),
      m_cmdFilter(HeartbeatMs),
      m_cutoffMs(std::numeric_limits<qint64>::min())
{
}

HistoryWriter::~HistoryWriter()
{
    m_statements.reset();
}

HistoryConnection::Status HistoryWriter::open(qint64 nowMs)
{
    m_statements.reset();
    m_connection = std::make_unique<HistoryConnection>(m_path, HistoryConnection::Mode::Write);
    const HistoryConnection::Status status = m_connection->open();
    if (status != HistoryConnection::Status::Open) {
        m_reason = m_connection->reason();
        return status;
    }
    if (!prepare() || !beginSession(nowMs)) {
        m_statements.reset();
        m_connection->close();
        return HistoryConnection::Status::CannotOpen;
    }
    return status;
}

bool HistoryWriter::prepare()
{
    m_statements = std::make_unique<Statements>(m_connection->db());
    Statements &s = *m_statements;
    const bool ok = s.readings.prepare()
        && s.detect.prepare(HistorySchema::insert(QStringLiteral("detect"), HistorySchema::detectColumns()))
        && s.cmd.prepare(HistorySchema::insert(QStringLiteral("cmd_state"), HistorySchema::cmdColumns()))
        && s.event.prepare(QStringLiteral("INSERT INTO event (time_ms, kind, code, text, detail) VALUES (?, ?, ?, ?, ?)"))
        && s.journal.prepare(HistorySchema::insert(QStringLiteral("journal"), HistorySchema::journalColumns()));
    if (!ok)
        m_reason = QStringLiteral("cannot prepare the statements");
    return ok;
}

bool HistoryWriter::beginSession(qint64 nowMs)
{
    HistoryConnection &c = *m_connection;
    if (!c.begin())
        return fail(c.reason());
    bool ok = closeOpenSession();
    if (ok && m_droppedSince > 0)
        ok = store(m_stoppedAtMs, HistoryEvent{EventKind::WritesDropped, m_droppedSince, {}, {}});
    ok = ok && store(nowMs, HistoryEvent{EventKind::SessionStarted, 0, {}, {}});
    if (ok && m_link.connected)
        ok = store(nowMs, HistoryEvent{EventKind::Connected, 1, m_link.port, m_link.identification});
    if (!ok || !c.commit()) {
        if (ok)
            m_reason = c.reason();
        c.rollback();
        return false;
    }
    m_droppedSince = 0;
    m_stoppedAtMs = -1;
    return true;
}

// A session without an end was left by a program that stopped without
// closing the history: it ends at its last row.
bool HistoryWriter::closeOpenSession()
{
    QSqlQuery q(m_connection->db());
    if (!q.exec(QStringLiteral("SELECT kind, time_ms FROM event WHERE kind IN (1, 2) ORDER BY id DESC LIMIT 1")))
        return fail(q.lastError().text());
    if (!q.next() || q.value(0).toInt() != int(EventKind::SessionStarted))
        return true;
    const qint64 endMs = qMax(q.value(1).toLongLong(), lastRowMs());
    return store(endMs, HistoryEvent{EventKind::SessionEnded, 1, {}, {}});
}

qint64 HistoryWriter::lastRowMs()
{
    qint64 last = std::numeric_limits<qint64>::min();
    QSqlQuery q(m_connection->db());
    for (const char *table : {"adj_state", "var_struct", "detect", "cmd_state"}) {
        if (q.exec(QStringLiteral("SELECT max(time_ms) FROM %1").arg(QLatin1String(table))) && q.next()
            && !q.value(0).isNull())
            last = qMax(last, q.value(0).toLongLong());
    }
    if (q.exec(QStringLiteral("SELECT time_ms FROM event ORDER BY id DESC LIMIT 1")) && q.next())
        last = qMax(last, q.value(0).toLongLong());
    return last;
}

void HistoryWriter::close(qint64 nowMs)
{
    if (!isOpen())
        return;
    write({HistoryItem{nowMs, HistoryEvent{EventKind::SessionEnded, 0, {}, {}}}});
    m_statements.reset();
    m_connection->close();
}

bool HistoryWriter::write(const std::vector<HistoryItem> &items)
{
    if (!isOpen()) {
        skip(items);
        return false;
    }
    if (items.empty())
        return true;
    HistoryConnection &c = *m_connection;
    if (!c.begin()) {
        fail(c.reason());
        m_statements.reset();
        c.close();
        drop(items);
        return false;
    }
    bool ok = true;
    for (const HistoryItem &item : items) {
        ok = store(item);
        if (!ok)
            break;
    }
    ok = ok && (m_statements->readings.storeSummaries() || fail(m_statements->readings.reason()));
    if (ok && !c.commit())
        ok = fail(c.reason());
    if (!ok) {
        c.rollback();
        m_statements.reset();
        c.close();
        drop(items);
        return false;
    }
    follow(items);
    return true;
}

void HistoryWriter::skip(const std::vector<HistoryItem> &items)
{
    drop(items);
}

void HistoryWriter::drop(const std::vector<HistoryItem> &items)
{
    if (items.empty())
        return;
    if (m_stoppedAtMs < 0)
        m_stoppedAtMs = items.front().timeMs;
    m_droppedSince += qint64(items.size());
    m_droppedTotal += qint64(items.size());
    follow(items);
}

// The connection as the items tell it, to be written again once the
// database is back.
void HistoryWriter::follow(const std::vector<HistoryItem> &items)
{
    for (const HistoryItem &item : items) {
        const HistoryEvent *e = std::get_if<HistoryEvent>(&item.data);
        if (!e)
            continue;
        if (e->kind == EventKind::Connected)
            m_link = {true, e->text, e->detail};
        else if (e->kind == EventKind::ConnectionLost || e->kind == EventKind::SearchStarted)
            m_link.connected = false;
    }
}

bool HistoryWriter::prune(qint64 cutoffMs)
{
    m_cutoffMs = cutoffMs;
    if (!isOpen())
        return false;
    HistoryConnection &c = *m_connection;
    const QVector<QVariant> cutoff = {cutoffMs};
    bool ok = c.begin() || fail(c.reason());
    for (const char *table : {"adj_state", "var_struct", "detect", "cmd_state", "event", "imported_status"})
        ok = ok && exec(QStringLiteral("DELETE FROM %1 WHERE time_ms < ?").arg(QLatin1String(table)), cutoff);
    for (int level = 0; level < HistorySchema::RollupLevels; ++level)
        ok = ok && exec(QStringLiteral("DELETE FROM %1 WHERE end_ms < ?").arg(HistorySchema::rollupTable(level)), cutoff);
    ok = ok && exec(QStringLiteral("DELETE FROM imported_run WHERE end_ms < ?"), cutoff)
        && exec(QStringLiteral("DELETE FROM journal WHERE coalesce(device_ms, time_ms) < ?"), cutoff);
    if (!ok || !c.commit()) {
        if (ok)
            fail(c.reason());
        c.rollback();
        return false;
    }
    // Each step of the pragma frees one page.
    QSqlQuery vacuum(c.db());
    if (!vacuum.exec(QStringLiteral("PRAGMA incremental_vacuum")))
        return fail(vacuum.lastError().text());
    while (vacuum.next()) {
    }
    return true;
}

bool HistoryWriter::fail(const QString &reason)
{
    m_reason = reason;
    return false;
}

void HistoryWriter::breakSeries()
{
    m_detectFilter.reset();
    m_cmdFilter.reset();
    if (m_statements)
        m_statements->readings.breakHere();
}

bool HistoryWriter::store(const HistoryItem &item)
{
    return std::visit([&](const auto &data) { return store(item.timeMs, data); }, item.data);
}

bool HistoryWriter::store(qint64 timeMs, const DETECT &r)
{
    if (!m_detectFilter.shouldStore(timeMs, r))
        return true;
    return exec(m_statements->detect, {timeMs, r.chan[0], r.chan[1], r.chan[2], r.chan[3]});
}

bool HistoryWriter::store(qint64 timeMs, const ADJ_CMD_STATE &r)
{
    if (!m_cmdFilter.shouldStore(timeMs, r))
        return true;
    QVector<QVariant> values = {timeMs, r.syncStatus, r.estimationTimeLeft, r.flags};
    for (int i = 0; i < 4; ++i)
        values << r.qualState[i];
    for (int i = 0; i < 4; ++i)
        values << r.chanWord[i];
    for (int i = 0; i < 4; ++i)
        values << r.qualTimeLeft[i];
    return exec(m_statements->cmd, values);
}

bool HistoryWriter::store(qint64 timeMs, const ADJ_STATE &r)
{
    const float values[Series::FromAdjState] = {r.freqOffset,    r.freqDrift,     r.chanOffset[0],
                                                r.chanOffset[1], r.chanOffset[2], r.chanOffset[3]};
    return m_statements->readings.addOffsets(timeMs, values) || fail(m_statements->readings.reason());
}

bool HistoryWriter::store(qint64 timeMs, const VAR_STRUCT &r)
{
    const float values[Series::FromVarStruct] = {r.adev(1), r.adev(2), r.adev(3), r.adev(4)};
    return m_statements->readings.addAdevs(timeMs, values) || fail(m_statements->readings.reason());
}

bool HistoryWriter::store(qint64 timeMs, const HistoryEvent &e)
{
    if (isBreak(e.kind))
        breakSeries();
    return exec(m_statements->event, {timeMs, int(e.kind), e.code, e.text, e.detail});
}

bool HistoryWriter::store(qint64 timeMs, const QVector<JournalRecord> &records)
{
    for (const JournalRecord &r : records) {
        const QVariant ms = deviceMs(r);
        if (!ms.isNull() && ms.toLongLong() < m_cutoffMs)
            continue;
        QSqlQuery &q = m_statements->journal;
        if (!exec(q, {timeMs, r.number, deviceTime(r), ms, r.event, r.channels, r.dac1, r.dac2,
                      FloatCode::toSql(r.offset), FloatCode::toSql(r.rfd[0]), FloatCode::toSql(r.rfd[1]),
                      FloatCode::toSql(r.rfd[2]), FloatCode::toSql(r.rfd[3]), FloatCode::toSql(r.trend)}))
            return false;
        if (q.numRowsAffected() == 0)
            ++m_journalDuplicates;
    }
    return true;
}

bool HistoryWriter::exec(QSqlQuery &query, const QVector<QVariant> &values)
{
    return HistoryConnection::run(query, values, &m_reason);
}

bool HistoryWriter::exec(const QString &statement, const QVector<QVariant> &values)
{
    QSqlQuery q(m_connection->db());
    if (!q.prepare(statement))
        return fail(q.lastError().text());
    return exec(q, values);
}
