#pragma once

#include "Deviation.h"
#include "TauSpacing.h"

#include <QVector>

#include <functional>

// One value of a stability statistic with its confidence interval.
struct StabilityPoint {
    double tau = 0;        // seconds
    qint64 m = 0;          // tau / tau0
    double deviation = 0;
    double low = 0;        // the confidence interval
    double high = 0;
    qint64 terms = 0;      // the terms the value rests on, as Stable32's "#"
    double dof = 0;        // equivalent degrees of freedom
    int alpha = 0;         // the power-law noise taken for the interval
    bool alphaMeasured = false;  // false: taken from a shorter tau, or assumed white FM
};

struct StabilityCurve {
    Deviation::Kind kind = Deviation::Oadev;
    QVector<StabilityPoint> points;
};

// Stability statistics over runs of regular readings at one interval, each
// value with a chi-squared confidence interval from the equivalent degrees
// of freedom of the noise identified at its tau. A pure function of its
// input: reading, gridding and excluding are done before.
class StabilityAnalysis
{
public:
    struct Options {
        QVector<Deviation::Kind> kinds = {Deviation::Oadev, Deviation::Mdev, Deviation::Tdev, Deviation::Ohdev};
        TauSpacing::Spacing spacing = TauSpacing::Octave;
        double confidence = 0.683;
    };

    // `progress` is told 0..100 and may return false to stop: the result is
    // then empty. A curve reaches as far as its statistic has terms.
    static QVector<StabilityCurve> run(const QVector<QVector<double>> &runs, double tau0, const Options &options,
                                       const std::function<bool(int)> &progress = {});
};
