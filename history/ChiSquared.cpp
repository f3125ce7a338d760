#include "ChiSquared.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxIterations = 100000;
constexpr double Epsilon = 1e-15;

// The regularised lower incomplete gamma function P(a, x): its series below
// a + 1, the continued fraction of Q = 1 - P above (modified Lentz).
double lowerGamma(double a, double x)
{
    if (x <= 0)
        return 0;
    const double logPrefix = a * std::log(x) - x - std::lgamma(a);
    if (x < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < MaxIterations; ++n) {
            term *= x / (a + n);
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * Epsilon)
                break;
        }
        return sum * std::exp(logPrefix);
    }
    const double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int n = 1; n < MaxIterations; ++n) {
        const double an = -n * (n - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < Epsilon)
            break;
    }
    return 1 - std::exp(logPrefix) * h;
}

// The standard normal quantile, good to about 4.5e-4 (Abramowitz and
// Stegun 26.2.23): a start for the iteration below.
double normalQuantile(double p)
{
    const double q = p < 0.5 ? p : 1 - p;
    const double t = std::sqrt(-2 * std::log(q));
    const double z = t - (2.515517 + 0.802853 * t + 0.010328 * t * t)
        / (1 + 1.432788 * t + 0.189269 * t * t + 0.001308 * t * t * t);
    return p < 0.5 ? -z : z;
}

}  // namespace

double ChiSquared::cdf(double x, double dof)
{
    return lowerGamma(dof / 2, x / 2);
}

double ChiSquared::quantile(double p, double dof)
{
    if (!(p > 0 && p < 1) || !(dof > 0))
        return std::numeric_limits<double>::quiet_NaN();
    // Wilson and Hilferty's start, then Newton's steps kept inside a
    // bracket that halves when a step would leave it.
    const double z = normalQuantile(p);
    const double c = 2 / (9 * dof);
    double x = dof * std::pow(std::max(1 - c + z * std::sqrt(c), 0.01), 3);
    double low = 0;
    double high = std::numeric_limits<double>::infinity();
    const double a = dof / 2;
    for (int i = 0; i < 200; ++i) {
        const double f = cdf(x, dof) - p;
        if (f < 0)
            low = x;
        else
            high = x;
        const double density = std::exp((a - 1) * std::log(x / 2) - x / 2 - std::lgamma(a)) / 2;
        double next = density > 0 ? x - f / density : x;
        if (!(next > low && next < high))
            next = std::isinf(high) ? 2 * x + 1 : (low + high) / 2;
        if (std::fabs(next - x) <= 1e-14 * x)
            return next;
        x = next;
    }
    return x;
}

ChiSquared::Interval ChiSquared::interval(double deviation, double dof, double level)
{
    Interval i;
    if (!(dof > 0) || !(level > 0 && level < 1))
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    const double tail = (1 - level) / 2;
    i.low = deviation * std::sqrt(dof / quantile(1 - tail, dof));
    i.high = deviation * std::sqrt(dof / quantile(tail, dof));
    return i;
}
