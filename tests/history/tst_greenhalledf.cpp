#include "history/GreenhallEdf.h"

#include <QtTest>

#include <cmath>

class tst_GreenhallEdf : public QObject
{
    Q_OBJECT

private slots:
    void edf_matchesWhatCanBeDerived_data();
    void edf_matchesWhatCanBeDerived();
    void overlappingAllan_agreesWithTheHandbooksFormulas_data();
    void overlappingAllan_agreesWithTheHandbooksFormulas();
    void longAveraging_isContinuousWhereTheSumBecomesAnIntegral_data();
    void longAveraging_isContinuousWhereTheSumBecomesAnIntegral();
};

void tst_GreenhallEdf::edf_matchesWhatCanBeDerived_data()
{
    QTest::addColumn<int>("alpha");
    QTest::addColumn<bool>("overlapping");
    QTest::addColumn<qint64>("m");
    QTest::addColumn<qint64>("terms");
    QTest::addColumn<double>("edf");
    QTest::addColumn<double>("tolerance");
    // White FM, plain Allan: neighbouring terms correlate by -1/2 and no
    // others, so 1/edf = (1 + (1 - 1/M) / 2) / M.
    QTest::newRow("white FM, plain, m 1000") << 0 << false << qint64(1000) << qint64(100)
                                             << 2.0 * 100 * 100 / (3.0 * 100 - 1) << 2e-4;
    // White PM, overlapping: terms m apart correlate by -2/3, 2m apart by 1/6.
    const double M = 993;
    const double white = M / (1 + 2 * (1 - 16 / M) * 4 / 9 + 2 * (1 - 32 / M) / 36);
    QTest::newRow("white PM, overlapping, m 16") << 2 << true << qint64(16) << qint64(993) << white << 1e-9;
    // Random walk FM, plain: each term integrates the noise under a triangle
    // two units wide, and neighbouring triangles correlate by 1/4.
    QTest::newRow("random walk FM, plain, m 500") << -2 << false << qint64(500) << qint64(40)
                                                  << 40 / (1 + (1 - 1 / 40.0) / 8) << 1e-4;
}

void tst_GreenhallEdf::edf_matchesWhatCanBeDerived()
{
    QFETCH(int, alpha);
    QFETCH(bool, overlapping);
    QFETCH(qint64, m);
    QFETCH(qint64, terms);
    QFETCH(double, edf);
    QFETCH(double, tolerance);
    const double found = GreenhallEdf(alpha, 2, false, overlapping, m).of(terms);
    QVERIFY2(std::fabs(found / edf - 1) < tolerance, qPrintable(QStringLiteral("%1 against %2").arg(found).arg(edf)));
}

void tst_GreenhallEdf::overlappingAllan_agreesWithTheHandbooksFormulas_data()
{
    QTest::addColumn<int>("alpha");
    QTest::addColumn<double>("edf");
    // NIST SP 1065, the simple approximations of Howe, Allan and Barnes for
    // N = 1025 phase points at m = 64.
    const double N = 1025;
    const double m = 64;
    QTest::newRow("white FM") << 0 << (3 * (N - 1) / (2 * m) - 2 * (N - 2) / N) * 4 * m * m / (4 * m * m + 5);
    QTest::newRow("flicker FM") << -1 << 5 * N * N / (4 * m * (N + 3 * m));
    QTest::newRow("random walk FM") << -2 << (N - 2) / m * ((N - 1) * (N - 1) - 3 * m * (N - 1) + 4 * m * m)
            / ((N - 3) * (N - 3));
}

void tst_GreenhallEdf::overlappingAllan_agreesWithTheHandbooksFormulas()
{
    QFETCH(int, alpha);
    QFETCH(double, edf);
    const double found = GreenhallEdf(alpha, 2, false, true, 64).of(1025 - 2 * 64);
    QVERIFY2(std::fabs(found / edf - 1) < 0.03, qPrintable(QStringLiteral("%1 against %2").arg(found).arg(edf)));
}

void tst_GreenhallEdf::longAveraging_isContinuousWhereTheSumBecomesAnIntegral_data()
{
    QTest::addColumn<int>("d");
    QTest::addColumn<bool>("averaged");
    QTest::newRow("OADEV") << 2 << false;
    QTest::newRow("MDEV") << 2 << true;
    QTest::newRow("OHDEV") << 3 << false;
}

// Up to 2048 lags the correlations are summed one by one, beyond that mostly
// integrated: on both sides edf / (M / m) hardly moves with m.
void tst_GreenhallEdf::longAveraging_isContinuousWhereTheSumBecomesAnIntegral()
{
    QFETCH(int, d);
    QFETCH(bool, averaged);
    for (int alpha = 0; alpha >= -2; --alpha) {
        const qint64 below = 2048 / (d + 1);
        const qint64 above = below + 1;
        const double a = GreenhallEdf(alpha, d, averaged, true, below).of(10 * below) / 10;
        const double b = GreenhallEdf(alpha, d, averaged, true, above).of(10 * above) / 10;
        QVERIFY2(std::fabs(a / b - 1) < 1e-3, qPrintable(QStringLiteral("alpha %1: %2, %3").arg(alpha).arg(a).arg(b)));
    }
}

QTEST_APPLESS_MAIN(tst_GreenhallEdf)
#include "tst_greenhalledf.moc"
