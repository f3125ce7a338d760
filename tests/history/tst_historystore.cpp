#include "HistoryPeek.h"

#include "history/HistoryCsv.h"
#include "history/HistoryReader.h"
#include "history/HistorySchema.h"
#include "history/HistoryStore.h"
#include "tests/support/VirtualClock.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

const qint64 T0 = QDateTime(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC).toMSecsSinceEpoch();
// Long enough for a locked database's busy wait under a sanitizer.
constexpr int SlowMs = 30000;

quint32 bitsOf(float v)
{
    quint32 b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

ADJ_STATE adjWith(float value)
{
    ADJ_STATE a;
    a.freqOffset = value;
    a.freqDrift = -value;
    for (int i = 0; i < 4; ++i)
        a.chanOffset[i] = value * float(i + 1);
    a.coeff[0] = 1;
    return a;
}

// A float as the history coded it before its values were REAL.
qint64 codeOfSchemaTwo(float value)
{
    const quint32 bits = bitsOf(value);
    const qint64 magnitude = bits & 0x7FFFFFFFu;
    return (bits & 0x80000000u) ? -1 - magnitude : magnitude;
}

DETECT detectWith(qint16 chan1)
{
    DETECT d;
    d.chan[0] = chan1;
    return d;
}

QStringList tableRows(HistoryPeek &peek, const QString &sql)
{
    QSqlQuery q(peek.db());
    QStringList list;
    if (!q.exec(sql))
        return {q.lastError().text()};
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        list << cells.join(QLatin1Char('|'));
    }
    return list;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

JournalRecord journalRecord(quint16 number, quint8 day, quint16 event)
{
    JournalRecord r;
    r.number = number;
    r.day = day;
    r.month = 3;
    r.year = 2026;
    r.hour = 9;
    r.event = event;
    r.offset = 1.25e-12f;
    return r;
}

}  // namespace

class tst_HistoryStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void roundTrip_readsBackEveryBit_data();
    void roundTrip_readsBackEveryBit();
    void journal_recordIsKeptOnce();
    void journal_recordIsStoredOnceAcrossPruning_data();
    void journal_recordIsStoredOnceAcrossPruning();
    void olderSchema_isUpgradedInPlaceBitForBit_data();
    void olderSchema_isUpgradedInPlaceBitForBit();
    void newerSchema_isRefusedAndLeftAsItIs();
    void unusableFile_oneRedLineThenRetriedWithinAMinuteKeepingEverything_data();
    void unusableFile_oneRedLineThenRetriedWithinAMinuteKeepingEverything();
    void lockedWhileRecording_isNoGap();
    void fullQueue_oneRedLineAndAGapWithItsCount();
    void slowRecords_everyAnsweredPollIsInARun_data();
    void slowRecords_everyAnsweredPollIsInARun();
    void search_attemptsAreOneEvent();
    void keepDays_prunesOlderRows();
    void sqliteShell_readsPlainNumbersWhileTheStoreWrites();

private:
    std::unique_ptr<HistoryStore> makeStore(int keepDays = 0);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::shared_ptr<VirtualClock> m_clock;
};

void tst_HistoryStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("history.sqlite"));
    m_clock = std::make_shared<VirtualClock>(QDateTime::fromMSecsSinceEpoch(T0, Qt::UTC));
}

void tst_HistoryStore::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<HistoryStore> tst_HistoryStore::makeStore(int keepDays)
{
    return std::make_unique<HistoryStore>(m_path, m_clock, keepDays);
}

void tst_HistoryStore::roundTrip_readsBackEveryBit_data()
{
    QTest::addColumn<float>("value");
    QTest::newRow("offset 1.0894e-15") << 1.0894e-15f;
    QTest::newRow("negative") << -3.25e-12f;
    QTest::newRow("negative zero reads as zero (REAL has no sign of 0)") << -0.0f;
    QTest::newRow("subnormal") << std::numeric_limits<float>::denorm_min();
    QTest::newRow("largest") << std::numeric_limits<float>::max();
    QTest::newRow("minus infinity") << -std::numeric_limits<float>::infinity();
    QTest::newRow("NaN reads as NaN") << std::numeric_limits<float>::quiet_NaN();
}

