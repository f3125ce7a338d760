#include "history/StabilityCsv.h"

#include <QtTest>

class tst_StabilityCsv : public QObject
{
    Q_OBJECT

private slots:
    void table_namesItsColumnsAndLeavesMissingValuesEmpty();
    void series_isMjdAndFrequency();
};

void tst_StabilityCsv::table_namesItsColumnsAndLeavesMissingValuesEmpty()
{
    auto point = [](qint64 m, double value) {
        StabilityPoint p;
        p.m = m;
        p.tau = 4.0 * double(m);
        p.deviation = value;
        p.low = value * 0.9;
        p.high = value * 1.25;
        p.terms = 1000 / m;
        return p;
    };
    // Given in another order than the columns; MDEV ends a tau earlier.
    const QVector<StabilityCurve> curves = {
        {Deviation::Ohdev, {point(1, 1.1e-12), point(2, 0.8e-12)}},
        {Deviation::Mdev, {point(1, 1.0e-12)}},
        {Deviation::Tdev, {point(1, 2.3094010767585e-12)}},
        {Deviation::Oadev, {point(1, 1.0e-12), point(2, 0.70710678118654e-12)}},
    };
    const QList<QByteArray> lines = StabilityCsv::table(curves).split('\n');
    QCOMPARE(lines.at(0), QByteArray("tau_s,oadev,oadev_low,oadev_high,oadev_n,mdev,mdev_low,mdev_high,mdev_n,"
                                     "tdev,tdev_low,tdev_high,tdev_n,ohdev,ohdev_low,ohdev_high,ohdev_n\r"));
    QCOMPARE(lines.at(1), QByteArray("4,1e-12,9e-13,1.25e-12,1000,1e-12,9e-13,1.25e-12,1000,"
                                     "2.30940108e-12,2.07846097e-12,2.88675135e-12,1000,"
                                     "1.1e-12,9.9e-13,1.375e-12,1000\r"));
    QCOMPARE(lines.at(2), QByteArray("8,7.07106781e-13,6.36396103e-13,8.83883476e-13,500,,,,,,,,,"
                                     "8e-13,7.2e-13,1e-12,500\r"));
    QCOMPARE(lines.size(), 4);
}

void tst_StabilityCsv::series_isMjdAndFrequency()
{
    ReadingRun run;
    run.firstMs = QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    run.intervalMs = 4000;
    run.y = {1.5e-12, -2.25e-13};
    const QList<QByteArray> lines = StabilityCsv::series(run, 0, 5).split('\n');
    QCOMPARE(lines.at(0), QByteArray("61101.000000000 1.5e-12\r"));
    QCOMPARE(lines.at(1), QByteArray("61101.000046296 -2.25e-13\r"));
    QCOMPARE(lines.size(), 3);
}

QTEST_APPLESS_MAIN(tst_StabilityCsv)
#include "tst_stabilitycsv.moc"
