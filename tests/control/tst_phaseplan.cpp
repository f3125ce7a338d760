#include "control/PhasePlan.h"

#include <QtTest>

class TestPhasePlan : public QObject
{
    Q_OBJECT

private slots:
    void endTime_data();
    void endTime();
    void nanosecondsBeyond32BitPicoseconds_doNotFit_data();
    void nanosecondsBeyond32BitPicoseconds_doNotFit();
};

void TestPhasePlan::endTime_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QDateTime>("end");

    QTest::newRow("23:59:59 UTC plus 5 s is 00:00:04 the next day")
        << QDateTime(QDate(2026, 3, 31), QTime(23, 59, 59), Qt::UTC) << 5
        << QDateTime(QDate(2026, 4, 1), QTime(0, 0, 4), Qt::UTC);
    QTest::newRow("new year's eve")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58), Qt::UTC) << 2
        << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0), Qt::UTC);
    QTest::newRow("a local time is taken as the same instant in UTC")
        << QDateTime(QDate(2026, 6, 1), QTime(12, 0, 0), Qt::OffsetFromUTC, 3 * 3600) << 10
        << QDateTime(QDate(2026, 6, 1), QTime(9, 0, 10), Qt::UTC);
}

void TestPhasePlan::endTime()
{
    QFETCH(QDateTime, now);
    QFETCH(int, interval);
    QFETCH(QDateTime, end);

    const QDateTime result = PhasePlan::endTime(now, interval);
    QCOMPARE(result, end);
    QCOMPARE(result.timeSpec(), Qt::UTC);
    QCOMPARE(result.time(), end.time());
}

void TestPhasePlan::nanosecondsBeyond32BitPicoseconds_doNotFit_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("fits");

    QTest::newRow("2147483 ns fits") << 2147483 << 0 << true;
    QTest::newRow("-2147483 ns fits") << -2147483 << 0 << true;
    QTest::newRow("2147484 ns does not") << 2147484 << 0 << false;
    QTest::newRow("-1000000000 ns does not") << -1000000000 << 0 << false;
    QTest::newRow("1000000000 ps fits") << 1000000000 << 1 << true;
}

void TestPhasePlan::nanosecondsBeyond32BitPicoseconds_doNotFit()
{
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(bool, fits);
    QCOMPARE(PhasePlan::fitsDevice(value, PhasePlan::Unit(unit)), fits);
}

QTEST_GUILESS_MAIN(TestPhasePlan)
#include "tst_phaseplan.moc"
