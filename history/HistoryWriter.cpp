#include "HistoryWriter.h"

#include "HistorySchema.h"
#include "ReadingTables.h"
#include "SqlReal.h"

#include <QDateTime>
#include <QSqlError>

#include <cstring>
#include <limits>

namespace {

// Distinct lines one search keeps apart; more are stored as they come.
constexpr int SearchLines = 256;

// The event kinds that break a stretch, as an SQL list.
const QString BreakKinds = QStringLiteral("1, 2, 3, 4, 6, 10");

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

QString updateLastMs(const QString &table)
{
    return QStringLiteral("UPDATE %1 SET last_ms = ? WHERE time_ms = ?").arg(table);
}

}  // namespace

struct HistoryWriter::Statements {
    explicit Statements(QSqlDatabase &db)
        : detect(db), detectEnd(db), cmd(db), cmdEnd(db), weights(db), event(db), searchRepeats(db), journal(db),
          readings(db)
    {
    }
    QSqlQuery detect, detectEnd, cmd, cmdEnd, weights, event, searchRepeats, journal;
    ReadingTables readings;
};

HistoryWriter::HistoryWriter(const QString &path) : m_path(path), m_cutoffMs(std::numeric_limits<qint64>::min())
{
}

HistoryWriter::~HistoryWriter()
{
    m_statements.reset();
}

HistoryConnection::Status HistoryWriter::open(qint64 nowMs)
{
    m_statements.reset();
    m_now = Tracking();
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
    const QString detect = QStringLiteral("detect");
    const QString cmd = QStringLiteral("cmd_state");
    const bool ok = s.readings.prepare()
        && s.detect.prepare(HistorySchema::insert(detect, HistorySchema::detectColumns()))
        && s.detectEnd.prepare(updateLastMs(detect))
        && s.cmd.prepare(HistorySchema::insert(cmd, HistorySchema::cmdColumns()))
        && s.cmdEnd.prepare(updateLastMs(cmd))
        && s.weights.prepare(HistorySchema::insert(QStringLiteral("weights"), HistorySchema::weightColumns(),
                                                   QStringLiteral("REPLACE")))
        && s.event.prepare(QStringLiteral("INSERT INTO event (time_ms, kind, code, text, detail) VALUES (?, ?, ?, ?, ?)"))
        && s.searchRepeats.prepare(QStringLiteral("UPDATE event SET code = ? WHERE id = ?"))
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
    const bool ok = closeOpenSession() && store(HistoryItem{nowMs, HistoryEvent{EventKind::SessionStarted, 0, {}, {}}});
    if (!ok || !c.commit()) {
        if (ok)
            m_reason = c.reason();
        c.rollback();
        return false;
    }
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
    return store(HistoryItem{endMs, HistoryEvent{EventKind::SessionEnded, 1, {}, {}}});
}

