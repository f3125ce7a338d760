#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

// Time and simple statistics for benchmarks.
namespace BenchTime {

// Monotonic time in nanoseconds, comparable across threads.
qint64 nowNs();
inline double toMs(qint64 ns) { return double(ns) / 1e6; }

// Runs the event loop until `done` holds; false after `timeoutMs`.
bool waitUntil(const std::function<bool()> &done, int timeoutMs);
// Runs the event loop for `ms`.
void pause(int ms);

// The q-quantile (0..1) of `values` by nearest rank; 0 when empty.
double quantile(std::vector<double> values, double q);
// Least-squares slope of y over x; 0 with fewer than two points.
double slope(const std::vector<double> &x, const std::vector<double> &y);

}  // namespace BenchTime
