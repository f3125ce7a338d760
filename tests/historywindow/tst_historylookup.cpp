#include "historywindow/HistoryLookup.h"

#include <QtTest>

#include <optional>

class tst_HistoryLookup : public QObject
{
    Q_OBJECT

private slots:
    void valueUnderTheMouse_followsTheLineNeverAGap_data();
    void valueUnderTheMouse_followsTheLineNeverAGap();
};

void tst_HistoryLookup::valueUnderTheMouse_followsTheLineNeverAGap_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<float>("expected");  // NaN: none
    const float none = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("inside a bucket") << qint64(1500) << 1.0f;
    QTest::newRow("between joined buckets, nearer the second") << qint64(2900) << 2.0f;
    QTest::newRow("in a disconnection") << qint64(6000) << none;
    QTest::newRow("at the edge of a disconnection") << qint64(4050) << 2.0f;
    QTest::newRow("before the first reading") << qint64(500) << none;
    QTest::newRow("just after the last reading") << qint64(10090) << 3.0f;
}

void tst_HistoryLookup::valueUnderTheMouse_followsTheLineNeverAGap()
{
    QFETCH(qint64, ms);
    QFETCH(float, expected);
    const QVector<SeriesBucket> buckets = {
        {1000, 2000, 1.0f, 1.0f, 2, false},
        {3000, 4000, 2.0f, 2.0f, 2, false},
        {9000, 10000, 3.0f, 3.0f, 2, true},  // after a lost connection
    };
    const std::optional<HistoryLookup::Value> got = HistoryLookup::valueAt(buckets, ms, 100);
    QCOMPARE(got.has_value(), !std::isnan(expected));
    if (got)
        QCOMPARE(got->min, expected);
}

QTEST_GUILESS_MAIN(tst_HistoryLookup)
#include "tst_historylookup.moc"
