#include "history/HistoryReader.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "link/COMThread.h"
#include "link/LinkFeed.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

class tst_HistoryRecorder : public QObject
{
    Q_OBJECT

private slots:
    void linkFeed_reachesTheStore();
};

void tst_HistoryRecorder::linkFeed_reachesTheStore()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const float offset = 1.2345678e-13f;
    {
        HistoryStore store(path);
        COMThread link;
        HistoryRecorder recorder(&store, nullptr);
        recorder.watch(&link);
        QSignalSpy recorded(&recorder, &HistoryRecorder::pollRecorded);

        emit link.searchStarted();
        emit link.setWinTitle(QStringLiteral("COM3 KSR-583 #0042"));
        PollReading poll;
        poll.record = PollReading::AdjState;
        poll.utc = QDateTime::currentDateTimeUtc();
        poll.adjState.freqOffset = offset;
        emit link.pollAnswered(poll);
        emit link.noConnection();
        QCOMPARE(recorded.count(), 1);
        QVERIFY(store.waitUntilWritten());
        QCOMPARE(store.counters().dropped, qint64(0));
    }

    HistoryReader reader(path);
    QVERIFY2(reader.open(), qPrintable(reader.reason()));
    const TimeRange all = reader.extent();
    const QVector<Sample> samples = reader.samples(Series::FreqOffset, all);
    QCOMPARE(samples.size(), 1);
    QCOMPARE(float(samples.first().value), offset);
    const QVector<Marker> markers = reader.load(all, 100).markers;
    auto has = [&](MarkerKind kind, const QString &text) {
        return std::any_of(markers.begin(), markers.end(),
                           [&](const Marker &m) { return m.kind == kind && m.text == text; });
    };
    QVERIFY(has(MarkerKind::Connected, QStringLiteral("COM3")));
    QVERIFY(has(MarkerKind::ConnectionLost, QString()));
}

QTEST_GUILESS_MAIN(tst_HistoryRecorder)
#include "tst_historyrecorder.moc"
