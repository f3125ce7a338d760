#include "history/HistoryRange.h"

#include <QtTest>

Q_DECLARE_METATYPE(HistoryRange::Choice)
Q_DECLARE_METATYPE(TimeRange)

namespace {

constexpr qint64 Hour = 3600 * 1000;
constexpr qint64 Day = 24 * Hour;
const qint64 Now = QDateTime(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC).toMSecsSinceEpoch();

}  // namespace

class tst_HistoryRange : public QObject
{
    Q_OBJECT

private slots:
    void choice_coversItsSpanUpToNow_data();
    void choice_coversItsSpanUpToNow();
    void zoomAndDrag_stayWithinLimits_data();
    void zoomAndDrag_stayWithinLimits();
};

void tst_HistoryRange::choice_coversItsSpanUpToNow_data()
{
    QTest::addColumn<HistoryRange::Choice>("choice");
    QTest::addColumn<TimeRange>("extent");
    QTest::addColumn<TimeRange>("dates");
    QTest::addColumn<TimeRange>("expected");
    const TimeRange none;
    const TimeRange month{Now - 40 * Day, Now - Day};
    // The end is exclusive: a reading taken at `Now` belongs to the range.
    QTest::newRow("last hour") << HistoryRange::LastHour << month << none << TimeRange{Now + 1 - Hour, Now + 1};
    QTest::newRow("last 6 hours") << HistoryRange::Last6Hours << month << none
                                  << TimeRange{Now + 1 - 6 * Hour, Now + 1};
    QTest::newRow("last 7 days") << HistoryRange::Last7Days << month << none << TimeRange{Now + 1 - 7 * Day, Now + 1};
    QTest::newRow("last 30 days") << HistoryRange::Last30Days << month << none
                                  << TimeRange{Now + 1 - 30 * Day, Now + 1};
    QTest::newRow("all reaches from the first record to now")
        << HistoryRange::All << month << none << TimeRange{Now - 40 * Day, Now + 1};
    QTest::newRow("all of an empty history is the last hour")
        << HistoryRange::All << none << none << TimeRange{Now + 1 - Hour, Now + 1};
    QTest::newRow("between dates") << HistoryRange::BetweenDates << month << TimeRange{Now - 3 * Day, Now - Day}
                                   << TimeRange{Now - 3 * Day, Now - Day};
    QTest::newRow("between dates, end before beginning")
        << HistoryRange::BetweenDates << month << TimeRange{Now - Day, Now - 3 * Day} << none;
}

void tst_HistoryRange::choice_coversItsSpanUpToNow()
{
    QFETCH(HistoryRange::Choice, choice);
    QFETCH(TimeRange, extent);
    QFETCH(TimeRange, dates);
    QFETCH(TimeRange, expected);
    const TimeRange got = HistoryRange::of(choice, Now, extent, dates);
    QCOMPARE(got.fromMs, expected.fromMs);
    QCOMPARE(got.toMs, expected.toMs);
}

void tst_HistoryRange::zoomAndDrag_stayWithinLimits_data()
{
    QTest::addColumn<double>("fromSec");
    QTest::addColumn<double>("toSec");
    QTest::addColumn<TimeRange>("expected");
    const double now = double(Now) / 1000;
    QTest::newRow("a day stays") << now - 86400 << now << TimeRange{Now - Day, Now};
    QTest::newRow("zoomed below ten seconds keeps its middle")
        << now - 2 << now << TimeRange{Now - 1000 - 5000, Now - 1000 + 5000};
    QTest::newRow("zoomed out past twenty years")
        << now - 1e10 << now + 1e10 << TimeRange{Now - HistoryRange::MaxSpanMs / 2, Now + HistoryRange::MaxSpanMs / 2};
    QTest::newRow("dragged before 1970") << -7200.0 << -3600.0 << TimeRange{0, Hour};
}

void tst_HistoryRange::zoomAndDrag_stayWithinLimits()
{
    QFETCH(double, fromSec);
    QFETCH(double, toSec);
    QFETCH(TimeRange, expected);
    const TimeRange got = HistoryRange::fromSeconds(fromSec, toSec);
    QCOMPARE(got.fromMs, expected.fromMs);
    QCOMPARE(got.toMs, expected.toMs);
}

QTEST_GUILESS_MAIN(tst_HistoryRange)
#include "tst_historyrange.moc"
