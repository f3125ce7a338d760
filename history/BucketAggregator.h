#pragma once

#include "HistoryData.h"

#include <QVector>

#include <vector>

// Decimates readings and summaries to a fixed number of buckets over a time
// range, keeping each bucket's extremes so that no spike disappears. Pieces
// on both sides of a break never share a bucket: the bucket is split and the
// second part marked, so a line is never drawn across a disconnection.
class BucketAggregator
{
public:
    // `breaks`: times from which readings belong to a new stretch, sorted.
    BucketAggregator(TimeRange range, int buckets, QVector<qint64> breaks);

    // Stretches in which `series` holds no measurement (its channel had no
    // signal), in time order: what falls in them is left out, and a line is
    // never drawn across them.
    void setGaps(Series::Id series, QVector<TimeRange> gaps);

    // A reading (first == last, one reading) or a summary of several, with
    // the smallest and largest value of series first .. first + count - 1
    // (NaN where it has none). Pieces come in time order for each series.
    void add(qint64 firstMs, qint64 lastMs, int readings, int first, const float *min, const float *max, int count);

    QVector<SeriesBucket> take(Series::Id series);

    // Points for a line graph with keys in seconds: one point for a bucket
    // of one value, its minimum and maximum at the middle of its readings
    // otherwise, and a NaN point (a gap) before a bucket marked breakBefore.
    static void linePoints(const QVector<SeriesBucket> &buckets, QVector<double> *keysSec,
                           QVector<double> *values);

private:
    struct Pending {
        qint64 bucket = -1;
        int segment = 0;
        int lastSegment = -1;  // of the last bucket taken out
        int gap = 0;           // the first gap that has not ended before
        SeriesBucket current;
        std::vector<SeriesBucket> done;
    };

    qint64 bucketOf(qint64 ms) const;
    int segmentOf(qint64 ms) const;
    void close(Pending &p);

    TimeRange m_range;
    int m_buckets;
    QVector<qint64> m_breaks;
    QVector<TimeRange> m_gaps[Series::Count];
    Pending m_series[Series::Count];
};
