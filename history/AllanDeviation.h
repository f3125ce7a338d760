#pragma once

#include "HistoryData.h"

#include <QVector>

// The overlapping Allan deviation of fractional frequency samples, against
// averaging times in octave steps.
class AllanDeviation
{
public:
    struct Point {
        double tau = 0;        // seconds
        double deviation = 0;
        qint64 terms = 0;      // the differences the value rests on
    };

    // `y`: one sample every `tau0` seconds, NaN where a sample is missing.
    // tau = m * tau0 for m = 1, 2, 4, ... up to a quarter of the span.
    //
    // Gaps: each term averages the 2m samples after its start; a term that
    // would reach over a missing sample is left out, and the deviation is the
    // root mean square over the complete terms. An averaging time with no
    // complete term is not reported.
    static QVector<Point> overlapping(const QVector<double> &y, double tau0);

    // Samples at their own times put on a regular grid: the step is the
    // typical (median) spacing, each sample goes to its nearest slot (the
    // first one wins a slot), an empty slot is NaN. Longer than MaxSlots, the
    // grid is halved by averaging neighbours (a pair with a gap is a gap) and
    // the step doubled, so a year at one second stays within memory.
    struct Grid {
        QVector<double> y;
        double tau0 = 0;  // seconds
    };
    static constexpr int MaxSlots = 1 << 22;
    static Grid grid(const QVector<Sample> &samples);
};
