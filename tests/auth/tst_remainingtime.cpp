#include "dialogs/RemainingTime.h"

#include <QtTest>

class tst_RemainingTime : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
};

void tst_RemainingTime::text_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half an hour") << qint64(1800) << "30 minutes";
    QTest::newRow("hours, minutes and seconds") << qint64(3725) << "1 hours 2 minutes 5 seconds";
    QTest::newRow("nothing left") << qint64(0) << " 0 seconds";
    QTest::newRow("every unit") << qint64(90061) << "1 days 1 hours 1 minutes 1 seconds";
    QTest::newRow("zero units in between are left out") << qint64(86405) << "1 days 5 seconds";
}

void tst_RemainingTime::text()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, expected);
    QCOMPARE(RemainingTime::text(seconds), expected);
}

QTEST_APPLESS_MAIN(tst_RemainingTime)
#include "tst_remainingtime.moc"
