#pragma once

#include <QString>
#include <QStringList>

// A benchmark's options and its figures. Each figure goes to stdout as one
// tab-separated line, "BENCH figure value target verdict", which
// scripts/bench.sh gathers into one table; everything else is for people.
class BenchReport
{
public:
    // Options: --quick (short runs), --long (the long version of a soak),
    // --runs N (repetitions of a short measurement; the best one counts).
    explicit BenchReport(const QStringList &arguments, int defaultRuns = 2);

    bool quick() const { return m_quick; }
    bool longRun() const { return m_long; }
    int runs() const { return m_runs; }

    // A figure with a target it must stay below (or at, when `orEqual`).
    static void below(const QString &figure, double value, const QString &unit, double limit,
                      bool orEqual = false, int precision = 3);
    // A figure without a target.
    static void info(const QString &figure, const QString &value, const QString &reference = QString());
    // A figure that could not be measured, with the reason.
    static void failed(const QString &figure, const QString &reason);
    // A line for people reading the benchmark's own output.
    static void note(const QString &text);

    static QString format(double value, int precision = 3);

private:
    static void line(const QString &figure, const QString &value, const QString &target,
                     const QString &verdict);

    bool m_quick = false;
    bool m_long = false;
    int m_runs = 2;
};