void tst_HistoryStore::roundTrip_readsBackEveryBit()
{
    QFETCH(float, value);
    auto store = makeStore();
    VAR_STRUCT var;
    for (int i = 0; i < 8; ++i)
        var.value[i] = i % 2 ? 7.0f : value;
    store->addConnected(T0, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("KSR-583 #0042"));
    store->addStatus(T0 + 1000, adjWith(value));
    store->addStatus(T0 + 2000, var);
    QVERIFY(store->waitUntilWritten());
    QCOMPARE(store->counters().written, qint64(3));

    HistoryReader reader(m_path);
    QVERIFY2(reader.open(), qPrintable(reader.reason()));
    QVector<Reading> rows;
    QVERIFY(reader.readings({T0, T0 + 3000}, [&](const Reading &r) {
        rows << r;
        return true;
    }));
    QCOMPARE(rows.size(), 2);
    const ADJ_STATE sent = adjWith(value);
    const float expected[Series::Count] = {sent.freqOffset,    sent.freqDrift,     sent.chanOffset[0], sent.chanOffset[1],
                                           sent.chanOffset[2], sent.chanOffset[3], value, value, value, value};
    for (int s = 0; s < Series::Count; ++s) {
        const float got = rows.at(s < Series::Adev1 ? 0 : 1).value[s];
        if (std::isnan(expected[s]))
            QVERIFY2(std::isnan(got), qPrintable(Series::column(Series::Id(s))));
        else
            QCOMPARE(bitsOf(got), bitsOf(expected[s] == 0 ? 0.0f : expected[s]));
    }
    QCOMPARE(rows.at(0).timeMs, T0 + 1000);
    QVERIFY(std::isnan(rows.at(0).value[Series::Adev1]));

    // Exported, the values read back the same.
    const QList<QByteArray> cells = HistoryCsv::line(rows.at(0)).trimmed().split(',');
    QCOMPARE(cells.size(), 1 + Series::Count);
    QCOMPARE(cells.first(), QByteArray("2026-03-02T10:00:01.000Z"));
    if (std::isnan(value))
        QVERIFY(cells.at(1).isEmpty());
    else if (std::isfinite(value))
        QCOMPARE(bitsOf(float(QLocale::c().toDouble(QString::fromLatin1(cells.at(1))))), bitsOf(rows.at(0).value[0]));
    QVERIFY(cells.at(1 + Series::Adev1).isEmpty());

    // Any reader of the file sees the same number, and the weights beside it.
    HistoryPeek peek(m_path);
    if (std::isfinite(value))
        QCOMPARE(peek.value(QStringLiteral("SELECT freq_offset FROM adj_state")).toDouble(), double(value));
    QCOMPARE(tableRows(peek, QStringLiteral("SELECT chan1_weight, chan2_weight FROM weights")), QStringList{"1|0"});
}

void tst_HistoryStore::journal_recordIsKeptOnce()
{
    auto store = makeStore();
    const QVector<JournalRecord> first = {journalRecord(1, 1, 0x0104), journalRecord(2, 1, 0x0702)};
    store->addJournal(T0, first);
    // The next day's download repeats them; after the instrument's journal
    // was cleared, number 1 stands for a new event.
    store->addJournal(T0 + 86400000, first + QVector<JournalRecord>{journalRecord(1, 2, 0x0104)});
    QVERIFY(store->waitUntilWritten());
    QCOMPARE(store->counters().journalDuplicates, qint64(2));
    store.reset();
    HistoryPeek peek(m_path);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM journal")).toInt(), 3);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM journal WHERE number = 1")).toInt(), 2);
}

void tst_HistoryStore::journal_recordIsStoredOnceAcrossPruning_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QStringList>("kept");  // the day of its download
    QTest::newRow("pruned, and never stored again") << 3 << QStringList();
    QTest::newRow("no date: kept as first downloaded") << 13 << QStringList{"0"};
}

// The instrument sends its last 810 records every day.
void tst_HistoryStore::journal_recordIsStoredOnceAcrossPruning()
{
    QFETCH(int, month);
    QFETCH(QStringList, kept);
    JournalRecord r = journalRecord(7, 1, 0x0104);
    r.month = quint8(month);
    for (int day = 0; day < 4; ++day) {
        m_clock->setUtc(QDateTime::fromMSecsSinceEpoch(T0 + day * 86400000, Qt::UTC));
        auto store = makeStore(1);
        store->addJournal(T0 + day * 86400000, QVector<JournalRecord>{r});
        QVERIFY(store->waitUntilWritten());
    }
    HistoryPeek peek(m_path);
    QCOMPARE(tableRows(peek, QStringLiteral("SELECT (time_ms - %1) / 86400000 FROM journal").arg(T0)), kept);
}

