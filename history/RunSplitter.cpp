#include "RunSplitter.h"

#include <algorithm>
#include <vector>

namespace {

// Spacings on each side that vote for the nominal interval of a step: more
// than a clock set back by a minute interleaves, so that the interleaved
// steps never outvote the regular ones around them.
constexpr size_t Neighbours = 32;
constexpr size_t CheckEvery = 65536;

qint64 wholeSeconds(qint64 ms)
{
    return ms <= 0 ? 0 : (ms + 500) / 1000;
}

// The median of a window sliding along the spacings, in whole seconds; they
// take few distinct values, so a count of each is kept, in order.
class SlidingMedian
{
public:
    void add(qint64 v)
    {
        auto it = std::lower_bound(m_counts.begin(), m_counts.end(), v,
                                   [](const Count &c, qint64 value) { return c.value < value; });
        if (it == m_counts.end() || it->value != v)
            it = m_counts.insert(it, Count{v, 0});
        ++it->count;
        ++m_size;
    }
    void remove(qint64 v)
    {
        auto it = std::lower_bound(m_counts.begin(), m_counts.end(), v,
                                   [](const Count &c, qint64 value) { return c.value < value; });
        if (--it->count == 0)
            m_counts.erase(it);
        --m_size;
    }
    size_t size() const { return m_size; }
    qint64 median() const
    {
        size_t seen = 0;
        for (const Count &c : m_counts) {
            seen += c.count;
            if (seen > m_size / 2)
                return c.value;
        }
        return 0;
    }
    // The median of both windows together.
    qint64 medianWith(const SlidingMedian &other) const
    {
        const size_t half = (m_size + other.m_size) / 2;
        auto a = m_counts.begin();
        auto b = other.m_counts.begin();
        size_t seen = 0;
        while (a != m_counts.end() || b != other.m_counts.end()) {
            const bool fromA = b == other.m_counts.end() || (a != m_counts.end() && a->value <= b->value);
            const Count &c = fromA ? *a++ : *b++;
            seen += c.count;
            if (seen > half)
                return c.value;
        }
        return 0;
    }

private:
    struct Count {
        qint64 value;
        size_t count;
    };
    std::vector<Count> m_counts;
    size_t m_size = 0;
};

// Of two intervals, the one nearer `q` by ratio; the earlier one when tied.
qint64 nearer(qint64 q, qint64 earlier, qint64 later)
{
    if (q <= 0 || earlier <= 0 || later <= 0)
        return earlier > 0 ? earlier : later;
    auto ratio = [q](qint64 v) { return double(qMax(q, v)) / double(qMin(q, v)); };
    return ratio(later) < ratio(earlier) ? later : earlier;
}

}  // namespace

QVector<ReadingRun> RunSplitter::split(const QVector<Sample> &samples, const QVector<qint64> &breaks,
                                       const std::function<bool()> &goOn)
{
    const size_t n = size_t(samples.size());
    QVector<ReadingRun> runs;
    if (n == 0)
        return runs;
    const size_t steps = n - 1;

    // Step i joins reading i and i + 1 at most; a break inside it cuts it.
    auto spacing = [&samples](size_t i) { return samples.at(int(i + 1)).timeMs - samples.at(int(i)).timeMs; };
    std::vector<qint64> seconds(steps);
    std::vector<char> cut(steps, 0);
    auto nextBreak = std::upper_bound(breaks.begin(), breaks.end(), samples.at(0).timeMs);
    for (size_t i = 0; i < steps; ++i) {
        const qint64 from = samples.at(int(i)).timeMs;
        const qint64 to = samples.at(int(i + 1)).timeMs;
        seconds[i] = wholeSeconds(to - from);
        while (nextBreak != breaks.end() && *nextBreak <= from)
            ++nextBreak;
        if (nextBreak != breaks.end() && *nextBreak <= to)
            cut[i] = 1;
    }

    // The nominal interval of each step, from the steps around it that lie
    // between the same breaks.
    std::vector<qint64> nominal(steps, 0);
    for (size_t first = 0; first < steps;) {
        size_t last = first;
        while (last < steps && !cut[last])
            ++last;
        // Two windows, the steps before and the steps after: where the
        // interval changes, the one on the step's own side tells it.
        SlidingMedian before;
        SlidingMedian after;
        for (size_t i = first; i < qMin(last, first + Neighbours); ++i)
            after.add(seconds[i]);
        for (size_t i = first; i < last; ++i) {
            before.add(seconds[i]);
            if (i >= first + Neighbours + 1)
                before.remove(seconds[i - Neighbours - 1]);
            if (i + Neighbours < last)
                after.add(seconds[i + Neighbours]);
            if (i > first)
                after.remove(seconds[i - 1]);
            // Near the ends of a stretch one window is too short to tell.
            const bool both = 2 * before.size() >= Neighbours && 2 * after.size() >= Neighbours;
            nominal[i] = both ? nearer(seconds[i], before.median(), after.median()) : before.medianWith(after);
            if (goOn && i % CheckEvery == 0 && !goOn())
                return {};
        }
        first = last + 1;
    }

    // A step of at most half an interval: readings of two clocks interleave.
    auto crowded = [&](size_t i) { return !cut[i] && 2 * spacing(i) <= qMax<qint64>(1, nominal[i]) * 1000; };
    std::vector<char> alone(n, 0);
    for (size_t i = 0; i < steps; ++i) {
        if (crowded(i))
            alone[i] = alone[i + 1] = 1;
    }
    auto joins = [&](size_t i) {
        const qint64 intervalMs = nominal[i] * 1000;
        return !cut[i] && !alone[i] && !alone[i + 1] && intervalMs > 0 && 2 * spacing(i) > intervalMs
            && 2 * spacing(i) < 3 * intervalMs;
    };

    ReadingRun run;
    auto start = [&](size_t i) {
        run = ReadingRun();
        run.firstMs = run.lastMs = samples.at(int(i)).timeMs;
        run.y << samples.at(int(i)).value;
    };
    start(0);
    for (size_t i = 0; i < steps; ++i) {
        const qint64 intervalMs = nominal[i] * 1000;
        if (joins(i) && (run.intervalMs == 0 || run.intervalMs == intervalMs)) {
            run.intervalMs = intervalMs;
            run.lastMs = samples.at(int(i + 1)).timeMs;
            run.y << samples.at(int(i + 1)).value;
        } else {
            runs << run;
            start(i + 1);
        }
        if (goOn && i % CheckEvery == 0 && !goOn())
            return {};
    }
    runs << run;
    return runs;
}
