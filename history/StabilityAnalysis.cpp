#include "StabilityAnalysis.h"

#include "ChiSquared.h"
#include "GreenhallEdf.h"
#include "NoiseType.h"

#include <cmath>
#include <map>

namespace {

// The noise the estimator still converges for (alpha + 2 d > 1).
int lowestAlpha(Deviation::Kind kind)
{
    return Deviation::differenceOrder(kind) == 3 ? -4 : -2;
}

}  // namespace

QVector<StabilityCurve> StabilityAnalysis::run(const QVector<QVector<double>> &runs, double tau0,
                                               const Options &options, const std::function<bool(int)> &progress)
{
    const Deviation deviation(runs, tau0);
    QVector<StabilityCurve> curves;
    qint64 longest = 0;
    for (Deviation::Kind kind : options.kinds) {
        curves << StabilityCurve{kind, {}};
        longest = qMax(longest, deviation.longestFactor(kind));
    }
    const QVector<qint64> factors = TauSpacing::factors(options.spacing, longest);
    // Where the noise cannot be told (too few averages), it is taken to be
    // what it was at the longest tau where it could; white FM before any.
    QVector<int> lastAlpha(curves.size(), 0);
    for (int f = 0; f < factors.size(); ++f) {
        const qint64 m = factors.at(f);
        if (progress && !progress(int(100 * f / factors.size())))
            return {};
        const QVector<double> deltas = NoiseType::deltas(runs, m);
        // MDEV and TDEV share their sums and their degrees of freedom.
        std::map<std::pair<int, int>, GreenhallEdf> edfs;
        std::map<int, Deviation::Value> values;
        for (int c = 0; c < curves.size(); ++c) {
            const Deviation::Kind kind = curves.at(c).kind;
            if (m > deviation.longestFactor(kind))
                continue;
            const Deviation::Kind base = kind == Deviation::Tdev ? Deviation::Mdev : kind;
            auto value = values.find(base);
            if (value == values.end())
                value = values.emplace(base, deviation.at(base, m)).first;
            Deviation::Value v = value->second;
            if (kind == Deviation::Tdev)
                v.deviation *= double(m) * tau0 / std::sqrt(3.0);
            if (v.terms == 0)
                continue;
            StabilityPoint p;
            p.m = m;
            p.tau = double(m) * tau0;
            p.deviation = v.deviation;
            p.terms = v.terms;
            p.alphaMeasured = !deltas.isEmpty();
            const int d = Deviation::differenceOrder(kind);
            p.alpha = p.alphaMeasured ? NoiseType::alpha(deltas, d, lowestAlpha(kind)) : lastAlpha.at(c);
            lastAlpha[c] = p.alpha;
            auto edf = edfs.find({base, p.alpha});
            if (edf == edfs.end())
                edf = edfs.emplace(std::make_pair(base, p.alpha),
                                   GreenhallEdf(p.alpha, d, Deviation::averaged(kind), Deviation::overlapping(kind), m))
                          .first;
            for (qint64 terms : deviation.termsPerRun(kind, m))
                p.dof += edf->second.of(terms);
            const ChiSquared::Interval ci = ChiSquared::interval(p.deviation, p.dof, options.confidence);
            p.low = ci.low;
            p.high = ci.high;
            curves[c].points << p;
        }
    }
    if (progress && !progress(100))
        return {};
    return curves;
}
