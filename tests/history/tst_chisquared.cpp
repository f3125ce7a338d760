#include "history/ChiSquared.h"

#include <QtTest>

#include <cmath>

class tst_ChiSquared : public QObject
{
    Q_OBJECT

private slots:
    void quantile_matchesThePublishedTable_data();
    void quantile_matchesThePublishedTable();
    void interval_ofTwoDegrees_isClosedForm();
};

void tst_ChiSquared::quantile_matchesThePublishedTable_data()
{
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("dof");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("tolerance");
    // NIST/SEMATECH e-Handbook, table of the chi-square distribution.
    QTest::newRow("0.05, 1") << 0.05 << 1.0 << 0.00393 << 5e-5;
    QTest::newRow("0.95, 1") << 0.95 << 1.0 << 3.841 << 5e-4;
    QTest::newRow("0.025, 10") << 0.025 << 10.0 << 3.247 << 5e-4;
    QTest::newRow("0.975, 10") << 0.975 << 10.0 << 20.483 << 5e-4;
    QTest::newRow("0.99, 100") << 0.99 << 100.0 << 135.807 << 5e-4;
    QTest::newRow("0.01, 100") << 0.01 << 100.0 << 70.065 << 5e-4;
    // Two degrees: 1 - exp(-x / 2).
    QTest::newRow("0.5, 2") << 0.5 << 2.0 << 2 * std::log(2.0) << 1e-9;
    // Many: about normal with mean dof and variance 2 dof.
    QTest::newRow("0.8415, 1e6") << 0.8415 << 1e6 << 1e6 + 1.000 * std::sqrt(2e6) << 1e-6;
}

void tst_ChiSquared::quantile_matchesThePublishedTable()
{
    QFETCH(double, p);
    QFETCH(double, dof);
    QFETCH(double, x);
    QFETCH(double, tolerance);
    const double found = ChiSquared::quantile(p, dof);
    QVERIFY2(std::fabs(found - x) <= tolerance * qMax(1.0, x), qPrintable(QString::number(found, 'g', 10)));
    QVERIFY(std::fabs(ChiSquared::cdf(found, dof) - p) < 1e-9);
}

// With two degrees of freedom chi2_q = -2 ln(1 - q): sigma * sqrt(2 / chi2).
void tst_ChiSquared::interval_ofTwoDegrees_isClosedForm()
{
    const double level = 0.683;
    const ChiSquared::Interval i = ChiSquared::interval(1e-12, 2, level);
    const double tail = (1 - level) / 2;
    QVERIFY(std::fabs(i.low / (1e-12 * std::sqrt(1 / -std::log(tail))) - 1) < 1e-9);
    QVERIFY(std::fabs(i.high / (1e-12 * std::sqrt(1 / -std::log(1 - tail))) - 1) < 1e-9);
}

QTEST_APPLESS_MAIN(tst_ChiSquared)
#include "tst_chisquared.moc"
