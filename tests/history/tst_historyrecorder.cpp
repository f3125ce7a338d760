#include "history/HistoryReader.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "link/COMThread.h"
#include "link/LinkFeed.h"

#include <QSqlQuery>
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
    const QString port = QStringLiteral("/dev/serial/by-id/usb-Prolific PL2303 (COM 3)-port0");
    {
        HistoryStore store(path);
        COMThread link;
        HistoryRecorder recorder(&store, nullptr);
        recorder.watch(&link);
        QSignalSpy recorded(&recorder, &HistoryRecorder::pollRecorded);

        emit link.searchStarted();
        emit link.connectedTo(port, QStringLiteral("KSR-583 #0042"));
        PollReading poll;
        poll.record = PollReading::AdjState;
        poll.utc = QDateTime::currentDateTimeUtc();
        poll.adjState.freqOffset = offset;
        emit link.pollAnswered(poll);
        // The link's numbers tell that DETECT poll 2 went unanswered.
        poll.record = PollReading::Detect;
        for (quint64 number : {1, 3}) {
            poll.number = number;
            poll.utc = poll.utc.addSecs(40);
            emit link.pollAnswered(poll);
        }
        emit link.noConnection();
        QCOMPARE(recorded.count(), 3);
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
    QVERIFY(has(MarkerKind::Connected, port));
    QVERIFY(has(MarkerKind::ConnectionLost, QString()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
    db.setDatabaseName(path);
    QVERIFY(db.open());
    QSqlQuery q(QStringLiteral("SELECT count(*) FROM detect"), db);
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 2);
}

QTEST_GUILESS_MAIN(tst_HistoryRecorder)
#include "tst_historyrecorder.moc"
