#pragma once

#include <QVector>
#include <QtGlobal>

// The power-law noise of fractional frequency readings at an averaging
// factor, told by the lag-1 autocorrelation (Riley and Greenhall, as NIST SP
// 1065 describes it): the readings are averaged over m, a straight line is
// taken out of each run, and they are differenced until the lag-1
// autocorrelation r1 gives delta = r1 / (1 + r1) below 0.25. Then
// alpha = -2 (delta + d) after d differences, rounded.
//
// alpha is the exponent of S_y(f) ~ f^alpha: 2 white PM, 1 flicker PM,
// 0 white FM, -1 flicker FM, -2 random walk FM, -3 flicker walk FM,
// -4 random run FM.
class NoiseType
{
public:
    // Below this many averages in all runs together, the noise is not told.
    static constexpr int MinPoints = 30;
    // A run with fewer averages is left out: a line through a handful of
    // points leaves residuals that alternate, and would pass for white PM.
    static constexpr int MinPointsPerRun = 16;
    static constexpr int MaxDifferences = 3;

    // delta after 0 .. MaxDifferences differences of the runs averaged over
    // m; empty when they hold too few averages.
    static QVector<double> deltas(const QVector<QVector<double>> &runs, qint64 m);
    // alpha from `deltas`, at most `maxDifferences` allowed, no lower than
    // `lowest` (what the statistic converges for).
    static int alpha(const QVector<double> &deltas, int maxDifferences, int lowest);
};
