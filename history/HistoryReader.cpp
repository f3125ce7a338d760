#include "HistoryReader.h"

#include "BucketAggregator.h"
#include "HistoryConnection.h"
#include "HistorySchema.h"
#include "SignalPresence.h"
#include "SqlReal.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The event kinds that break a stretch, as an SQL list.
const QString BreakKinds = QStringLiteral("1, 2, 3, 4, 6, 10");

// Commands that change the instrument; reading commands (clock, 1PPS offset,
// journal, AVE values, device information) make no marker.
bool changesInstrument(int code)
{
    switch (code) {
    case 8: case 9: case 12: case 18: case 19: case 21: case 22:
        return false;
    default:
        return code >= 0 && code <= 22;
    }
}

// A summary row keeps extremes for a whole slot, so a margin of the longest
// slot before the range finds the one that reaches into it.
constexpr qint64 LongestSlotMs = 3600000;

}  // namespace

HistoryReader::HistoryReader(const QString &path)
    : m_connection(std::make_unique<HistoryConnection>(path, HistoryConnection::Mode::Read))
{
}

HistoryReader::~HistoryReader() = default;

bool HistoryReader::open()
{
    switch (m_connection->open()) {
    case HistoryConnection::Status::Open:
        return true;
    case HistoryConnection::Status::CannotOpen:
        m_reason = m_connection->reason();
        break;
    case HistoryConnection::Status::NotHistory:
        m_reason = QStringLiteral("not a history database");
        break;
    case HistoryConnection::Status::Newer:
        m_reason = QStringLiteral("written by a newer version (schema %1)").arg(m_connection->foundVersion());
        break;
    case HistoryConnection::Status::Older:
        m_reason = QStringLiteral("not yet upgraded (schema %1)").arg(m_connection->foundVersion());
        break;
    }
    return false;
}

QSqlQuery HistoryReader::query(const QString &sql, const QVector<QVariant> &values)
{
    QSqlQuery q(m_connection->db());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        m_reason = q.lastError().text();
    else
        HistoryConnection::run(q, values, &m_reason);
    return q;
}

TimeRange HistoryReader::extent()
{
    qint64 first = std::numeric_limits<qint64>::max();
    qint64 last = std::numeric_limits<qint64>::min();
    auto take = [&](const QString &sql) {
        QSqlQuery q = query(sql, {});
        if (q.next() && !q.value(0).isNull()) {
            first = qMin(first, q.value(0).toLongLong());
            last = qMax(last, q.value(1).toLongLong());
        }
    };
    for (const char *columns : {"min(time_ms), max(time_ms) FROM adj_state", "min(time_ms), max(time_ms) FROM var_struct",
                                "min(time_ms), max(last_ms) FROM detect", "min(time_ms), max(last_ms) FROM cmd_state"})
        take(QStringLiteral("SELECT ") + QLatin1String(columns));
    take(QStringLiteral("SELECT (SELECT time_ms FROM event ORDER BY id LIMIT 1), "
                        "(SELECT time_ms FROM event ORDER BY id DESC LIMIT 1)"));
    if (first > last)
        return {};
    return {first, last + 1};
}

int HistoryReader::level(TimeRange range, int buckets)
{
    const qint64 bucketMs = range.length() / qMax(1, buckets);
    int level = 0;
    for (int l = 0; l < HistorySchema::RollupLevels; ++l) {
        if (HistorySchema::rollupSlotMs(l) <= bucketMs)
            level = l + 1;
    }
    return level;
}

