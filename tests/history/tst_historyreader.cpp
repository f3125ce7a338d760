#include "history/BucketAggregator.h"
#include "history/HistoryReader.h"
#include "history/HistoryWriter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(LinkState)
Q_DECLARE_METATYPE(ChannelBand)

namespace {

const qint64 T0 = QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
constexpr qint64 Second = 1000;
constexpr qint64 Minute = 60 * Second;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;

ADJ_STATE offsetOf(float value)
{
    ADJ_STATE a;
    a.freqOffset = value;
    return a;
}

DETECT detected()
{
    DETECT d;
    for (qint16 &c : d.chan)
        c = 0x0001;
    return d;
}

// Switching mode, synchronised; `words` are the four channel words.
ADJ_CMD_STATE commandState(qint16 sync, std::initializer_list<qint16> words, bool qualifying3 = false)
{
    ADJ_CMD_STATE c;
    c.syncStatus = sync;
    c.flags = 0x1000;
    int i = 0;
    for (qint16 w : words)
        c.chanWord[i++] = w;
    c.qualState[2] = qualifying3 ? 1 : 0;
    return c;
}

HistoryItem happened(qint64 ms, EventKind kind, qint64 code = 0, const QString &text = {})
{
    return {ms, HistoryEvent{kind, code, text, {}}};
}

}  // namespace

class tst_HistoryReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void decimation_keepsEveryExtreme_data();
    void decimation_keepsEveryExtreme();
    void disconnection_isAGapEvenInsideABucket_data();
    void disconnection_isAGapEvenInsideABucket();
    void channelWithoutSignal_isAGapNotALineToZero_data();
    void channelWithoutSignal_isAGapNotALineToZero();
    void bandsAndMarkers_followTheRecordedSession();
    void stoppedProgram_sessionEndsAtItsLastRow();
    void prune_keepsTheStatesInForceAtTheCutoff();

private:
    // A writer session from `startMs` with a connection, the items, then the
    // end of the session at `endMs` (none: the program stopped without it).
    void record(qint64 startMs, const std::vector<HistoryItem> &items, std::optional<qint64> endMs);
    HistoryView load(TimeRange range, int buckets);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void tst_HistoryReader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("history.sqlite"));
}

void tst_HistoryReader::record(qint64 startMs, const std::vector<HistoryItem> &items, std::optional<qint64> endMs)
{
    HistoryWriter writer(m_path);
    QCOMPARE(writer.open(startMs), HistoryConnection::Status::Open);
    QVERIFY2(writer.write(items), qPrintable(writer.reason()));
    if (endMs)
        writer.close(*endMs);
}

HistoryView tst_HistoryReader::load(TimeRange range, int buckets)
{
    HistoryReader reader(m_path);
    if (!reader.open())
        qWarning() << reader.reason();
    return reader.load(range, buckets);
}

void tst_HistoryReader::decimation_keepsEveryExtreme_data()
{
    QTest::addColumn<qint64>("span");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<int>("buckets");
    QTest::addColumn<int>("level");
    QTest::newRow("each reading") << 6 * Hour << 4 * Second << 500 << 0;
    QTest::newRow("five-minute summaries") << Day << 2 * Second << 200 << 1;
    QTest::newRow("polls too sparse for five-minute summaries") << 3 * Day << 40 * Second << 200 << 1;
    QTest::newRow("hourly summaries") << 40 * Day << 40 * Second << 200 << 2;
    QTest::newRow("polls too sparse for hourly summaries") << 40 * Day << 10 * Minute << 200 << 2;
}