void tst_HistoryStore::olderSchema_isUpgradedInPlaceBitForBit_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("schema 2, the last with coded floats") << 2;
    QTest::newRow("schema 1") << 1;
}

// The file is made as the version before made it: its own steps, its coded
// floats.
void tst_HistoryStore::olderSchema_isUpgradedInPlaceBitForBit()
{
    QFETCH(int, version);
    const QVector<float> values = {1.0894e-15f,
                                   -3.25e-12f,
                                   std::numeric_limits<float>::denorm_min(),
                                   -std::numeric_limits<float>::max(),
                                   std::numeric_limits<float>::infinity(),
                                   7.0f};
    {
        HistoryPeek peek(m_path);
        QString reason;
        QVERIFY2(HistorySchema::upgrade(peek.db(), 0, version, &reason), qPrintable(reason));
        for (int i = 0; i < values.size(); ++i) {
            const qint64 code = codeOfSchemaTwo(values.at(i));
            QVERIFY(peek.exec(QStringLiteral("INSERT INTO adj_state VALUES (%1, %2, %2, %2, NULL, %2, %2)")
                                  .arg(T0 + i * 1000)
                                  .arg(code)));
            QVERIFY(peek.exec(QStringLiteral("INSERT INTO var_struct VALUES (%1, %2, %2, NULL, %2)")
                                  .arg(T0 + i * 1000 + 500)
                                  .arg(code)));
        }
        QVERIFY(peek.exec(QStringLiteral("INSERT INTO detect VALUES (%1, 1, 1, 257, 0)").arg(T0)));
        QVERIFY(peek.exec(QStringLiteral("INSERT INTO journal (time_ms, number, device_time, device_ms, event, "
                                         "offset) VALUES (%1, 3, '2026-03-02 09:00:00', %1, 260, %2)")
                              .arg(T0)
                              .arg(codeOfSchemaTwo(-1.25e-12f))));
        QString extremes;
        for (int c = 0; c < 2 * Series::Count; ++c)
            extremes += QStringLiteral(", %1").arg(codeOfSchemaTwo(values.at(c % 2)));
        QVERIFY(peek.exec(QStringLiteral("INSERT INTO rollup_1h VALUES (%1, %2, 300%3)").arg(T0).arg(T0 + 6000).arg(extremes)));
        QVERIFY(peek.exec(QStringLiteral("INSERT INTO rollup_5min VALUES (%1, %2, 12%3)").arg(T0).arg(T0 + 6000).arg(extremes)));
    }
    auto store = makeStore();
    QSignalSpy failed(store.get(), &HistoryStore::failed);
    store->addStatus(T0 + 60000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten());
    QCoreApplication::processEvents();
    QVERIFY2(store->counters().open, failed.isEmpty() ? "" : qPrintable(failed.first().first().toString()));
    store.reset();

    HistoryReader reader(m_path);
    QVERIFY2(reader.open(), qPrintable(reader.reason()));
    QVector<Reading> read;
    QVERIFY(reader.readings({T0, T0 + 10000}, [&](const Reading &r) {
        read << r;
        return true;
    }));
    QCOMPARE(read.size(), 2 * values.size());
    for (int i = 0; i < values.size(); ++i) {
        QCOMPARE(bitsOf(read.at(2 * i).value[Series::FreqOffset]), bitsOf(values.at(i)));
        QCOMPARE(bitsOf(read.at(2 * i).value[Series::Offset4]), bitsOf(values.at(i)));
        QVERIFY(std::isnan(read.at(2 * i).value[Series::Offset2]));
        QCOMPARE(bitsOf(read.at(2 * i + 1).value[Series::Adev4]), bitsOf(values.at(i)));
    }
    HistoryPeek peek(m_path);
    QCOMPARE(peek.value(QStringLiteral("SELECT version FROM schema_version")).toInt(), HistorySchema::Version);
    QCOMPARE(tableRows(peek, QStringLiteral("SELECT time_ms - %1, last_ms - %1, chan2 FROM detect").arg(T0)),
             QStringList{"0|0|1"});
    QCOMPARE(peek.value(QStringLiteral("SELECT offset FROM journal")).toDouble(), double(-1.25e-12f));
    // Summaries of a few readings go: the readings themselves are read.
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM rollup_5min")).toInt(), 0);
    QCOMPARE(peek.value(QStringLiteral("SELECT chan4_adev_max FROM rollup_1h")).toDouble(), double(values.at(1)));
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN ('float_scale', "
                                       "'adj_state_values', 'var_struct_values')")).toInt(),
             0);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM adj_state WHERE typeof(freq_offset) != 'real'")).toInt(), 0);
}

