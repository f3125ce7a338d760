#include "link/DateTimeShift.h"

#include <QtTest>

class tst_DateTimeShift : public QObject
{
    Q_OBJECT

private slots:
    void measure_data();
    void measure();
    void requestBytes_data();
    void requestBytes();
};

void tst_DateTimeShift::measure_data()
{
    QTest::addColumn<QDateTime>("pc");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint32>("days");
    QTest::addColumn<qint32>("seconds");

    const QDateTime pc(QDate(2026, 1, 7), QTime(23, 30, 0), Qt::LocalTime);
    QTest::newRow("one hour ahead at 23:30 is a day less 23 hours")
        << pc << "08.01.2026" << "00:30:00" << true << 1 << -82800;
    QTest::newRow("same clock") << pc << "07.01.2026" << "23:30:00" << true << 0 << 0;
    QTest::newRow("behind by a leap year day") << QDateTime(QDate(2024, 3, 1), QTime(0, 0, 5), Qt::LocalTime)
                                               << "29.02.2024" << "23:59:59" << true << -1 << 86394;
    QTest::newRow("no such day") << pc << "30.02.2026" << "23:30:00" << false << 0 << 0;
    QTest::newRow("nothing from the device") << pc << QString() << QString() << false << 0 << 0;
}

void tst_DateTimeShift::measure()
{
    QFETCH(QDateTime, pc);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(bool, valid);
    QFETCH(qint32, days);
    QFETCH(qint32, seconds);

    const DateTimeShift shift = DateTimeShift::measure(pc, date, time);
    QCOMPARE(shift.valid, valid);
    if (valid) {
        QCOMPARE(shift.days, days);
        QCOMPARE(shift.seconds, seconds);
    }
}

void tst_DateTimeShift::requestBytes_data()
{
    QTest::addColumn<QDateTime>("pc");
    QTest::addColumn<qint32>("days");
    QTest::addColumn<qint32>("seconds");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("31 December 2099 23:59:59 with zero shifts")
        << QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59), Qt::LocalTime) << 0 << 0
        << QByteArray::fromHex("630C1F173B3B");
    QTest::newRow("year 2026 is 0x1A") << QDateTime(QDate(2026, 1, 7), QTime(15, 45, 2), Qt::LocalTime) << 0
                                       << 0 << QByteArray::fromHex("1A01070F2D02");
    QTest::newRow("a day less 23 hours at 23:30")
        << QDateTime(QDate(2026, 1, 7), QTime(23, 30, 0), Qt::LocalTime) << 1 << -82800
        << QByteArray::fromHex("1A0108001E00");
    QTest::newRow("seconds that cross midnight move the date too")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 50, 0), Qt::LocalTime) << 0 << 1200
        << QByteArray::fromHex("1B0101000A00");
    QTest::newRow("a day back from 1 March in a leap year")
        << QDateTime(QDate(2028, 3, 1), QTime(12, 0, 0), Qt::LocalTime) << -1 << 0
        << QByteArray::fromHex("1C021D0C0000");
}

void tst_DateTimeShift::requestBytes()
{
    QFETCH(QDateTime, pc);
    QFETCH(qint32, days);
    QFETCH(qint32, seconds);
    QFETCH(QByteArray, bytes);

    DateTimeShift shift;
    shift.days = days;
    shift.seconds = seconds;
    QCOMPARE(shift.requestBytes(pc).toHex(' '), bytes.toHex(' '));
}

QTEST_GUILESS_MAIN(tst_DateTimeShift)
#include "tst_datetimeshift.moc"