void tst_HistoryReader::decimation_keepsEveryExtreme()
{
    QFETCH(qint64, span);
    QFETCH(qint64, step);
    QFETCH(int, buckets);
    QFETCH(int, level);
    const TimeRange range{T0, T0 + span};
    QCOMPARE(HistoryReader::level(range, buckets), level);

    const qint64 spikeMs = T0 + span / 3 + step / 2 - (span / 3 + step / 2) % step;
    const qint64 dipMs = spikeMs + step;
    std::vector<HistoryItem> items = {happened(T0, EventKind::Connected, 0, QStringLiteral("COM3"))};
    for (qint64 t = T0; t < T0 + span; t += step) {
        const float value = t == spikeMs ? 5e-12f : t == dipMs ? -4e-12f : float(1e-13 * std::sin(double(t) / 1e7));
        items.push_back({t, offsetOf(value)});
    }
    record(T0, items, T0 + span);

    const QVector<SeriesBucket> got = load(range, buckets).series[Series::FreqOffset];
    QVERIFY(!got.isEmpty() && got.size() <= buckets);
    auto highest = std::max_element(got.begin(), got.end(),
                                    [](const SeriesBucket &a, const SeriesBucket &b) { return a.max < b.max; });
    auto lowest = std::min_element(got.begin(), got.end(),
                                   [](const SeriesBucket &a, const SeriesBucket &b) { return a.min < b.min; });
    QCOMPARE(highest->max, 5e-12f);
    QVERIFY(highest->firstMs <= spikeMs && spikeMs <= highest->lastMs);
    QCOMPARE(lowest->min, -4e-12f);
    QVERIFY(lowest->firstMs <= dipMs && dipMs <= lowest->lastMs);
}

void tst_HistoryReader::disconnection_isAGapEvenInsideABucket_data()
{
    QTest::addColumn<qint64>("span");
    QTest::addColumn<qint64>("step");
    QTest::newRow("each reading") << 2 * Hour << 4 * Second;
    QTest::newRow("summaries") << 36 * Hour << 2 * Second;
    QTest::newRow("polls too sparse for summaries") << 3 * Day << 40 * Second;
}

void tst_HistoryReader::disconnection_isAGapEvenInsideABucket()
{
    QFETCH(qint64, span);
    QFETCH(qint64, step);
    const int buckets = 100;
    // Gone for a fifth of a bucket.
    const qint64 lostMs = T0 + span / 2 + 1;
    const qint64 backMs = lostMs + span / buckets / 5;
    std::vector<HistoryItem> items = {happened(T0, EventKind::Connected, 0, QStringLiteral("COM3"))};
    for (qint64 t = T0; t < T0 + span; t += step) {
        if (t > lostMs && t < backMs)
            continue;
        if (t > lostMs && items.back().timeMs < lostMs) {
            items.push_back(happened(lostMs, EventKind::ConnectionLost));
            items.push_back(happened(backMs - 1, EventKind::Connected, 0, QStringLiteral("COM3")));
        }
        items.push_back({t, offsetOf(1e-12f)});
    }
    record(T0, items, T0 + span);

    const QVector<SeriesBucket> got = load({T0, T0 + span}, buckets).series[Series::FreqOffset];
    for (const SeriesBucket &b : got)
        QVERIFY2(b.lastMs < lostMs || b.firstMs >= backMs, "a bucket spans the lost connection");
    QCOMPARE(std::count_if(got.begin(), got.end(), [](const SeriesBucket &b) { return b.breakBefore; }), 1);
    // The readings on either side are drawn, however few there are of them
    // before the next summary.
    const auto after = std::find_if(got.begin(), got.end(), [](const SeriesBucket &b) { return b.breakBefore; });
    QVERIFY(after != got.begin() && after != got.end());
    QVERIFY(after->firstMs < backMs + step);
    QVERIFY((after - 1)->lastMs > lostMs - step);

    QVector<double> keys, values;
    BucketAggregator::linePoints(got, &keys, &values);
    const int gap = int(std::find_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }) - values.begin());
    QVERIFY(gap > 0 && gap < values.size() - 1);
    QVERIFY(keys.at(gap - 1) * 1000 < lostMs && keys.at(gap + 1) * 1000 >= backMs);
}

void tst_HistoryReader::channelWithoutSignal_isAGapNotALineToZero_data()
{
    disconnection_isAGapEvenInsideABucket_data();
}