qint64 HistoryWriter::lastRowMs()
{
    qint64 last = std::numeric_limits<qint64>::min();
    QSqlQuery q(m_connection->db());
    for (const char *select : {"max(time_ms) FROM adj_state", "max(time_ms) FROM var_struct",
                               "max(last_ms) FROM detect", "max(last_ms) FROM cmd_state"}) {
        if (q.exec(QStringLiteral("SELECT ") + QLatin1String(select)) && q.next() && !q.value(0).isNull())
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
    if (!isOpen())
        return fail(QStringLiteral("the history is not open"));
    if (items.empty())
        return true;
    const Tracking before = m_now;
    const std::vector<Rollup> summaries = m_statements->readings.summaries();
    HistoryConnection &c = *m_connection;
    bool ok = c.begin() || fail(c.reason());
    for (auto item = items.begin(); ok && item != items.end(); ++item)
        ok = store(*item);
    ok = ok && storeRunEnds() && storeSearchRepeats()
        && (m_statements->readings.storeSummaries() || fail(m_statements->readings.reason()));
    if (ok && !c.commit())
        ok = fail(c.reason());
    if (!ok) {
        c.rollback();
        m_now = before;
        m_statements->readings.restoreSummaries(summaries);
    }
    return ok;
}

void HistoryWriter::drop(const std::vector<HistoryItem> &items)
{
    m_dropped += qint64(items.size());
}

bool HistoryWriter::prune(qint64 cutoffMs)
{
    m_cutoffMs = cutoffMs;
    if (!isOpen())
        return false;
    HistoryConnection &c = *m_connection;
    const Tracking before = m_now;
    const QVector<QVariant> cutoff = {cutoffMs};
    bool ok = (c.begin() || fail(c.reason())) && storeRunEnds() && carryStates(cutoffMs);
    for (const char *table : {"adj_state", "var_struct", "detect", "cmd_state", "weights", "event", "imported_status"})
        ok = ok && exec(QStringLiteral("DELETE FROM %1 WHERE time_ms < ?").arg(QLatin1String(table)), cutoff);
    for (int level = 0; level < HistorySchema::RollupLevels; ++level)
        ok = ok && exec(QStringLiteral("DELETE FROM %1 WHERE end_ms < ?").arg(HistorySchema::rollupTable(level)), cutoff);
    // A journal record without a date has no age: it stays, so that the next
    // downloads never store it again.
    ok = ok && exec(QStringLiteral("DELETE FROM imported_run WHERE end_ms < ?"), cutoff)
        && exec(QStringLiteral("DELETE FROM journal WHERE device_ms < ?"), cutoff);
    if (!ok || !c.commit()) {
        if (ok)
            fail(c.reason());
        c.rollback();
        m_now = before;
        return false;
    }
    return c.releaseFreePages() || fail(c.reason());
}

// What the bands need at the first kept moment moves up to it: the
// connection and the session open there, the runs of DETECT and
// ADJ_CMD_STATE going on, the weights and the imported status in force.
bool HistoryWriter::carryStates(qint64 cutoffMs)
{
    const QVector<QVariant> cutoff = {cutoffMs};
    const QVector<QVariant> cutoff3 = {cutoffMs, cutoffMs, cutoffMs};
    QSqlQuery q(m_connection->db());
    // A connection carried over is no new one (code 1, no marker).
    const QString last = QStringLiteral("SELECT id, kind FROM event WHERE kind IN (%1) AND time_ms < %2 "
                                        "ORDER BY time_ms DESC, id DESC LIMIT 1");
    if (!q.exec(last.arg(BreakKinds).arg(cutoffMs)))
        return fail(q.lastError().text());
    if (q.next() && EventKind(q.value(1).toInt()) == EventKind::Connected
        && !exec(QStringLiteral("UPDATE event SET time_ms = ?, code = 1 WHERE id = ?"), {cutoffMs, q.value(0)}))
        return false;
    if (!q.exec(last.arg(QStringLiteral("1, 2")).arg(cutoffMs)))
        return fail(q.lastError().text());
    if (q.next() && EventKind(q.value(1).toInt()) == EventKind::SessionStarted
        && !exec(QStringLiteral("UPDATE event SET time_ms = ? WHERE id = ?"), {cutoffMs, q.value(0)}))
        return false;

    const QString inForce = QStringLiteral("UPDATE %1 SET time_ms = ? WHERE time_ms = (SELECT max(time_ms) FROM %1 "
                                           "WHERE time_ms < ?) AND NOT EXISTS (SELECT 1 FROM %1 WHERE time_ms = ?)");
    for (const char *table : {"detect", "cmd_state"}) {
        // A run that ended before the cutoff is no state at it.
        if (!exec(QStringLiteral("DELETE FROM %1 WHERE last_ms < ?").arg(QLatin1String(table)), cutoff)
            || !exec(inForce.arg(QLatin1String(table)), cutoff3))
            return false;
    }
    for (const char *table : {"weights", "imported_status"}) {
        if (!exec(inForce.arg(QLatin1String(table)), cutoff3))
            return false;
    }
    if (!exec(QStringLiteral("UPDATE imported_run SET start_ms = ? WHERE start_ms < ? AND end_ms >= ? AND NOT EXISTS "
                             "(SELECT 1 FROM imported_run WHERE start_ms = ?)"),
              {cutoffMs, cutoffMs, cutoffMs, cutoffMs}))
        return false;

    // The runs being extended keep their rows.
    auto follow = [cutoffMs](auto &run) {
        if (run && run->lastMs < cutoffMs)
            run.reset();
        else if (run && run->firstMs < cutoffMs)
            run->firstMs = cutoffMs;
    };
    follow(m_now.detect);
    follow(m_now.cmd);
    return true;
}

bool HistoryWriter::fail(const QString &reason)
{
    m_reason = reason;
    return false;
}

// Readings after a break are never joined to those before it.
bool HistoryWriter::breakSeries()
{
    const bool ok = storeRunEnds();
    m_now.detect.reset();
    m_now.cmd.reset();
    m_now.weights.reset();
    m_statements->readings.breakHere();
    return ok;
}

bool HistoryWriter::storeRunEnds()
{
    auto storeEnd = [this](auto &run, QSqlQuery &end) {
        if (!run || run->lastStored)
            return true;
        if (!exec(end, {run->lastMs, run->firstMs}))
            return false;
        run->lastStored = true;
        return true;
    };
    return storeEnd(m_now.detect, m_statements->detectEnd) && storeEnd(m_now.cmd, m_statements->cmdEnd);
}

bool HistoryWriter::storeSearchRepeats()
{
    Search &s = m_now.search;
    if (s.eventId < 0 || s.repeatsStored)
        return true;
    if (!exec(m_statements->searchRepeats, {s.repeats, s.eventId}))
        return false;
    s.repeatsStored = true;
    return true;
}

bool HistoryWriter::endSearch()
{
    const bool ok = storeSearchRepeats();
    m_now.search = Search();
    return ok;
}

bool HistoryWriter::store(const HistoryItem &item)
{
    return std::visit([&](const auto &data) { return store(item, data); }, item.data);
}

template <typename Record>
bool HistoryWriter::storeRun(std::optional<RecordRun<Record>> &run, QSqlQuery &insert, QSqlQuery &end,
                             const HistoryItem &item, const Record &record, const QVector<QVariant> &fields)
{
    if (run && run->extendedBy(item.timeMs, item.poll, record)) {
        run->lastMs = item.timeMs;
        run->poll = item.poll;
        run->lastStored = false;
        return true;
    }
    if (run && !run->lastStored && !exec(end, {run->lastMs, run->firstMs}))
        return false;
    if (!exec(insert, QVector<QVariant>{item.timeMs, item.timeMs} + fields))
        return false;
    // Two polls in one ms (a clock stepped back): the row there stays.
    if (insert.numRowsAffected() == 0) {
        run.reset();
        return true;
    }
    run = RecordRun<Record>{item.timeMs, item.timeMs, item.poll, record, true};
    return true;
}

bool HistoryWriter::store(const HistoryItem &item, const DETECT &r)
{
    return storeRun(m_now.detect, m_statements->detect, m_statements->detectEnd, item, r,
                    {r.chan[0], r.chan[1], r.chan[2], r.chan[3]});
}

bool HistoryWriter::store(const HistoryItem &item, const ADJ_CMD_STATE &r)
{
    QVector<QVariant> fields = {r.syncStatus, r.estimationTimeLeft, r.flags};
    for (int i = 0; i < 4; ++i)
        fields << r.qualState[i];
    for (int i = 0; i < 4; ++i)
        fields << r.chanWord[i];
    for (int i = 0; i < 4; ++i)
        fields << r.qualTimeLeft[i];
    return storeRun(m_now.cmd, m_statements->cmd, m_statements->cmdEnd, item, r, fields);
}

bool HistoryWriter::store(const HistoryItem &item, const ADJ_STATE &r)
{
    const float values[Series::FromAdjState] = {r.freqOffset,    r.freqDrift,     r.chanOffset[0],
                                                r.chanOffset[1], r.chanOffset[2], r.chanOffset[3]};
    if (!m_statements->readings.addOffsets(item.timeMs, values))
        return fail(m_statements->readings.reason());
    std::array<float, 4> weights;
    std::memcpy(weights.data(), r.coeff, sizeof r.coeff);
    // Bit for bit: a NaN weight is no change either.
    if (m_now.weights && std::memcmp(m_now.weights->data(), weights.data(), sizeof r.coeff) == 0)
        return true;
    m_now.weights = weights;
    return exec(m_statements->weights, {item.timeMs, SqlReal::of(weights[0]), SqlReal::of(weights[1]),
                                        SqlReal::of(weights[2]), SqlReal::of(weights[3])});
}

bool HistoryWriter::store(const HistoryItem &item, const VAR_STRUCT &r)
{
    const float values[Series::FromVarStruct] = {r.adev(1), r.adev(2), r.adev(3), r.adev(4)};
    return m_statements->readings.addAdevs(item.timeMs, values) || fail(m_statements->readings.reason());
}

bool HistoryWriter::store(const HistoryItem &item, const HistoryEvent &e)
{
    Search &search = m_now.search;
    if (e.kind == EventKind::Message && search.eventId >= 0) {
        const QString line = e.detail + QLatin1Char('\n') + e.text;
        if (search.lines.contains(line)) {
            ++search.repeats;
            search.repeatsStored = false;
            return true;
        }
        if (search.lines.size() < SearchLines)
            search.lines.insert(line);
    }
    const bool endsSearch = e.kind == EventKind::SearchStarted || e.kind == EventKind::Connected
        || e.kind == EventKind::SessionStarted || e.kind == EventKind::SessionEnded;
    if ((endsSearch && !endSearch()) || (isBreak(e.kind) && !breakSeries()))
        return false;
    QSqlQuery &q = m_statements->event;
    if (!exec(q, {item.timeMs, int(e.kind), e.code, e.text, e.detail}))
        return false;
    if (e.kind == EventKind::SearchStarted)
        search.eventId = q.lastInsertId().toLongLong();
    return true;
}

bool HistoryWriter::store(const HistoryItem &item, const QVector<JournalRecord> &records)
{
    for (const JournalRecord &r : records) {
        const QVariant ms = deviceMs(r);
        if (!ms.isNull() && ms.toLongLong() < m_cutoffMs)
            continue;
        QSqlQuery &q = m_statements->journal;
        if (!exec(q, {item.timeMs, r.number, deviceTime(r), ms, r.event, r.channels, r.dac1, r.dac2,
                      SqlReal::of(r.offset), SqlReal::of(r.rfd[0]), SqlReal::of(r.rfd[1]), SqlReal::of(r.rfd[2]),
                      SqlReal::of(r.rfd[3]), SqlReal::of(r.trend)}))
            return false;
        if (q.numRowsAffected() == 0)
            ++m_now.journalDuplicates;
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
