#include "BucketAggregator.h"

#include <algorithm>
#include <cmath>
#include <limits>

BucketAggregator::BucketAggregator(TimeRange range, int buckets, QVector<qint64> breaks)
    : m_range(range), m_buckets(qMax(1, buckets)), m_breaks(std::move(breaks))
{
}

qint64 BucketAggregator::bucketOf(qint64 ms) const
{
    if (m_range.length() <= 0 || ms <= m_range.fromMs)
        return 0;
    // Widened: a range of decades times thousands of buckets must not overflow.
    const long double share = (long double)(ms - m_range.fromMs) * m_buckets / m_range.length();
    return qBound<qint64>(0, qint64(share), m_buckets - 1);
}

void BucketAggregator::setGaps(Series::Id series, QVector<TimeRange> gaps)
{
    m_gaps[series] = std::move(gaps);
}

int BucketAggregator::segmentOf(qint64 ms) const
{
    return int(std::upper_bound(m_breaks.begin(), m_breaks.end(), ms) - m_breaks.begin());
}

void BucketAggregator::add(qint64 firstMs, qint64 lastMs, int readings, int first, const float *min,
                           const float *max, int count)
{
    const qint64 bucket = bucketOf(firstMs);
    const int stretch = segmentOf(firstMs);
    for (int i = 0; i < count; ++i) {
        if (std::isnan(min[i]) || std::isnan(max[i]))
            continue;
        Pending &p = m_series[first + i];
        // Pieces come in time order: the gaps that ended before are passed.
        const QVector<TimeRange> &gaps = m_gaps[first + i];
        while (p.gap < gaps.size() && gaps.at(p.gap).toMs <= firstMs)
            ++p.gap;
        if (p.gap < gaps.size() && gaps.at(p.gap).fromMs <= lastMs)
            continue;  // in a gap, or reaching into one
        // After a gap the line starts anew, as after a break.
        const int segment = stretch + p.gap;
        if (p.bucket != bucket || p.segment != segment) {
            close(p);
            p.bucket = bucket;
            p.segment = segment;
            p.current = SeriesBucket();
            p.current.firstMs = firstMs;
            p.current.min = min[i];
            p.current.max = max[i];
        }
        SeriesBucket &b = p.current;
        b.lastMs = lastMs;
        b.min = qMin(b.min, min[i]);
        b.max = qMax(b.max, max[i]);
        b.readings += readings;
    }
}

void BucketAggregator::close(Pending &p)
{
    if (p.bucket < 0)
        return;
    p.current.breakBefore = p.lastSegment >= 0 && p.lastSegment != p.segment;
    p.done.push_back(p.current);
    p.lastSegment = p.segment;
    p.bucket = -1;
}

QVector<SeriesBucket> BucketAggregator::take(Series::Id series)
{
    Pending &p = m_series[series];
    close(p);
    QVector<SeriesBucket> done(p.done.begin(), p.done.end());
    p.done.clear();
    p.lastSegment = -1;
    return done;
}

void BucketAggregator::linePoints(const QVector<SeriesBucket> &buckets, QVector<double> *keysSec,
                                  QVector<double> *values)
{
    keysSec->clear();
    values->clear();
    keysSec->reserve(buckets.size() * 2 + 8);
    values->reserve(buckets.size() * 2 + 8);
    for (const SeriesBucket &b : buckets) {
        const double middle = (double(b.firstMs) + double(b.lastMs)) / 2000.0;
        if (b.breakBefore && !keysSec->isEmpty()) {
            *keysSec << (keysSec->last() + double(b.firstMs) / 1000.0) / 2;
            *values << std::numeric_limits<double>::quiet_NaN();
        }
        if (b.readings == 1 || b.min == b.max) {
            *keysSec << (b.readings == 1 ? double(b.firstMs) / 1000.0 : middle);
            *values << double(b.min);
        } else {
            *keysSec << middle << middle;
            *values << double(b.min) << double(b.max);
        }
    }
}