// Channel 2 loses its signal for a tenth of the range and reports 0 then.
void tst_HistoryReader::channelWithoutSignal_isAGapNotALineToZero()
{
    QFETCH(qint64, span);
    QFETCH(qint64, step);
    const qint64 lostMs = T0 + span / 2;
    const qint64 backMs = lostMs + span / 10;
    std::vector<HistoryItem> items = {happened(T0, EventKind::Connected, 0, QStringLiteral("COM3"))};
    DETECT lost = detected();
    lost.chan[1] = 0;
    for (qint64 t = T0; t < T0 + span; t += step) {
        const bool signal = t < lostMs || t >= backMs;
        items.push_back({t, signal ? detected() : lost});
        ADJ_STATE a;
        a.chanOffset[0] = 2e-12f;
        a.chanOffset[1] = signal ? 1e-12f : 0.0f;
        items.push_back({t + 1, a});
        VAR_STRUCT v;
        v.value[2] = signal ? 3e-12f : 0.0f;
        items.push_back({t + 2, v});
    }
    record(T0, items, T0 + span);

    const HistoryView view = load({T0, T0 + span}, 100);
    for (const Series::Id series : {Series::Offset2, Series::Adev2}) {
        const QVector<SeriesBucket> &got = view.series[series];
        QVERIFY(!got.isEmpty());
        for (const SeriesBucket &b : got)
            QVERIFY2(b.min > 0 && (b.lastMs < lostMs || b.firstMs >= backMs), "a zero is drawn");
        QCOMPARE(std::count_if(got.begin(), got.end(), [](const SeriesBucket &b) { return b.breakBefore; }), 1);
    }
    QVERIFY(std::none_of(view.series[Series::Offset1].begin(), view.series[Series::Offset1].end(),
                         [](const SeriesBucket &b) { return b.breakBefore; }));
}

void tst_HistoryReader::bandsAndMarkers_followTheRecordedSession()
{
    JournalRecord journal;
    journal.number = 17;
    journal.event = 0x0C06;  // signal 1 removed, no input signal
    journal.year = 2026;
    journal.month = 3;
    journal.day = 2;
    journal.minute = 1;
    journal.second = 40;
    const std::vector<HistoryItem> items = {
        happened(T0, EventKind::Connected, 0, QStringLiteral("COM3")),
        {T0 + 1 * Second, detected()},
        {T0 + 2 * Second, commandState(1, {0x01, 0x11, 0x00, 0x00}, true)},
        {T0 + 60 * Second, commandState(2, {0x01, 0x11, 0x00, 0x00})},
        {T0 + 120 * Second, commandState(1, {0x11, 0x01, 0x00, 0x00})},
        happened(T0 + 130 * Second, EventKind::CommandQueued, 16),
        happened(T0 + 131 * Second, EventKind::CommandFinished, 16, QStringLiteral("ok")),
        happened(T0 + 132 * Second, EventKind::CommandQueued, 9),
        happened(T0 + 133 * Second, EventKind::CommandFinished, 9, QStringLiteral("ok")),
        {T0 + 140 * Second, QVector<JournalRecord>{journal}},
        happened(T0 + 200 * Second, EventKind::ConnectionLost),
    };
    record(T0, items, T0 + 300 * Second);
    const HistoryView view = load({T0, T0 + 300 * Second}, 10);

    const QVector<QPair<qint64, MarkerKind>> markers = {
        {0, MarkerKind::Connected},          {60, MarkerKind::SyncLost},
        {100, MarkerKind::JournalEvent},     {120, MarkerKind::SyncRestored},
        {120, MarkerKind::ReferenceChanged}, {130, MarkerKind::Command},
        {200, MarkerKind::ConnectionLost}};
    QCOMPARE(view.markers.size(), markers.size());
    for (int i = 0; i < markers.size(); ++i) {
        QCOMPARE(view.markers.at(i).timeMs, T0 + markers.at(i).first * Second);
        QCOMPARE(int(view.markers.at(i).kind), int(markers.at(i).second));
    }
    QCOMPARE(view.markers.at(4).previous, 1);
    QCOMPARE(view.markers.at(4).channel, 2);
    QCOMPARE(view.markers.at(5).outcome, Outcome::Ok);
    QCOMPARE(view.markers.at(2).number, 17);

    const QVector<QPair<qint64, LinkState>> link = {{0, LinkState::Connected}, {2, LinkState::Synchronised},
                                                    {60, LinkState::NotSynchronised}, {120, LinkState::Synchronised},
                                                    {200, LinkState::NoConnection}};
    QCOMPARE(view.link.size(), link.size());
    for (int i = 0; i < link.size(); ++i) {
        QCOMPARE(view.link.at(i).fromMs, T0 + link.at(i).first * Second);
        QCOMPARE(view.link.at(i).state, link.at(i).second);
    }
    const QVector<ChannelBand> first = {ChannelBand::Unknown, ChannelBand::Reference, ChannelBand::Backup1,
                                        ChannelBand::Unknown};
    QCOMPARE(view.channels[0].size(), first.size());
    for (int i = 0; i < first.size(); ++i)
        QCOMPARE(view.channels[0].at(i).state, first.at(i));
    QCOMPARE(view.channels[2].at(1).state, ChannelBand::Qualifying);
    QCOMPARE(view.channels[2].at(2).state, ChannelBand::NotInGroup);

    // A range that begins inside the session starts from the rows in force.
    const HistoryView later = load({T0 + 150 * Second, T0 + 300 * Second}, 10);
    QCOMPARE(later.link.first().state, LinkState::Synchronised);
    QCOMPARE(later.channels[0].first().state, ChannelBand::Backup1);
    QCOMPARE(later.channels[1].first().state, ChannelBand::Reference);
}

