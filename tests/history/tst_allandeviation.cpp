#include "history/AllanDeviation.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

class tst_AllanDeviation : public QObject
{
    Q_OBJECT

private slots:
    void alternating_isRootTwoThenZero_data();
    void alternating_isRootTwoThenZero();
    void whiteFrequencyNoise_fallsAsInverseRootTau();
    void grid_putsSamplesInTheirSlotsAndMarksGaps();
};

void tst_AllanDeviation::alternating_isRootTwoThenZero_data()
{
    QTest::addColumn<int>("missing");
    QTest::newRow("complete") << -1;
    QTest::newRow("a sample missing") << 301;
}

// +a, -a, +a, ...: every first difference is 2a, so the deviation at tau0 is
// sqrt(2) a; averages of two are all 0, and so is every longer one.
void tst_AllanDeviation::alternating_isRootTwoThenZero()
{
    QFETCH(int, missing);
    const double a = 3e-12;
    QVector<double> y;
    for (int i = 0; i < 1024; ++i)
        y << (i % 2 ? -a : a);
    if (missing >= 0)
        y[missing] = std::numeric_limits<double>::quiet_NaN();

    const QVector<AllanDeviation::Point> points = AllanDeviation::overlapping(y, 4.0);
    QCOMPARE(points.size(), 9);  // tau0 * 1 .. 256: up to a quarter of the span
    QCOMPARE(points.first().tau, 4.0);
    QVERIFY(std::fabs(points.at(0).deviation / (std::sqrt(2.0) * a) - 1) < 1e-9);
    for (int i = 1; i < points.size(); ++i)
        QVERIFY2(points.at(i).deviation < 1e-9 * a, qPrintable(QString::number(points.at(i).tau)));
    QCOMPARE(points.last().tau, 4.0 * 256);
    QCOMPARE(points.at(0).terms, missing >= 0 ? qint64(1021) : qint64(1023));
}

// White frequency noise: sigma(tau) = sigma / sqrt(m). Within 15 %, which is
// about three standard errors of the estimate at m = 256 for 65536 samples.
void tst_AllanDeviation::whiteFrequencyNoise_fallsAsInverseRootTau()
{
    const double sigma = 1e-12;
    std::mt19937_64 rng(583);
    std::normal_distribution<double> normal(0.0, sigma);
    QVector<double> y;
    for (int i = 0; i < 65536; ++i)
        y << 1e-9 + normal(rng);  // a large offset costs no precision
    const QVector<AllanDeviation::Point> points = AllanDeviation::overlapping(y, 1.0);
    QVERIFY(points.size() > 9);
    for (const AllanDeviation::Point &p : points) {
        if (p.tau > 256)
            break;
        const double ratio = p.deviation * std::sqrt(p.tau) / sigma;
        QVERIFY2(std::fabs(ratio - 1) < 0.15, qPrintable(QStringLiteral("tau %1: %2").arg(p.tau).arg(ratio)));
    }
}

void tst_AllanDeviation::grid_putsSamplesInTheirSlotsAndMarksGaps()
{
    const qint64 t0 = 1767225600000;
    // Polled every 4 s with a little jitter; the poll at 12 s is missing.
    const QVector<Sample> samples = {{t0, 1},         {t0 + 4000, 2},  {t0 + 8000, 3},
                                     {t0 + 16000, 5}, {t0 + 19900, 6}, {t0 + 24000, 7}};
    const AllanDeviation::Grid grid = AllanDeviation::grid(samples);
    QCOMPARE(grid.tau0, 4.0);
    QCOMPARE(grid.y.size(), 7);
    const double expected[] = {1, 2, 3, 0, 5, 6, 7};
    for (int i = 0; i < 7; ++i) {
        if (i == 3)
            QVERIFY(std::isnan(grid.y.at(i)));
        else
            QCOMPARE(grid.y.at(i), expected[i]);
    }
}

QTEST_APPLESS_MAIN(tst_AllanDeviation)
#include "tst_allandeviation.moc"
