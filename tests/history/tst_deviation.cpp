#include "history/Deviation.h"

#include <QtTest>

#include <cmath>
#include <random>

namespace {

// NIST's 1000-point test set (Riley, "The Calculation of Time Domain
// Frequency Stability"; NIST SP 1065): a portable pseudo-random generator.
QVector<double> nbs14()
{
    QVector<double> y;
    qint64 n = 1234567890;
    for (int i = 0; i < 1000; ++i) {
        y << double(n) / 2147483647.0;
        n = (16807 * n) % 2147483647;
    }
    return y;
}

}  // namespace

class tst_Deviation : public QObject
{
    Q_OBJECT

private slots:
    void nbs14_givesThePublishedValues_data();
    void nbs14_givesThePublishedValues();
    void alternating_isRootTwoThenZero_data();
    void alternating_isRootTwoThenZero();
    void whiteFrequencyNoise_fallsAsInverseRootTau();
};

void tst_Deviation::nbs14_givesThePublishedValues_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("tau1");
    QTest::addColumn<double>("tau10");
    QTest::addColumn<double>("tau100");
    QTest::newRow("ADEV") << int(Deviation::Adev) << 2.922319e-01 << 9.965736e-02 << 3.897804e-02;
    QTest::newRow("OADEV") << int(Deviation::Oadev) << 2.922319e-01 << 9.159953e-02 << 3.241343e-02;
    QTest::newRow("MDEV") << int(Deviation::Mdev) << 2.922319e-01 << 6.172376e-02 << 2.170921e-02;
    QTest::newRow("TDEV") << int(Deviation::Tdev) << 1.687202e-01 << 3.563623e-01 << 1.253382e+00;
    QTest::newRow("HDEV") << int(Deviation::Hdev) << 2.943883e-01 << 1.052754e-01 << 3.910860e-02;
    QTest::newRow("OHDEV") << int(Deviation::Ohdev) << 2.943883e-01 << 9.581083e-02 << 3.237638e-02;
}

void tst_Deviation::nbs14_givesThePublishedValues()
{
    QFETCH(int, kind);
    QFETCH(double, tau1);
    QFETCH(double, tau10);
    QFETCH(double, tau100);
    const Deviation deviation({nbs14()}, 1.0);
    const double published[] = {tau1, tau10, tau100};
    const qint64 factors[] = {1, 10, 100};
    for (int i = 0; i < 3; ++i) {
        const double value = deviation.at(Deviation::Kind(kind), factors[i]).deviation;
        QVERIFY2(std::fabs(value / published[i] - 1) < 1e-4,
                 qPrintable(QStringLiteral("tau %1: %2 against %3").arg(factors[i]).arg(value, 0, 'e', 6)
                                .arg(published[i], 0, 'e', 6)));
    }
}

void tst_Deviation::alternating_isRootTwoThenZero_data()
{
    QTest::addColumn<int>("runs");
    QTest::newRow("one run") << 1;
    QTest::newRow("split by a gap") << 2;
}

// +a, -a, +a, ...: every first difference is 2a, so the deviation at tau0 is
// sqrt(2) a; averages of two are all 0, and so is every longer one. Two runs
// of the same readings give the same, with the term across the gap missing.
void tst_Deviation::alternating_isRootTwoThenZero()
{
    QFETCH(int, runs);
    const double a = 3e-12;
    QVector<QVector<double>> y(runs);
    for (int i = 0; i < 1024; ++i)
        y[i < 302 || runs == 1 ? 0 : 1] << (i % 2 ? -a : a);
    const Deviation deviation(y, 4.0);
    const Deviation::Value first = deviation.at(Deviation::Oadev, 1);
    QVERIFY(std::fabs(first.deviation / (std::sqrt(2.0) * a) - 1) < 1e-9);
    QCOMPARE(first.terms, qint64(1024 - runs));
    for (qint64 m = 2; m <= deviation.longestFactor(Deviation::Oadev); m *= 2)
        QVERIFY2(deviation.at(Deviation::Oadev, m).deviation < 1e-9 * a, qPrintable(QString::number(m)));
    QCOMPARE(deviation.longestFactor(Deviation::Oadev), qint64(runs == 1 ? 512 : 361));
    QCOMPARE(deviation.at(Deviation::Oadev, 513).terms, qint64(0));
}

// White frequency noise: sigma(tau) = sigma / sqrt(m) for every Allan kind,
// within 15 % (about three standard errors at m = 256 for 65536 readings).
void tst_Deviation::whiteFrequencyNoise_fallsAsInverseRootTau()
{
    const double sigma = 1e-12;
    std::mt19937_64 rng(583);
    std::normal_distribution<double> normal(0.0, sigma);
    QVector<double> y;
    for (int i = 0; i < 65536; ++i)
        y << 1e-9 + normal(rng);  // a large offset costs no precision
    const Deviation deviation({y}, 1.0);
    for (qint64 m = 1; m <= 256; m *= 4) {
        // MDEV of white FM is sqrt(1/2) of ADEV at large m; HDEV equals it.
        const double oadev = deviation.at(Deviation::Oadev, m).deviation * std::sqrt(double(m)) / sigma;
        const double ohdev = deviation.at(Deviation::Ohdev, m).deviation * std::sqrt(double(m)) / sigma;
        QVERIFY2(std::fabs(oadev - 1) < 0.15, qPrintable(QStringLiteral("OADEV m %1: %2").arg(m).arg(oadev)));
        QVERIFY2(std::fabs(ohdev - 1) < 0.15, qPrintable(QStringLiteral("OHDEV m %1: %2").arg(m).arg(ohdev)));
    }
}

QTEST_APPLESS_MAIN(tst_Deviation)
#include "tst_deviation.moc"
