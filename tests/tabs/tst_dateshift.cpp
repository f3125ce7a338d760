#include "control/DateShift.h"

#include <QtTest>

Q_DECLARE_METATYPE(DateShift::Fields)

class tst_DateShift : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void between_data();
    void between();
    void fieldsBetween_leadBack_data();
    void fieldsBetween_leadBack();
};

namespace {
QDateTime at(int y, int mo, int d, int h = 12, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}
DateShift::Fields fields(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return {y, mo, d, h, mi, s};
}
}  // namespace

void tst_DateShift::apply_data()
{
    QTest::addColumn<QDateTime>("base");
    QTest::addColumn<DateShift::Fields>("shift");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("-1 month from 31 March lands on 28 February")
        << at(2025, 3, 31) << fields(0, -1, 0) << at(2025, 2, 28);
    QTest::newRow("+1 year from 29 February") << at(2024, 2, 29) << fields(1, 0, 0) << at(2025, 2, 28);
    QTest::newRow("months before days: 31 Jan +1 month +1 day")
        << at(2025, 1, 31) << fields(0, 1, 1) << at(2025, 3, 1);
    QTest::newRow("clock part carries into the next day")
        << at(2025, 6, 10, 23, 30) << fields(0, 0, 0, 1, 0, 0) << at(2025, 6, 11, 0, 30);
    QTest::newRow("mixed signs") << at(2025, 6, 10, 10, 0, 0) << fields(0, 0, -1, 1, -2, 3)
                                 << at(2025, 6, 9, 10, 58, 3);
}

void tst_DateShift::apply()
{
    QFETCH(QDateTime, base);
    QFETCH(DateShift::Fields, shift);
    QFETCH(QDateTime, expected);
    QCOMPARE(DateShift::apply(base, shift), expected);
}

void tst_DateShift::between_data()
{
    QTest::addColumn<QDateTime>("base");
    QTest::addColumn<QDateTime>("target");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("seconds");
    QTest::newRow("one hour ahead at 23:30") << at(2025, 6, 10, 23, 30) << at(2025, 6, 11, 0, 30) << 1
                                            << -82800;
    QTest::newRow("one hour back at 00:30") << at(2025, 6, 11, 0, 30) << at(2025, 6, 10, 23, 30) << -1
                                           << 82800;
    QTest::newRow("same day") << at(2025, 6, 10, 10) << at(2025, 6, 10, 11, 2, 3) << 0 << 3723;
    QTest::newRow("a year") << at(2024, 1, 1) << at(2025, 1, 1) << 366 << 0;
    QTest::newRow("milliseconds do not count") << at(2025, 6, 10, 10).addMSecs(700)
                                               << at(2025, 6, 11, 10).addMSecs(30) << 1 << 0;
}

void tst_DateShift::between()
{
    QFETCH(QDateTime, base);
    QFETCH(QDateTime, target);
    QFETCH(int, days);
    QFETCH(int, seconds);
    const DateShift::Difference d = DateShift::between(base, target);
    QCOMPARE(d.days, days);
    QCOMPARE(d.seconds, seconds);
}

void tst_DateShift::fieldsBetween_leadBack_data()
{
    QTest::addColumn<QDateTime>("base");
    QTest::addColumn<QDateTime>("target");
    QTest::addColumn<DateShift::Fields>("expected");
    QTest::newRow("field by field") << at(2025, 6, 10, 23, 30) << at(2026, 8, 12, 1, 31, 5)
                                    << fields(1, 2, 2, -22, 1, 5);
    QTest::newRow("31 March to 28 February is one month back")
        << at(2025, 3, 31) << at(2025, 2, 28) << fields(0, -1, 0);
    QTest::newRow("31 March to 1 February") << at(2025, 3, 31) << at(2025, 2, 1) << fields(0, -1, -27);
    QTest::newRow("30 January to 1 March") << at(2025, 1, 30) << at(2025, 3, 1) << fields(0, 2, -29);
    QTest::newRow("December to January") << at(2025, 12, 31) << at(2026, 1, 1) << fields(1, -11, -30);
}

void tst_DateShift::fieldsBetween_leadBack()
{
    QFETCH(QDateTime, base);
    QFETCH(QDateTime, target);
    QFETCH(DateShift::Fields, expected);
    const DateShift::Fields f = DateShift::fieldsBetween(base, target);
    QVERIFY(f == expected);
    QCOMPARE(DateShift::apply(base, f), target);
}

QTEST_APPLESS_MAIN(tst_DateShift)
#include "tst_dateshift.moc"