HistoryView HistoryReader::load(TimeRange range, int buckets, const std::function<bool(int)> &progress)
{
    HistoryView view;
    view.range = range;
    auto goOn = [&](int percent) { return !progress || progress(percent); };
    if (range.isEmpty() || !goOn(0))
        return view;

    // A channel's offset and ADEV without a signal are no measurements:
    // gaps, not a line down to 0.
    const StateTimeline::Input states = timelineInput(range);
    const QVector<qint64> breakList = breaks(range);
    BucketAggregator aggregator(range, buckets, breakList);
    for (int channel = 1; channel <= 4; ++channel) {
        const QVector<TimeRange> absent = SignalPresence::absent(states, channel, range);
        aggregator.setGaps(Series::offset(channel), absent);
        aggregator.setGaps(Series::adev(channel), absent);
    }
    const int lvl = level(range, buckets);
    const bool complete = lvl == 0 ? aggregateReadings(aggregator, range, progress)
                                   : aggregateSummaries(aggregator, lvl - 1, range, breakList);
    for (int s = 0; s < Series::Count; ++s)
        view.series[s] = aggregator.take(Series::Id(s));
    if (!complete || !goOn(80))
        return view;

    StateTimeline::Output timeline = StateTimeline::build(states, range);
    view.link = timeline.link;
    for (int ch = 0; ch < 4; ++ch)
        view.channels[ch] = timeline.channels[ch];
    view.markers = timeline.markers + commandMarkers(range) + journalMarkers(range);
    std::stable_sort(view.markers.begin(), view.markers.end(),
                     [](const Marker &a, const Marker &b) { return a.timeMs < b.timeMs; });
    goOn(100);
    return view;
}

QVector<qint64> HistoryReader::breaks(TimeRange range)
{
    const qint64 from = range.fromMs - LongestSlotMs;
    QVector<qint64> list;
    QSqlQuery q = query(QStringLiteral("SELECT time_ms FROM event WHERE kind IN (%1) AND time_ms >= ? "
                                       "AND time_ms < ?").arg(BreakKinds),
                        {from, range.toMs});
    while (q.next())
        list << q.value(0).toLongLong();
    q = query(QStringLiteral("SELECT start_ms, end_ms FROM imported_run WHERE end_ms >= ? AND start_ms < ?"),
              {from, range.toMs});
    while (q.next())
        list << q.value(0).toLongLong() << q.value(1).toLongLong() + 1;
    std::sort(list.begin(), list.end());
    return list;
}

bool HistoryReader::aggregateReadings(BucketAggregator &aggregator, TimeRange range,
                                      const std::function<bool(int)> &progress)
{
    return addReadings(aggregator, range.fromMs, range.toMs, range, progress);
}

// The readings at times in [fromMs, toMs), each a piece of its own.
bool HistoryReader::addReadings(BucketAggregator &aggregator, qint64 fromMs, qint64 toMs, TimeRange range,
                                const std::function<bool(int)> &progress)
{
    struct Table {
        const char *name;
        int first;
        int count;
    };
    const Table tables[] = {{"adj_state", Series::FreqOffset, Series::FromAdjState},
                            {"var_struct", Series::Adev1, Series::FromVarStruct}};
    int part = 0;
    for (const Table &t : tables) {
        const QStringList columns = HistorySchema::seriesColumns(t.first, t.count);
        QSqlQuery q = query(QStringLiteral("SELECT time_ms, %1 FROM %2 WHERE time_ms >= ? AND time_ms < ? "
                                           "ORDER BY time_ms")
                                .arg(columns.join(QStringLiteral(", ")), QLatin1String(t.name)),
                            {fromMs, toMs});
        if (!q.isActive())
            return false;
        float values[Series::Count];
        qint64 rows = 0;
        while (q.next()) {
            const qint64 ms = q.value(0).toLongLong();
            for (int i = 0; i < t.count; ++i)
                values[i] = SqlReal::toFloat(q.value(i + 1));
            aggregator.add(ms, ms, 1, t.first, values, values, t.count);
            if (progress && ++rows % 16384 == 0
                && !progress(int(40 * part + 40 * (ms - range.fromMs) / qMax<qint64>(1, range.length()))))
                return false;
        }
        ++part;
    }
    return true;
}

