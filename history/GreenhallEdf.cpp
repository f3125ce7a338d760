#include "GreenhallEdf.h"

#include <cmath>

namespace {

constexpr qint64 DirectLags = 2048;
constexpr qint64 NearLags = 64;
constexpr int Panels = 256;

// C(n, k) for n up to 8: the powers and the differences below need no more.
double binomial(int n, int k)
{
    static const double table[9][9] = {
        {1}, {1, 1}, {1, 2, 1}, {1, 3, 3, 1}, {1, 4, 6, 4, 1}, {1, 5, 10, 10, 5, 1},
        {1, 6, 15, 20, 15, 6, 1}, {1, 7, 21, 35, 35, 21, 7, 1}, {1, 8, 28, 56, 70, 56, 28, 8, 1}};
    return table[n][k];
}

double power(double a, int p)
{
    double r = 1;
    for (int i = 0; i < p; ++i)
        r *= a;
    return r;
}

// The generalised autocovariance of the phase, integrated twice: |t|^(3 -
// alpha), with a logarithm for odd alpha. Constant factors and signs cancel
// in the correlations.
double sw(double t, int alpha)
{
    const int p = 3 - alpha;
    const double a = std::fabs(t);
    if (alpha % 2 == 0)
        return power(a, p);
    return a == 0 ? 0.0 : power(a, p) * std::log(a);
}

}  // namespace

GreenhallEdf::GreenhallEdf(int alpha, int d, bool averaged, bool overlapping, qint64 m)
    : m_alpha(alpha),
      m_d(d),
      m_h(averaged ? 1.0 : 1.0 / double(qMax<qint64>(1, m))),
      m_lagsPerUnit(overlapping ? double(qMax<qint64>(1, m)) : 1.0),
      m_cutoff(qint64(d + 1) * (overlapping ? qMax<qint64>(1, m) : 1))
{
    m_zero = sz(0);
    const qint64 s = qint64(m_lagsPerUnit);
    if (m_cutoff <= DirectLags) {
        for (qint64 j = 1; j < m_cutoff; ++j)
            addNode(double(j), 1);
        return;
    }
    // Term by term near each whole unit of lag, where the averaging window
    // of the phase shapes the correlation; Simpson's rule between.
    for (qint64 k = 0; k <= d + 1; ++k) {
        for (qint64 j = qMax<qint64>(1, k * s - NearLags); j <= qMin(m_cutoff - 1, k * s + NearLags); ++j)
            addNode(double(j), 1);
    }
    for (qint64 k = 0; k <= d; ++k) {
        const double from = double(k * s + NearLags + 1) - 0.5;
        const double to = double((k + 1) * s - NearLags - 1) + 0.5;
        if (to <= from)
            continue;
        const double step = (to - from) / Panels;
        for (int i = 0; i <= Panels; ++i) {
            const double w = (i == 0 || i == Panels) ? 1 : (i % 2 ? 4 : 2);
            addNode(from + i * step, w * step / 3);
        }
    }
}

void GreenhallEdf::addNode(double lag, double weight)
{
    const double c = correlation(lag);
    m_nodes.push_back({lag, weight, c * c});
}

// sw(t + h) + sw(t - h) - 2 sw(t), without the cancellation of a direct
// evaluation when h is much smaller than t.
double GreenhallEdf::secondDifference(double t) const
{
    const double h = m_h;
    const double a = std::fabs(t);
    const int p = 3 - m_alpha;
    if (m_alpha % 2 == 0 && a >= h) {
        double sum = 0;
        for (int k = 1; 2 * k <= p; ++k)
            sum += binomial(p, 2 * k) * power(a, p - 2 * k) * power(h, 2 * k);
        return 2 * sum;
    }
    if (m_alpha % 2 != 0 && a >= 2 * h) {
        const double u = h / a;
        double even = 0;
        for (int k = 1; 2 * k <= p; ++k)
            even += binomial(p, 2 * k) * power(u, 2 * k);
        const double ap = power(a, p);
        return ap * std::log(a) * 2 * even
            + ap * (power(1 + u, p) * std::log1p(u) + power(1 - u, p) * std::log1p(-u));
    }
    return sw(t + h, m_alpha) + sw(t - h, m_alpha) - 2 * sw(t, m_alpha);
}

double GreenhallEdf::sx(double t) const
{
    return secondDifference(t) / (m_h * m_h);
}

double GreenhallEdf::sz(double u) const
{
    double sum = 0;
    for (int k = -m_d; k <= m_d; ++k)
        sum += (k % 2 ? -1.0 : 1.0) * binomial(2 * m_d, m_d + k) * sx(u + k);
    return sum;
}

double GreenhallEdf::correlation(double lag) const
{
    return m_zero != 0 ? sz(lag / m_lagsPerUnit) / m_zero : 0.0;
}

double GreenhallEdf::of(qint64 terms) const
{
    if (terms < 1)
        return 0;
    const double M = double(terms);
    const double last = double(qMin(terms, m_cutoff));
    double sum = 0;
    for (const Node &n : m_nodes) {
        if (n.lag >= last)
            continue;
        sum += n.weight * (1 - n.lag / M) * n.squared;
    }
    return M / (1 + 2 * sum);
}