void tst_HistoryStore::newerSchema_isRefusedAndLeftAsItIs()
{
    {
        HistoryPeek peek(m_path);
        QVERIFY(peek.exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)")));
        QVERIFY(peek.exec(QStringLiteral("INSERT INTO schema_version VALUES (99)")));
    }
    const QByteArray before = digest(m_path);
    auto store = makeStore();
    QSignalSpy failed(store.get(), &HistoryStore::failed);
    store->addStatus(T0, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten());
    QTRY_COMPARE(failed.count(), 1);
    QVERIFY(failed.at(0).at(0).toString().contains(QLatin1String("99")));
    QCOMPARE(store->counters().kept, qint64(1));
    store.reset();
    QCOMPARE(digest(m_path), before);
}

void tst_HistoryStore::unusableFile_oneRedLineThenRetriedWithinAMinuteKeepingEverything_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("folder is a file") << "folder";
    QTest::newRow("locked by another program") << "locked";
}

void tst_HistoryStore::unusableFile_oneRedLineThenRetriedWithinAMinuteKeepingEverything()
{
    QFETCH(QString, cause);
    const QString goodPath = m_path;
    std::unique_ptr<HistoryPeek> lock;
    if (cause == QLatin1String("garbage")) {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    } else if (cause == QLatin1String("folder")) {
        QFile f(m_dir->filePath(QStringLiteral("Logs")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        m_path = m_dir->filePath(QStringLiteral("Logs/history.sqlite"));
    } else {
        makeStore()->addStatus(T0 - 5000, adjWith(2e-12f));
        lock = std::make_unique<HistoryPeek>(m_path);
        QVERIFY(lock->exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }

    auto store = makeStore();
    QSignalSpy failed(store.get(), &HistoryStore::failed);
    QSignalSpy resumed(store.get(), &HistoryStore::resumed);
    store->addStatus(T0, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, SlowMs);
    QVERIFY(failed.at(0).at(0).toString().contains(m_path));

    // Tried again after a minute, still unusable: kept, no second line.
    m_clock->advance(HistoryStore::RetryFirstMs);
    store->addStatus(T0 + 1000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QCOMPARE(store->counters().kept, qint64(2));

    // Mended; the attempt after that waits twice as long.
    if (cause == QLatin1String("garbage")) {
        QVERIFY(QFile::remove(m_path));
    } else if (cause == QLatin1String("folder")) {
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Logs"))));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Logs")));
    } else {
        QVERIFY(lock->exec(QStringLiteral("COMMIT")));
        lock.reset();
    }
    m_clock->advance(HistoryStore::RetryFirstMs);
    store->addStatus(T0 + 2000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QCOMPARE(store->counters().kept, qint64(3));
    m_clock->advance(HistoryStore::RetryFirstMs);
    store->addStatus(T0 + 3000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QTRY_COMPARE(resumed.count(), 1);
    QVERIFY(resumed.at(0).at(0).toString().contains(QLatin1String("nothing was lost")));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(store->counters().dropped, qint64(0));
    store.reset();

    HistoryPeek peek(m_path);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM adj_state WHERE time_ms >= %1").arg(T0)).toInt(), 4);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM event WHERE kind = 10")).toInt(), 0);
    m_path = goodPath;
}

