#include "BenchTime.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace BenchTime {

namespace {
constexpr int StepMs = 2;
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    const qint64 end = nowNs() + qint64(timeoutMs) * 1000000;
    while (!done()) {
        if (nowNs() >= end)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(StepMs);
    }
    return true;
}

void pause(int ms)
{
    waitUntil([] { return false; }, ms);
}

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(q * double(values.size()));
    const size_t index = size_t(std::clamp(rank, 1.0, double(values.size()))) - 1;
    return values[index];
}

double slope(const std::vector<double> &x, const std::vector<double> &y)
{
    const size_t n = std::min(x.size(), y.size());
    if (n < 2)
        return 0;
    double mx = 0, my = 0;
    for (size_t i = 0; i < n; ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= double(n);
    my /= double(n);
    double sxy = 0, sxx = 0;
    for (size_t i = 0; i < n; ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
    }
    return sxx > 0 ? sxy / sxx : 0;
}

}  // namespace BenchTime
