#include "history/SignalPresence.h"

#include <QtTest>

namespace {

using Input = StateTimeline::Input;

// Channel 2's DETECT word: detected, lost, or detected with an error.
enum Signal : qint16 { Yes = 0x0001, No = 0x0000, Error = 0x0101 };

StateTimeline::Row<DETECT> row(qint64 ms, Signal channel2, qint64 lastMs = -1)
{
    StateTimeline::Row<DETECT> r;
    r.timeMs = ms;
    r.lastMs = lastMs;
    r.record.chan[0] = Yes;
    r.record.chan[1] = channel2;
    return r;
}

StateTimeline::Event happened(qint64 ms, EventKind kind)
{
    return StateTimeline::Event{ms, kind, 0, {}};
}

}  // namespace

Q_DECLARE_METATYPE(StateTimeline::Input)
Q_DECLARE_METATYPE(TimeRange)

class tst_SignalPresence : public QObject
{
    Q_OBJECT

private slots:
    void absent_reachesFromTheLastRowWithTheSignal_data();
    void absent_reachesFromTheLastRowWithTheSignal();
    void without_leavesOutWhatFallsInside();
};

void tst_SignalPresence::absent_reachesFromTheLastRowWithTheSignal_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<QVector<TimeRange>>("absent");  // of channel 2 in [0, 1000)
    const StateTimeline::Event connected = happened(0, EventKind::Connected);

    Input steady;
    steady.events = {connected};
    steady.detect = {row(5, Yes), row(600, Yes)};
    QTest::newRow("signal throughout") << steady << QVector<TimeRange>{};

    // The offset is 0 from the loss on; the poll that saw it came later.
    Input lost = steady;
    lost.detect = {row(5, Yes), row(100, Yes), row(300, No), row(500, Yes)};
    QTest::newRow("lost between two rows") << lost << QVector<TimeRange>{{100, 500}};

    // One row for a run of polls that all saw the signal, until 280.
    Input run = steady;
    run.detect = {row(5, Yes, 280), row(300, No), row(500, Yes)};
    QTest::newRow("a run with the signal vouches until its last poll") << run << QVector<TimeRange>{{280, 500}};

    Input error = lost;
    error.detect[2] = row(300, Error);
    QTest::newRow("an error is no signal") << error << QVector<TimeRange>{{100, 500}};

    Input first = steady;
    first.events = {happened(50, EventKind::Connected)};
    first.detect = {row(60, No), row(400, Yes)};
    QTest::newRow("none from the connection on") << first << QVector<TimeRange>{{50, 400}};

    Input broken = steady;
    broken.events = {connected, happened(200, EventKind::ConnectionLost), happened(300, EventKind::Connected)};
    broken.detect = {row(5, Yes), row(100, No), row(310, Yes)};
    QTest::newRow("a lost connection ends it") << broken << QVector<TimeRange>{{5, 200}};

    Input open = steady;
    open.detect = {row(5, Yes), row(900, No)};
    QTest::newRow("still lost at the end") << open << QVector<TimeRange>{{5, 1000}};

    Input imported;
    imported.runs = {{100, 799}};
    StateTimeline::ImportedStatus in{100, 1, {3, 3, 3, 3}};
    StateTimeline::ImportedStatus e{400, 1, {3, LoggedStatus::Error, 3, 3}};
    StateTimeline::ImportedStatus out{600, 1, {3, LoggedStatus::Out, 3, 3}};
    imported.statuses = {in, e, out};
    QTest::newRow("imported: E has none, - cannot tell") << imported << QVector<TimeRange>{{400, 600}};
}

void tst_SignalPresence::absent_reachesFromTheLastRowWithTheSignal()
{
    QFETCH(Input, input);
    QFETCH(QVector<TimeRange>, absent);
    const QVector<TimeRange> found = SignalPresence::absent(input, 2, {0, 1000});
    QCOMPARE(found.size(), absent.size());
    for (int i = 0; i < found.size(); ++i) {
        QCOMPARE(found.at(i).fromMs, absent.at(i).fromMs);
        QCOMPARE(found.at(i).toMs, absent.at(i).toMs);
    }
    QVERIFY(SignalPresence::absent(input, 1, {0, 1000}).isEmpty());
}

void tst_SignalPresence::without_leavesOutWhatFallsInside()
{
    QVector<Sample> samples;
    for (qint64 ms = 0; ms < 1000; ms += 40)
        samples << Sample{ms, double(ms)};
    qint64 excluded = 0;
    const QVector<Sample> kept = SignalPresence::without(samples, {{100, 200}, {440, 441}}, &excluded);
    QCOMPARE(excluded, qint64(3));  // 120, 160 and 440; 200 has the signal again
    QCOMPARE(kept.size(), samples.size() - 3);
    QVERIFY(!SignalPresence::inside({{100, 200}}, 200));
}

QTEST_APPLESS_MAIN(tst_SignalPresence)
#include "tst_signalpresence.moc"
