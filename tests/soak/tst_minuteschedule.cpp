#include "SoakReport.h"
#include "MinuteSchedule.h"

#include <QtTest>

using Window = MinuteSchedule::Window;
Q_DECLARE_METATYPE(Window)

class tst_MinuteSchedule : public QObject
{
    Q_OBJECT

private slots:
    void writes_followTheMinuteAndTheFolder_data();
    void writes_followTheMinuteAndTheFolder();
};

namespace {
constexpr qint64 S = 1000;
}

void tst_MinuteSchedule::writes_followTheMinuteAndTheFolder_data()
{
    QTest::addColumn<QVector<qint64>>("writes");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QVector<Window>>("outages");
    QTest::addColumn<bool>("passes");

    QTest::newRow("one rewrite a minute, a second late, passes")
        << QVector<qint64>{61 * S, 121 * S, 181 * S} << 185 * S << QVector<Window>{} << true;
    QTest::newRow("a minute without a rewrite fails")
        << QVector<qint64>{60 * S, 180 * S} << 185 * S << QVector<Window>{} << false;
    QTest::newRow("a rewrite between the minutes fails")
        << QVector<qint64>{60 * S, 90 * S, 120 * S} << 125 * S << QVector<Window>{} << false;
    QTest::newRow("no rewrite while Status is a file, then one at the next minute, passes")
        << QVector<qint64>{60 * S, 180 * S} << 185 * S << QVector<Window>{{100 * S, 150 * S}} << true;
    QTest::newRow("no rewrite at the first minute after the folder is back fails")
        << QVector<qint64>{60 * S} << 185 * S << QVector<Window>{{100 * S, 150 * S}} << false;
    QTest::newRow("a rewrite while Status is a file fails")
        << QVector<qint64>{60 * S, 120 * S} << 125 * S << QVector<Window>{{100 * S, 150 * S}} << false;
    QTest::newRow("a run that ends just after a minute owes no rewrite for it")
        << QVector<qint64>{60 * S} << 121 * S << QVector<Window>{} << true;
}

void tst_MinuteSchedule::writes_followTheMinuteAndTheFolder()
{
    QFETCH(QVector<qint64>, writes);
    QFETCH(qint64, end);
    QFETCH(QVector<Window>, outages);
    QFETCH(bool, passes);

    SoakReport report;
    MinuteSchedule::check(QStringLiteral("SupervisInfo.ini"), writes, 0, end, outages, report);
    QVERIFY2(report.passed() == passes, qPrintable(report.text()));
}

QTEST_GUILESS_MAIN(tst_MinuteSchedule)
#include "tst_minuteschedule.moc"