// Summaries where there are some, and the readings themselves where polls
// were too sparse for one: a slot without its summary, or a piece of a slot
// cut off by a break.
bool HistoryReader::aggregateSummaries(BucketAggregator &aggregator, int level, TimeRange range,
                                       const QVector<qint64> &breaks)
{
    const qint64 slotMs = HistorySchema::rollupSlotMs(level);
    const QStringList columns = HistorySchema::rollupColumns();
    QSqlQuery q = query(QStringLiteral("SELECT %1 FROM %2 WHERE start_ms >= ? AND start_ms < ? AND end_ms >= ? "
                                       "ORDER BY start_ms")
                            .arg(columns.join(QStringLiteral(", ")), HistorySchema::rollupTable(level)),
                        {range.fromMs - slotMs, range.toMs, range.fromMs});
    if (!q.isActive())
        return false;
    auto slotOf = [slotMs](qint64 ms) { return ms >= 0 ? ms / slotMs : -((-ms + slotMs - 1) / slotMs); };
    // Readings between two summaries there can only be where a slot between
    // them has none, or a break lies between them.
    auto mayHoldReadings = [&](qint64 afterMs, qint64 beforeMs) {
        if (slotOf(beforeMs) - slotOf(afterMs) > 1)
            return true;
        return std::upper_bound(breaks.begin(), breaks.end(), afterMs)
            != std::upper_bound(breaks.begin(), breaks.end(), beforeMs);
    };
    qint64 coveredUntil = range.fromMs - 1;  // readings up to it are drawn
    bool first = true;
    float lows[Series::Count];
    float highs[Series::Count];
    while (q.next()) {
        const qint64 startMs = q.value(0).toLongLong();
        const qint64 endMs = q.value(1).toLongLong();
        if ((first || mayHoldReadings(coveredUntil, startMs)) && startMs > coveredUntil + 1
            && !addReadings(aggregator, coveredUntil + 1, startMs, range, {}))
            return false;
        first = false;
        for (int s = 0; s < Series::Count; ++s) {
            lows[s] = SqlReal::toFloat(q.value(3 + 2 * s));
            highs[s] = SqlReal::toFloat(q.value(4 + 2 * s));
        }
        aggregator.add(startMs, endMs, q.value(2).toInt(), 0, lows, highs, Series::Count);
        coveredUntil = qMax(coveredUntil, endMs);
    }
    if (!q.isActive())
        return false;
    return coveredUntil + 1 >= range.toMs || addReadings(aggregator, coveredUntil + 1, range.toMs, range, {});
}

