#include "NoiseType.h"

#include <cmath>
#include <vector>

namespace {

// Subtracts the least-squares line: a drift is no noise.
void removeLine(std::vector<double> &z)
{
    const size_t n = z.size();
    if (n < 3)
        return;
    const double mid = double(n - 1) / 2;
    double mean = 0;
    for (double v : z)
        mean += v;
    mean /= double(n);
    double sxy = 0;
    double sxx = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) - mid;
        sxy += t * (z[i] - mean);
        sxx += t * t;
    }
    const double slope = sxy / sxx;
    for (size_t i = 0; i < n; ++i)
        z[i] -= mean + slope * (double(i) - mid);
}

}  // namespace

QVector<double> NoiseType::deltas(const QVector<QVector<double>> &runs, qint64 m)
{
    if (m < 1)
        return {};
    std::vector<std::vector<double>> averaged;
    qint64 points = 0;
    for (const QVector<double> &y : runs) {
        const qint64 count = y.size() / m;
        if (count < MinPointsPerRun)
            continue;
        std::vector<double> z(size_t(count), 0.0);
        for (qint64 k = 0; k < count; ++k) {
            double sum = 0;
            for (qint64 i = k * m; i < (k + 1) * m; ++i)
                sum += y.at(int(i));
            z[size_t(k)] = sum / double(m);
        }
        removeLine(z);
        points += count;
        averaged.push_back(std::move(z));
    }
    if (points < MinPoints)
        return {};

    QVector<double> list;
    for (int d = 0; d <= MaxDifferences; ++d) {
        // r1 pooled over the runs, each about its own mean.
        double lagged = 0;
        double squares = 0;
        for (std::vector<double> &z : averaged) {
            if (d > 0) {
                for (size_t i = 0; i + 1 < z.size(); ++i)
                    z[i] = z[i + 1] - z[i];
                if (!z.empty())
                    z.pop_back();
            }
            if (z.size() < 2)
                continue;
            double mean = 0;
            for (double v : z)
                mean += v;
            mean /= double(z.size());
            for (size_t i = 0; i < z.size(); ++i) {
                squares += (z[i] - mean) * (z[i] - mean);
                if (i + 1 < z.size())
                    lagged += (z[i] - mean) * (z[i + 1] - mean);
            }
        }
        const double r1 = squares > 0 ? lagged / squares : 0.0;
        // r1 near -1 (readings that alternate) is as white as phase gets.
        list << (r1 > -0.5 ? r1 / (1 + r1) : -1.0);
    }
    return list;
}

int NoiseType::alpha(const QVector<double> &deltas, int maxDifferences, int lowest)
{
    if (deltas.isEmpty())
        return 0;
    int d = 0;
    while (d < maxDifferences && d + 1 < deltas.size() && !(deltas.at(d) < 0.25))
        ++d;
    const int a = -int(std::lround(2 * deltas.at(d))) - 2 * d;
    return qBound(lowest, a, 2);
}
