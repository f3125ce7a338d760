#include "Deviation.h"

#include <cmath>

Deviation::Deviation(const QVector<QVector<double>> &runs, double tau0) : m_runs(runs), m_tau0(tau0)
{
    m_phase.reserve(size_t(runs.size()));
    for (const QVector<double> &y : runs) {
        // About the mean, so that a large offset costs no precision; the
        // differences cancel a constant frequency anyway.
        double mean = 0;
        for (double v : y)
            mean += v;
        mean /= qMax(1, y.size());
        std::vector<double> x(size_t(y.size()) + 1, 0.0);
        for (int i = 0; i < y.size(); ++i)
            x[size_t(i) + 1] = x[size_t(i)] + (y.at(i) - mean);
        m_phase.push_back(std::move(x));
    }
}

int Deviation::differenceOrder(Kind kind)
{
    return kind == Hdev || kind == Ohdev ? 3 : 2;
}

bool Deviation::averaged(Kind kind)
{
    return kind == Mdev || kind == Tdev;
}

bool Deviation::overlapping(Kind kind)
{
    return kind != Adev && kind != Hdev;
}

qint64 Deviation::span(Kind kind, qint64 m)
{
    return (averaged(kind) ? m : 1) + differenceOrder(kind) * m;
}

qint64 Deviation::stride(Kind kind, qint64 m)
{
    return overlapping(kind) ? 1 : m;
}

qint64 Deviation::longestFactor(Kind kind) const
{
    qint64 longest = 0;
    for (const std::vector<double> &x : m_phase) {
        const qint64 n = qint64(x.size());
        // span(m) <= n
        const qint64 m = averaged(kind) ? n / (1 + differenceOrder(kind)) : (n - 1) / differenceOrder(kind);
        longest = qMax(longest, m);
    }
    return longest;
}

QVector<qint64> Deviation::termsPerRun(Kind kind, qint64 m) const
{
    QVector<qint64> terms;
    for (const std::vector<double> &x : m_phase) {
        const qint64 free = qint64(x.size()) - span(kind, m);
        terms << (m < 1 || free < 0 ? 0 : 1 + free / stride(kind, m));
    }
    return terms;
}

double Deviation::sumOfSquares(Kind kind, const std::vector<double> &x, qint64 m, qint64 *terms) const
{
    const qint64 n = qint64(x.size());
    double sum = 0;
    qint64 count = 0;
    if (n < span(kind, m))
        return 0;
    const double *p = x.data();
    if (averaged(kind)) {
        // Each term sums m second differences: a window slid along them.
        auto second = [p, m](qint64 i) { return p[i + 2 * m] - 2 * p[i + m] + p[i]; };
        double window = 0;
        for (qint64 i = 0; i < m; ++i)
            window += second(i);
        for (qint64 j = 0;; ++j) {
            sum += window * window;
            ++count;
            if (j + 3 * m >= n)
                break;
            window += second(j + m) - second(j);
        }
    } else if (differenceOrder(kind) == 2) {
        const qint64 step = stride(kind, m);
        for (qint64 i = 0; i + 2 * m < n; i += step) {
            const double d = p[i + 2 * m] - 2 * p[i + m] + p[i];
            sum += d * d;
            ++count;
        }
    } else {
        const qint64 step = stride(kind, m);
        for (qint64 i = 0; i + 3 * m < n; i += step) {
            const double d = p[i + 3 * m] - 3 * p[i + 2 * m] + 3 * p[i + m] - p[i];
            sum += d * d;
            ++count;
        }
    }
    *terms = count;
    return sum;
}

Deviation::Value Deviation::at(Kind kind, qint64 m) const
{
    Value v;
    if (m < 1)
        return v;
    double sum = 0;
    for (const std::vector<double> &x : m_phase) {
        qint64 terms = 0;
        sum += sumOfSquares(kind, x, m, &terms);
        v.terms += terms;
    }
    if (v.terms == 0)
        return v;
    const double mm = double(m) * double(m);
    const double n = double(v.terms);
    switch (kind) {
    case Adev:
    case Oadev:
        v.deviation = std::sqrt(sum / (2 * mm * n));
        break;
    case Mdev:
        v.deviation = std::sqrt(sum / (2 * mm * mm * n));
        break;
    case Tdev:
        v.deviation = double(m) * m_tau0 / std::sqrt(3.0) * std::sqrt(sum / (2 * mm * mm * n));
        break;
    case Hdev:
    case Ohdev:
        v.deviation = std::sqrt(sum / (6 * mm * n));
        break;
    }
    return v;
}