StateTimeline::Input HistoryReader::timelineInput(TimeRange range)
{
    StateTimeline::Input in;
    // The stretch the range begins in starts with the last break before it.
    qint64 since = range.fromMs;
    QSqlQuery q = query(QStringLiteral("SELECT time_ms FROM event WHERE kind IN (%1) AND time_ms <= ? "
                                       "ORDER BY time_ms DESC LIMIT 1").arg(BreakKinds),
                        {range.fromMs});
    if (q.next())
        since = q.value(0).toLongLong();

    q = query(QStringLiteral("SELECT time_ms, kind, code, text FROM event WHERE kind IN (%1) AND time_ms >= ? "
                             "AND time_ms < ? ORDER BY time_ms, id").arg(BreakKinds),
              {since, range.toMs});
    while (q.next())
        in.events << StateTimeline::Event{q.value(0).toLongLong(), EventKind(q.value(1).toInt()),
                                          q.value(2).toLongLong(), q.value(3).toString()};

    // The row in force when the range begins, then every row inside it.
    const QString rows = QStringLiteral("SELECT * FROM (SELECT %2 FROM %1 WHERE time_ms <= ? ORDER BY time_ms DESC "
                                        "LIMIT 1) UNION ALL SELECT %2 FROM %1 WHERE time_ms > ? AND time_ms < ? "
                                        "ORDER BY time_ms");
    // Without last_ms: a state holds until the next row.
    auto stateColumns = [](QStringList columns) {
        columns.removeAt(1);
        return columns.join(QStringLiteral(", "));
    };
    // DETECT keeps its last_ms: the channels' signal was seen until then.
    q = query(rows.arg(QStringLiteral("detect"), HistorySchema::detectColumns().join(QStringLiteral(", "))),
              {range.fromMs, range.fromMs, range.toMs});
    while (q.next()) {
        StateTimeline::Row<DETECT> row;
        row.timeMs = q.value(0).toLongLong();
        row.lastMs = q.value(1).isNull() ? row.timeMs : q.value(1).toLongLong();
        for (int i = 0; i < 4; ++i)
            row.record.chan[i] = qint16(q.value(2 + i).toInt());
        in.detect << row;
    }
    q = query(rows.arg(QStringLiteral("cmd_state"), stateColumns(HistorySchema::cmdColumns())),
              {range.fromMs, range.fromMs, range.toMs});
    while (q.next()) {
        StateTimeline::Row<ADJ_CMD_STATE> row;
        row.timeMs = q.value(0).toLongLong();
        ADJ_CMD_STATE &c = row.record;
        c.syncStatus = qint16(q.value(1).toInt());
        c.estimationTimeLeft = quint16(q.value(2).toInt());
        c.flags = quint16(q.value(3).toInt());
        for (int i = 0; i < 4; ++i) {
            c.qualState[i] = qint16(q.value(4 + i).toInt());
            c.chanWord[i] = qint16(q.value(8 + i).toInt());
            c.qualTimeLeft[i] = quint16(q.value(12 + i).toInt());
        }
        in.cmd << row;
    }

    q = query(QStringLiteral("SELECT start_ms, end_ms FROM imported_run WHERE end_ms >= ? AND start_ms < ? "
                             "ORDER BY start_ms"),
              {range.fromMs, range.toMs});
    while (q.next())
        in.runs << StateTimeline::ImportedRun{q.value(0).toLongLong(), q.value(1).toLongLong()};
    q = query(rows.arg(QStringLiteral("imported_status"), QStringLiteral("time_ms, mode, chan1, chan2, chan3, chan4")),
              {range.fromMs, range.fromMs, range.toMs});
    while (q.next()) {
        StateTimeline::ImportedStatus s;
        s.timeMs = q.value(0).toLongLong();
        s.mode = q.value(1).toInt();
        for (int i = 0; i < 4; ++i)
            s.status[i] = q.value(2 + i).toInt();
        in.statuses << s;
    }
    return in;
}

// A command is marked when it was queued, with the outcome reported for it
// (the link runs commands in the order they were queued).
QVector<Marker> HistoryReader::commandMarkers(TimeRange range)
{
    struct Queued {
        qint64 timeMs;
        int code;
        Outcome outcome;
    };
    QVector<Queued> queued;
    const qint64 margin = 10 * 60000;
    QSqlQuery q = query(QStringLiteral("SELECT time_ms, kind, code, text FROM event WHERE kind IN (8, 9) "
                                       "AND time_ms >= ? AND time_ms < ? ORDER BY time_ms, id"),
                        {range.fromMs - margin, range.toMs + margin});
    while (q.next()) {
        const qint64 ms = q.value(0).toLongLong();
        const int code = q.value(2).toInt();
        if (EventKind(q.value(1).toInt()) == EventKind::CommandQueued) {
            queued << Queued{ms, code, Outcome::Unknown};
            continue;
        }
        const Outcome outcome = q.value(3).toString() == QLatin1String("ok") ? Outcome::Ok : Outcome::Failed;
        auto open = std::find_if(queued.begin(), queued.end(), [&](const Queued &c) {
            return c.code == code && c.outcome == Outcome::Unknown;
        });
        if (open != queued.end())
            open->outcome = outcome;
        else  // queued before what was read
            queued << Queued{ms, code, outcome};
    }
    QVector<Marker> markers;
    for (const Queued &c : queued) {
        if (!range.contains(c.timeMs) || !changesInstrument(c.code))
            continue;
        Marker m;
        m.timeMs = c.timeMs;
        m.kind = MarkerKind::Command;
        m.code = c.code;
        m.outcome = c.outcome;
        markers << m;
    }
    return markers;
}

