#include "AllanDeviation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

QVector<AllanDeviation::Point> AllanDeviation::overlapping(const QVector<double> &y, double tau0)
{
    const int n = y.size();
    QVector<Point> points;
    if (n < 4 || !(tau0 > 0))
        return points;

    // Prefix sums around the mean, so that a large offset costs no precision,
    // and prefix counts of missing samples.
    double mean = 0;
    int valid = 0;
    for (double v : y) {
        if (std::isfinite(v)) {
            mean += v;
            ++valid;
        }
    }
    if (valid == 0)
        return points;
    mean /= valid;
    std::vector<double> sum(size_t(n) + 1, 0.0);
    std::vector<int> missing(size_t(n) + 1, 0);
    for (int i = 0; i < n; ++i) {
        const bool ok = std::isfinite(y.at(i));
        sum[size_t(i) + 1] = sum[size_t(i)] + (ok ? y.at(i) - mean : 0.0);
        missing[size_t(i) + 1] = missing[size_t(i)] + (ok ? 0 : 1);
    }

    for (qint64 m = 1; 4 * m <= n; m *= 2) {
        double total = 0;
        qint64 terms = 0;
        for (qint64 j = 0; j + 2 * m <= n; ++j) {
            if (missing[size_t(j + 2 * m)] != missing[size_t(j)])
                continue;
            const double d = sum[size_t(j + 2 * m)] - 2 * sum[size_t(j + m)] + sum[size_t(j)];
            total += d * d;
            ++terms;
        }
        if (terms > 0)
            points << Point{double(m) * tau0, std::sqrt(total / (2.0 * double(m) * double(m) * double(terms))), terms};
    }
    return points;
}

AllanDeviation::Grid AllanDeviation::grid(const QVector<Sample> &samples)
{
    Grid g;
    if (samples.size() < 2)
        return g;
    std::vector<qint64> spacing;
    spacing.reserve(size_t(samples.size()));
    for (int i = 1; i < samples.size(); ++i) {
        const qint64 d = samples.at(i).timeMs - samples.at(i - 1).timeMs;
        if (d > 0)
            spacing.push_back(d);
    }
    if (spacing.empty())
        return g;
    std::nth_element(spacing.begin(), spacing.begin() + qptrdiff(spacing.size() / 2), spacing.end());
    qint64 stepMs = spacing[spacing.size() / 2];

    const qint64 first = samples.first().timeMs;
    const qint64 span = samples.last().timeMs - first;
    int factor = 1;
    while (span / (stepMs * factor) + 1 > MaxSlots)
        factor *= 2;
    // Placed on the fine grid first, then averaged in groups of `factor`.
    const qint64 fine = span / stepMs + 1;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const qint64 slots = (fine + factor - 1) / factor;
    std::vector<double> total(size_t(slots), 0.0);
    std::vector<int> count(size_t(slots), 0);
    qint64 lastFine = -1;
    for (const Sample &s : samples) {
        const qint64 slot = qBound<qint64>(0, (s.timeMs - first + stepMs / 2) / stepMs, fine - 1);
        if (slot == lastFine || !std::isfinite(s.value))
            continue;
        lastFine = slot;
        total[size_t(slot / factor)] += s.value;
        ++count[size_t(slot / factor)];
    }
    g.y.resize(int(slots));
    for (qint64 i = 0; i < slots; ++i) {
        const qint64 expected = qMin<qint64>(factor, fine - i * factor);
        g.y[int(i)] = count[size_t(i)] == expected ? total[size_t(i)] / double(count[size_t(i)]) : nan;
    }
    g.tau0 = double(stepMs * factor) / 1000.0;
    return g;
}
