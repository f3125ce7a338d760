#pragma once

#include <QVector>
#include <QtGlobal>

#include <vector>

// The frequency stability statistics of fractional frequency readings, over
// runs of regular readings at one interval: the Allan deviation, plain and
// overlapping, the modified Allan deviation, the time deviation and the
// Hadamard deviation, plain and overlapping. No term spans two runs; the
// value at an averaging factor is the root mean square over the terms of
// all runs long enough for it.
class Deviation
{
public:
    enum Kind { Adev, Oadev, Mdev, Tdev, Hdev, Ohdev };
    static constexpr int KindCount = 6;

    struct Value {
        double deviation = 0;  // TDEV in seconds, the others without unit
        qint64 terms = 0;      // 0: no run is long enough
    };

    // Each run: readings every `tau0` seconds.
    Deviation(const QVector<QVector<double>> &runs, double tau0);

    Value at(Kind kind, qint64 m) const;
    // The largest averaging factor with a term in some run.
    qint64 longestFactor(Kind kind) const;
    // The terms each run gives at `m`, in the order of the runs.
    QVector<qint64> termsPerRun(Kind kind, qint64 m) const;
    double tau0() const { return m_tau0; }
    const QVector<QVector<double>> &frequency() const { return m_runs; }

    // What the estimator is made of, for its degrees of freedom: the order
    // of the phase difference (2 Allan, 3 Hadamard), whether the differences
    // are averaged over m (modified), and whether terms start at every
    // reading or every m-th.
    static int differenceOrder(Kind kind);
    static bool averaged(Kind kind);
    static bool overlapping(Kind kind);

private:
    // Phase samples a term spans, and the step between terms.
    static qint64 span(Kind kind, qint64 m);
    static qint64 stride(Kind kind, qint64 m);
    double sumOfSquares(Kind kind, const std::vector<double> &x, qint64 m, qint64 *terms) const;

    QVector<QVector<double>> m_runs;
    // Phase of each run in units of tau0, about the run's mean frequency:
    // one more sample than readings.
    std::vector<std::vector<double>> m_phase;
    double m_tau0;
};