QVector<Marker> HistoryReader::journalMarkers(TimeRange range)
{
    QVector<Marker> markers;
    QSqlQuery q = query(QStringLiteral("SELECT device_ms, number, event, device_time FROM journal "
                                       "WHERE device_ms >= ? AND device_ms < ? ORDER BY device_ms, id"),
                        {range.fromMs, range.toMs});
    while (q.next()) {
        Marker m;
        m.timeMs = q.value(0).toLongLong();
        m.kind = MarkerKind::JournalEvent;
        m.number = q.value(1).toInt();
        m.code = q.value(2).toInt();
        m.text = q.value(3).toString();
        markers << m;
    }
    return markers;
}

QVector<Sample> HistoryReader::samples(Series::Id series, TimeRange range, const std::function<bool()> &goOn)
{
    const QString table = series < Series::Adev1 ? QStringLiteral("adj_state") : QStringLiteral("var_struct");
    const QString column = Series::column(series);
    QSqlQuery q = query(QStringLiteral("SELECT time_ms, %1 FROM %2 WHERE time_ms >= ? AND time_ms < ? "
                                       "AND %1 IS NOT NULL ORDER BY time_ms").arg(column, table),
                        {range.fromMs, range.toMs});
    QVector<Sample> list;
    while (q.next()) {
        list << Sample{q.value(0).toLongLong(), double(SqlReal::toFloat(q.value(1)))};
        if (goOn && list.size() % 16384 == 0 && !goOn())
            break;
    }
    return list;
}

QVector<MessageLine> HistoryReader::messages(TimeRange range, int limit)
{
    QSqlQuery q = query(QStringLiteral("SELECT time_ms, detail, text FROM event WHERE kind = 7 AND time_ms >= ? "
                                       "AND time_ms < ? ORDER BY time_ms, id LIMIT ?"),
                        {range.fromMs, range.toMs, limit});
    QVector<MessageLine> list;
    while (q.next())
        list << MessageLine{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()};
    return list;
}

bool HistoryReader::readings(TimeRange range, const std::function<bool(const Reading &)> &sink)
{
    const QString sql = QStringLiteral("SELECT time_ms, %1 FROM %2 WHERE time_ms >= ? AND time_ms < ? "
                                       "ORDER BY time_ms");
    QSqlQuery adj = query(sql.arg(HistorySchema::seriesColumns(0, Series::FromAdjState).join(QStringLiteral(", ")),
                                  QStringLiteral("adj_state")),
                          {range.fromMs, range.toMs});
    QSqlQuery var = query(sql.arg(HistorySchema::seriesColumns(Series::Adev1, Series::FromVarStruct)
                                      .join(QStringLiteral(", ")),
                                  QStringLiteral("var_struct")),
                          {range.fromMs, range.toMs});
    if (!adj.isActive() || !var.isActive())
        return false;
    bool moreAdj = adj.next();
    bool moreVar = var.next();
    while (moreAdj || moreVar) {
        const bool takeAdj = moreAdj && (!moreVar || adj.value(0).toLongLong() <= var.value(0).toLongLong());
        QSqlQuery &q = takeAdj ? adj : var;
        Reading r;
        std::fill(std::begin(r.value), std::end(r.value), std::numeric_limits<float>::quiet_NaN());
        r.timeMs = q.value(0).toLongLong();
        const int first = takeAdj ? 0 : Series::Adev1;
        const int count = takeAdj ? Series::FromAdjState : Series::FromVarStruct;
        for (int i = 0; i < count; ++i)
            r.value[first + i] = SqlReal::toFloat(q.value(1 + i));
        if (!sink(r))
            return false;
        if (takeAdj)
            moreAdj = adj.next();
        else
            moreVar = var.next();
    }
    return true;
}
