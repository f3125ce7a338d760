#include "history/NoiseType.h"

#include <QtTest>

#include <random>

namespace {

// Fractional frequency with S_y(f) ~ f^alpha: white noise through the
// fractional difference (1 - B)^(alpha / 2) (Kasdin and Walter).
QVector<double> powerLaw(int alpha, int count, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal(0.0, 1e-12);
    std::vector<double> white(static_cast<size_t>(count));
    for (double &w : white)
        w = normal(rng);
    std::vector<double> h(static_cast<size_t>(count));
    h[0] = 1;
    for (int k = 1; k < count; ++k)
        h[size_t(k)] = h[size_t(k - 1)] * (k - 1 - alpha / 2.0) / k;
    QVector<double> y(count, 0.0);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k <= i; ++k)
            y[i] += h[size_t(k)] * white[size_t(i - k)];
    }
    return y;
}

}  // namespace

class tst_NoiseType : public QObject
{
    Q_OBJECT

private slots:
    void powerLawNoise_isTold_data();
    void powerLawNoise_isTold();
    void tooFewAverages_tellNothing();
};

void tst_NoiseType::powerLawNoise_isTold_data()
{
    QTest::addColumn<int>("alpha");
    QTest::addColumn<qint64>("m");
    QTest::addColumn<int>("maxDifferences");
    QTest::addColumn<int>("told");  // the Allan variance converges down to -2
    QTest::newRow("white PM") << 2 << qint64(1) << 2 << 2;
    QTest::newRow("white PM averaged over 4") << 2 << qint64(4) << 2 << 2;
    QTest::newRow("flicker PM") << 1 << qint64(1) << 2 << 1;
    QTest::newRow("white FM") << 0 << qint64(1) << 2 << 0;
    QTest::newRow("white FM averaged over 16") << 0 << qint64(16) << 2 << 0;
    QTest::newRow("flicker FM") << -1 << qint64(1) << 2 << -1;
    QTest::newRow("random walk FM averaged over 16") << -2 << qint64(16) << 2 << -2;
    QTest::newRow("flicker walk FM for the Hadamard") << -3 << qint64(1) << 3 << -3;
    QTest::newRow("flicker walk FM for the Allan") << -3 << qint64(1) << 2 << -2;
}

// The lag-1 method errs now and then on a finite series; nine of ten series
// must be told right.
void tst_NoiseType::powerLawNoise_isTold()
{
    QFETCH(int, alpha);
    QFETCH(qint64, m);
    QFETCH(int, maxDifferences);
    QFETCH(int, told);
    int right = 0;
    for (unsigned seed = 1; seed <= 10; ++seed) {
        const QVector<double> deltas = NoiseType::deltas({powerLaw(alpha, 2048, seed)}, m);
        right += NoiseType::alpha(deltas, maxDifferences, -(2 * maxDifferences - 2)) == told;
    }
    QVERIFY2(right >= 9, qPrintable(QString::number(right)));
}

void tst_NoiseType::tooFewAverages_tellNothing()
{
    const QVector<double> y = powerLaw(0, 300, 1);
    QVERIFY(NoiseType::deltas({y}, 10).size() == NoiseType::MaxDifferences + 1);
    // Two runs of 140: 28 averages of 10, too few together.
    QVERIFY(NoiseType::deltas({y.mid(0, 140), y.mid(150, 140)}, 10).isEmpty());
    // Twenty runs of 100, ten averages of 10 each: a line through so few
    // would make any noise look white PM, so none is told.
    QVector<QVector<double>> runs;
    for (int i = 0; i < 20; ++i)
        runs << powerLaw(-2, 100, unsigned(i + 1));
    QVERIFY(NoiseType::deltas(runs, 10).isEmpty());
}

QTEST_APPLESS_MAIN(tst_NoiseType)
#include "tst_noisetype.moc"
