#pragma once

#include "HistoryData.h"
#include "StateTimeline.h"

#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class BucketAggregator;
class HistoryConnection;
class QSqlQuery;

// Reads the history for the History window, on a connection of its own
// (read-only, so it never blocks the writer): decimated series, state bands,
// markers, messages, and full-precision rows for export. Create, open and use
// it on one thread, typically a worker.
class HistoryReader
{
public:
    explicit HistoryReader(const QString &path);
    ~HistoryReader();

    // False, with reason(), when there is no history to read (no file, not a
    // history, a newer or a not yet upgraded one).
    bool open();
    QString reason() const { return m_reason; }

    // From the first to just after the last thing recorded; empty when nothing.
    TimeRange extent();

    // Everything drawn for `range`: each series decimated to `buckets`, the
    // link and channel bands, and the markers in time order. `progress` is
    // told 0..100 and may return false to stop early (the view is then
    // incomplete).
    HistoryView load(TimeRange range, int buckets, const std::function<bool(int)> &progress = {});

    // 0: each reading, 1: five-minute summaries, 2: hourly ones. A summary is
    // used when it is no longer than a bucket, so an extreme is drawn at most
    // one bucket away from its time.
    static int level(TimeRange range, int buckets);

    // Every reading of one series in the range, in time order (for the
    // stability analysis). `goOn` may stop it; the list is then incomplete.
    QVector<Sample> samples(Series::Id series, TimeRange range, const std::function<bool()> &goOn = {});
    // The times from which readings are not joined to those before (a lost
    // connection, a restart, the ends of an imported log), sorted.
    QVector<qint64> breaks(TimeRange range);
    // The stored rows the state bands and the channels' signal follow from.
    StateTimeline::Input timelineInput(TimeRange range);
    // The message log lines of the range, oldest first, at most `limit`.
    QVector<MessageLine> messages(TimeRange range, int limit = 10000);
    // Each ADJ_STATE and VAR_STRUCT poll of the range in time order, at full
    // precision, until `sink` returns false. False when stopped or failed.
    bool readings(TimeRange range, const std::function<bool(const Reading &)> &sink);

private:
    bool aggregateReadings(BucketAggregator &aggregator, TimeRange range, const std::function<bool(int)> &progress);
    bool addReadings(BucketAggregator &aggregator, qint64 fromMs, qint64 toMs, TimeRange range,
                     const std::function<bool(int)> &progress);
    bool aggregateSummaries(BucketAggregator &aggregator, int level, TimeRange range, const QVector<qint64> &breaks);
    QVector<Marker> commandMarkers(TimeRange range);
    QVector<Marker> journalMarkers(TimeRange range);
    QSqlQuery query(const QString &sql, const QVector<QVariant> &values);

    std::unique_ptr<HistoryConnection> m_connection;
    QString m_reason;
};
