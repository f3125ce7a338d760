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
    return a;
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
    void olderSchema_isUpgradedWithItsRows();
    void newerSchema_isRefusedAndLeftAsItIs();
    void unusableFile_oneRedLineThenHourlyRetry_data();
    void unusableFile_oneRedLineThenHourlyRetry();
    void lockedWhileRecording_dropsAndRecordsTheGap();
    void keepDays_prunesOlderRows();
    void sqliteShell_readsWhileTheStoreWrites();

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
    QTest::newRow("negative zero") << -0.0f;
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
            QCOMPARE(bitsOf(got), bitsOf(expected[s]));
    }
    QCOMPARE(rows.at(0).timeMs, T0 + 1000);
    QVERIFY(std::isnan(rows.at(0).value[Series::Adev1]));

    // Exported, the values read back the same.
    const QList<QByteArray> cells = HistoryCsv::line(rows.at(0)).trimmed().split(',');
    QCOMPARE(cells.size(), 1 + Series::Count);
    QCOMPARE(cells.first(), QByteArray("2026-03-02T10:00:01.000Z"));
    if (std::isnan(value))
        QVERIFY(cells.at(1).isEmpty());
    else
        QCOMPARE(bitsOf(float(QLocale::c().toDouble(QString::fromLatin1(cells.at(1))))), bitsOf(value));
    QVERIFY(cells.at(1 + Series::Adev1).isEmpty());

    // The view shows the same number to the sqlite3 shell.
    if (std::isfinite(value)) {
        HistoryPeek peek(m_path);
        QCOMPARE(peek.value(QStringLiteral("SELECT freq_offset FROM adj_state_values")).toDouble(), double(value));
    }
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

void tst_HistoryStore::olderSchema_isUpgradedWithItsRows()
{
    {
        HistoryPeek peek(m_path);
        QString reason;
        QVERIFY2(HistorySchema::upgrade(peek.db(), 0, 1, &reason), qPrintable(reason));
        QVERIFY(peek.exec(QStringLiteral("INSERT INTO adj_state (time_ms, freq_offset) VALUES (%1, 5)").arg(T0)));
    }
    auto store = makeStore();
    store->addStatus(T0 + 1000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten());
    QVERIFY(store->counters().open);
    store.reset();
    HistoryPeek peek(m_path);
    QCOMPARE(peek.value(QStringLiteral("SELECT version FROM schema_version")).toInt(), HistorySchema::Version);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM adj_state")).toInt(), 2);
    QVERIFY(peek.value(QStringLiteral("SELECT count(*) FROM imported_run")).isValid());
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
    QCOMPARE(store->counters().dropped, qint64(1));
    store.reset();
    QCOMPARE(digest(m_path), before);
}

void tst_HistoryStore::unusableFile_oneRedLineThenHourlyRetry_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("folder is a file") << "folder";
    QTest::newRow("locked by another program") << "locked";
}

void tst_HistoryStore::unusableFile_oneRedLineThenHourlyRetry()
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

    // Still unusable an hour later: dropped and counted, no second line.
    m_clock->advance(HistoryStore::RetryMs);
    store->addStatus(T0 + 1000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QCOMPARE(store->counters().dropped, qint64(2));

    // Mended: the next hourly attempt records again.
    if (cause == QLatin1String("garbage")) {
        QVERIFY(QFile::remove(m_path));
    } else if (cause == QLatin1String("folder")) {
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Logs"))));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Logs")));
    } else {
        QVERIFY(lock->exec(QStringLiteral("COMMIT")));
        lock.reset();
    }
    m_clock->advance(HistoryStore::RetryMs);
    store->addStatus(T0 + 2000, adjWith(1e-12f));
    QVERIFY(store->waitUntilWritten(SlowMs));
    QTRY_COMPARE(resumed.count(), 1);
    QCOMPARE(failed.count(), 1);
    QVERIFY(store->counters().open);
    store.reset();

    HistoryPeek peek(m_path);
    QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM adj_state WHERE time_ms >= %1").arg(T0)).toInt(), 1);
    QCOMPARE(peek.value(QStringLiteral("SELECT code FROM event WHERE kind = 10")).toInt(), 2);
    if (cause == QLatin1String("locked"))  // what was there before is still there
        QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM adj_state")).toInt(), 2);
    m_path = goodPath;
}

void tst_HistoryStore::lockedWhileRecording_dropsAndRecordsTheGap()
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
    QVERIFY(!store->counters().open);
    QVERIFY(lock->exec(QStringLiteral("COMMIT")));
    lock.reset();

    m_clock->advance(HistoryStore::RetryMs);
    store->addStatus(T0 + 3000, adjWith(3e-12f));
    QVERIFY(store->waitUntilWritten());
    m_clock->advance(60000);
    store.reset();

    // The stretch before the gap and after it stay apart, and the
    // connection that held through the gap is picked up again.
    HistoryReader reader(m_path);
    QVERIFY(reader.open());
    const HistoryView view = reader.load({T0, T0 + HistoryStore::RetryMs + 30000}, 100);
    const QVector<SeriesBucket> &offset = view.series[Series::FreqOffset];
    QCOMPARE(offset.size(), 2);
    QVERIFY(offset.at(1).breakBefore);
    QCOMPARE(offset.at(1).min, 3e-12f);
    const bool gapMarked = std::any_of(view.markers.begin(), view.markers.end(),
                                       [](const Marker &m) { return m.kind == MarkerKind::HistoryGap && m.code == 1; });
    QVERIFY(gapMarked);
    QCOMPARE(view.link.last().state, LinkState::Connected);
}

void tst_HistoryStore::keepDays_prunesOlderRows()
{
    const qint64 day = 86400000;
    {
        auto store = makeStore();
        store->addStatus(T0 - 10 * day, adjWith(1e-12f));
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
}

void tst_HistoryStore::sqliteShell_readsWhileTheStoreWrites()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        QSKIP("no sqlite3 shell here (scripts/install-deps.sh installs it)");
    auto store = makeStore();
    store->addStatus(T0, adjWith(1.5e-12f));
    QVERIFY(store->waitUntilWritten());
    QProcess sqlite;
    sqlite.start(shell, {m_path, QStringLiteral("SELECT freq_offset FROM adj_state_values")});
    QVERIFY(sqlite.waitForFinished(SlowMs));
    QCOMPARE(sqlite.exitCode(), 0);
    QCOMPARE(sqlite.readAllStandardOutput().trimmed().toDouble(), double(1.5e-12f));
    store->addStatus(T0 + 1000, adjWith(2.5e-12f));
    QVERIFY(store->waitUntilWritten());
    QCOMPARE(store->counters().dropped, qint64(0));
}

QTEST_GUILESS_MAIN(tst_HistoryStore)
#include "tst_historystore.moc"