void tst_HistoryStore::lockedWhileRecording_isNoGap()
{
    auto store = makeStore();
    QSignalSpy failed(store.get(), &HistoryStore::failed);
    store->addConnected(T0, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("KSR-583 #0042"));
    store->addStatus(T0 + 1000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten());

    auto lock = std::make_unique<HistoryPeek>(m_path);
    QVERIFY(lock->exec(QStringLiteral("BEGIN EXCLUSIVE")));
    store->addStatus(T0 + 2000, adjWith(2e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, SlowMs);
    QVERIFY(lock->exec(QStringLiteral("COMMIT")));
    lock.reset();

    m_clock->advance(HistoryStore::RetryFirstMs);
    store->addStatus(T0 + 3000, adjWith(3e-12f));
    QVERIFY(store->waitUntilWritten());
    QCOMPARE(store->counters().kept, qint64(0));
    store.reset();

    HistoryReader reader(m_path);
    QVERIFY(reader.open());
    const HistoryView view = reader.load({T0, T0 + 4000}, 100);
    QCOMPARE(view.series[Series::FreqOffset].size(), 3);
    QVERIFY(std::none_of(view.series[Series::FreqOffset].begin(), view.series[Series::FreqOffset].end(),
                         [](const SeriesBucket &b) { return b.breakBefore; }));
    QVERIFY(view.markers.size() == 1 && view.markers.first().kind == MarkerKind::Connected);
    QCOMPARE(view.link.size(), 1);
}

void tst_HistoryStore::fullQueue_oneRedLineAndAGapWithItsCount()
{
    auto store = makeStore();
    QSignalSpy failed(store.get(), &HistoryStore::failed);
    QSignalSpy resumed(store.get(), &HistoryStore::resumed);
    store->addConnected(T0, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("KSR-583 #0042"));
    QVERIFY(store->waitUntilWritten());
    auto lock = std::make_unique<HistoryPeek>(m_path);
    QVERIFY(lock->exec(QStringLiteral("BEGIN EXCLUSIVE")));
    const int lost = 7;
    for (int i = 0; i < HistoryStore::QueueLimit + lost; ++i)
        store->addStatus(T0 + 1000 + i, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 2, SlowMs);  // the database, then the queue
    QCOMPARE(store->counters().dropped, qint64(lost));
    QVERIFY(lock->exec(QStringLiteral("COMMIT")));
    lock.reset();

    // The writer's own round comes within a second.
    m_clock->advance(HistoryStore::RetryFirstMs);
    QTRY_COMPARE_WITH_TIMEOUT(resumed.count(), 1, SlowMs);
    QVERIFY(resumed.at(0).at(0).toString().contains(QString::number(lost)));
    store->addStatus(T0 + 100000, adjWith(2e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QCOMPARE(failed.count(), 2);
    QCOMPARE(resumed.count(), 1);
    store.reset();

    const qint64 firstLost = T0 + 1000 + HistoryStore::QueueLimit;
    HistoryReader reader(m_path);
    QVERIFY(reader.open());
    const HistoryView view = reader.load({T0, T0 + 200000}, 10);
    const auto gap = std::find_if(view.markers.begin(), view.markers.end(),
                                  [](const Marker &m) { return m.kind == MarkerKind::HistoryGap; });
    QVERIFY(gap != view.markers.end());
    QCOMPARE(gap->code, lost);
    QCOMPARE(gap->timeMs, firstLost);
    QVERIFY(view.series[Series::FreqOffset].last().breakBefore);
}

void tst_HistoryStore::slowRecords_everyAnsweredPollIsInARun_data()
{
    QTest::addColumn<QVector<int>>("polls");    // the link's numbers, one DETECT poll each 40 s
    QTest::addColumn<QVector<int>>("values");   // chan1 of each
    QTest::addColumn<int>("breakAfter");        // a lost connection after that many polls; -1 none
    QTest::addColumn<QStringList>("runs");      // seconds from T0: first|last
    QTest::newRow("all answered, all the same: one row") << QVector<int>{1, 2, 3, 4} << QVector<int>{1, 1, 1, 1} << -1
                                                         << QStringList{"0|120"};
    QTest::newRow("a poll unanswered ends the run") << QVector<int>{1, 2, 4, 5} << QVector<int>{1, 1, 1, 1} << -1
                                                   << QStringList{"0|40", "120|160"};
    QTest::newRow("a change begins a run") << QVector<int>{1, 2, 3, 4} << QVector<int>{1, 1, 257, 257} << -1
                                           << QStringList{"0|40", "80|120"};
    QTest::newRow("a lost connection ends the run") << QVector<int>{1, 2, 3, 4} << QVector<int>{1, 1, 1, 1} << 2
                                                   << QStringList{"0|40", "80|120"};
    QTest::newRow("numbers not known: consecutive") << QVector<int>{0, 0, 0} << QVector<int>{1, 1, 1} << -1
                                                   << QStringList{"0|80"};
}

void tst_HistoryStore::slowRecords_everyAnsweredPollIsInARun()
{
    QFETCH(QVector<int>, polls);
    QFETCH(QVector<int>, values);
    QFETCH(int, breakAfter);
    QFETCH(QStringList, runs);
    {
        auto store = makeStore();
        for (int i = 0; i < polls.size(); ++i) {
            if (i == breakAfter) {
                store->addConnectionLost(T0 + i * 40000 - 20000);
                store->addConnected(T0 + i * 40000 - 10000, QStringLiteral("COM3"), {});
            }
            const qint64 ms = T0 + (polls.at(i) > 0 ? polls.at(i) - 1 : i) * 40000;
            store->addStatus(ms, detectWith(qint16(values.at(i))), quint64(polls.at(i)));
            ADJ_CMD_STATE cmd;
            cmd.syncStatus = qint16(values.at(i));
            store->addStatus(ms + 10000, cmd, quint64(polls.at(i)));
            // One batch apart, now and then.
            if (i % 2)
                QVERIFY(store->waitUntilWritten());
        }
    }
    HistoryPeek peek(m_path);
    QCOMPARE(tableRows(peek, QStringLiteral("SELECT (time_ms - %1) / 1000, (last_ms - %1) / 1000 FROM detect "
                                       "ORDER BY time_ms").arg(T0)),
             runs);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM cmd_state")).toInt(), runs.size());
}

void tst_HistoryStore::search_attemptsAreOneEvent()
{
    const QString connecting = QStringLiteral("Connecting to /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0");
    {
        auto store = makeStore();
        store->addSearchStarted(T0);
        for (int i = 0; i < 500; ++i) {
            store->addMessage(T0 + i * 1300, QStringLiteral("black"), connecting);
            if (i == 1 || i == 300)
                store->addMessage(T0 + i * 1300 + 5, QStringLiteral("red"), QStringLiteral("Permission denied"));
            if (i % 100 == 0)
                QVERIFY(store->waitUntilWritten());
        }
        store->addMessage(T0 + 700000, QStringLiteral("black"), QStringLiteral("Connected to COM3"));
        store->addConnected(T0 + 700000, QStringLiteral("COM3"), {});
        store->addMessage(T0 + 800000, QStringLiteral("black"), connecting);
    }
    HistoryPeek peek(m_path);
    QCOMPARE(tableRows(peek, QStringLiteral("SELECT kind, code FROM event WHERE kind IN (3, 4)")), (QStringList{"3|500", "4|0"}));
    QCOMPARE(tableRows(peek, QStringLiteral("SELECT count(*) FROM event WHERE kind = 7 GROUP BY text ORDER BY text")),
             (QStringList{"1", "2", "1"}));
}

void tst_HistoryStore::keepDays_prunesOlderRows()
{
    const qint64 day = 86400000;
    {
        auto store = makeStore();
        // Enough pages that the room they leave shows.
        for (int i = 0; i < 5000; ++i)
            store->addStatus(T0 - 10 * day + i * 1000, adjWith(1e-12f));
        store->addStatus(T0 - day, adjWith(2e-12f));
        store->addJournal(T0, QVector<JournalRecord>{journalRecord(1, 1, 0x0104)});  // 1 March, 09:00
        QVERIFY(store->waitUntilWritten());
    }
    auto store = makeStore(5);
    QVERIFY(store->waitUntilWritten());
    store->addStatus(T0, adjWith(3e-12f));
    QVERIFY(store->waitUntilWritten());
    store.reset();
    HistoryPeek peek(m_path);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM adj_state")).toInt(), 2);
    QCOMPARE(peek.value(QStringLiteral("SELECT min(time_ms) FROM adj_state")).toLongLong(), T0 - day);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM journal")).toInt(), 1);
    // The room goes back to the file system.
    QCOMPARE(peek.value(QStringLiteral("PRAGMA freelist_count")).toInt(), 0);
}

void tst_HistoryStore::sqliteShell_readsPlainNumbersWhileTheStoreWrites()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        QSKIP("no sqlite3 shell here (scripts/install-deps.sh installs it)");
    auto store = makeStore();
    store->addStatus(T0, adjWith(1.5e-12f));
    QVERIFY(store->waitUntilWritten());
    QProcess sqlite;
    sqlite.start(shell, {m_path, QStringLiteral("SELECT freq_offset, typeof(freq_offset) FROM adj_state")});
    QVERIFY(sqlite.waitForFinished(SlowMs));
    QCOMPARE(sqlite.exitCode(), 0);
    const QList<QByteArray> cells = sqlite.readAllStandardOutput().trimmed().split('|');
    QCOMPARE(cells.size(), 2);
    QCOMPARE(float(cells.at(0).toDouble()), 1.5e-12f);
    QCOMPARE(cells.at(1), QByteArray("real"));
    store->addStatus(T0 + 1000, adjWith(2.5e-12f));
    QVERIFY(store->waitUntilWritten());
    QCOMPARE(store->counters().dropped, qint64(0));
}

QTEST_GUILESS_MAIN(tst_HistoryStore)
#include "tst_historystore.moc"