void tst_HistoryReader::stoppedProgram_sessionEndsAtItsLastRow()
{
    record(T0, {happened(T0, EventKind::Connected, 0, QStringLiteral("COM3")), {T0 + Minute, offsetOf(1e-12f)}},
           std::nullopt);
    record(T0 + Hour, {happened(T0 + Hour, EventKind::Connected, 0, QStringLiteral("COM3")),
                       {T0 + Hour + Minute, offsetOf(2e-12f)}},
           T0 + 2 * Hour);

    const HistoryView view = load({T0, T0 + 2 * Hour}, 1);
    QCOMPARE(view.series[Series::FreqOffset].size(), 2);
    QVERIFY(view.series[Series::FreqOffset].at(1).breakBefore);
    const auto down = std::find_if(view.link.begin(), view.link.end(),
                                   [](const LinkInterval &i) { return i.state == LinkState::NoConnection; });
    QVERIFY(down != view.link.end());
    QCOMPARE(down->fromMs, T0 + Minute);
    QCOMPARE(down->toMs, T0 + Hour);
}

void tst_HistoryReader::prune_keepsTheStatesInForceAtTheCutoff()
{
    const qint64 cutoff = T0 + 2 * Day + 7 * Hour;
    std::vector<HistoryItem> items = {happened(T0, EventKind::Connected, 0, QStringLiteral("COM3"))};
    quint64 poll = 0;
    for (qint64 t = T0 + Second; t < T0 + 3 * Day; t += 40 * Second) {
        ++poll;
        items.push_back({t, detected(), poll});
        items.push_back({t + 10 * Second, commandState(1, {0x01, 0x11, 0x00, 0x00}), poll});
        items.push_back({t + 20 * Second, offsetOf(1e-12f)});
    }
    HistoryWriter writer(m_path);
    QCOMPARE(writer.open(T0), HistoryConnection::Status::Open);
    QVERIFY(writer.write(items));
    QVERIFY2(writer.prune(cutoff), qPrintable(writer.reason()));
    // The runs go on after the prune.
    QVERIFY(writer.write({{T0 + 3 * Day, detected(), poll + 1}}));
    writer.close(T0 + 3 * Day + Hour);

    HistoryReader reader(m_path);
    QVERIFY(reader.open());
    QCOMPARE(reader.extent().fromMs, cutoff);
    const HistoryView view = reader.load({cutoff, cutoff + Hour}, 10);
    QCOMPARE(view.link.size(), 1);
    QCOMPARE(view.link.first().state, LinkState::Synchronised);
    QCOMPARE(view.channels[0].first().state, ChannelBand::Reference);
    QCOMPARE(view.channels[1].first().state, ChannelBand::Backup1);
    QVERIFY(view.markers.isEmpty());  // carried over, not connected anew
}

QTEST_GUILESS_MAIN(tst_HistoryReader)
#include "tst_historyreader.moc"
