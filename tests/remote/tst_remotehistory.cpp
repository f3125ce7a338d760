#include "ServiceRig.h"

#include "access/LoginGuard.h"
#include "history/HistoryLoader.h"
#include "history/fill/HistoryFill.h"
#include "protocol/HistoryCodec.h"
#include "remote/RemoteHistory.h"
#include "remote/ServiceConnection.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSettings.h"
#include "tests/support/VirtualClock.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// A window on another computer asks the service for its history; what it
// gets must be what a window reading the file would draw and write.
class tst_RemoteHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void viewAndStability_asReadFromTheFile_data();
    void viewAndStability_asReadFromTheFile();
    void exports_byteForByteAsReadFromTheFile_data();
    void exports_byteForByteAsReadFromTheFile();
    void readingsInPieces_aTieOfTimesNeitherLostNorRepeated_data();
    void readingsInPieces_aTieOfTimesNeitherLostNorRepeated();
    void serviceGoneDuringExport_saysSoAndLeavesNoFile();

private:
    StabilityRequest stabilityRequest() const;
    QByteArray localExport(bool series, const QString &name);

    QTemporaryDir m_dir;
    QString m_database;
    TimeRange m_all;
    std::shared_ptr<VirtualClock> m_clock;
    FakeServiceSide m_side;
    std::unique_ptr<LoginGuard> m_logins;
    std::unique_ptr<ServiceServer> m_server;
    std::unique_ptr<ServiceConnection> m_connection;
    std::unique_ptr<RemoteHistory> m_remote;
    std::unique_ptr<HistoryLoader> m_local;
};

void tst_RemoteHistory::initTestCase()
{
    m_database = m_dir.filePath("history.sqlite");
    HistoryFill::Options options;
    options.path = m_database;
    options.days = 2;
    options.endUtc = QDateTime(QDate(2026, 3, 9), QTime(12, 0), Qt::UTC);
    QVERIFY(HistoryFill::run(options).polls > 10000);
    {
        // Two readings at one time, as a clock set back may leave them.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tie");
        db.setDatabaseName(m_database);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("UPDATE var_struct SET time_ms = (SELECT time_ms FROM adj_state ORDER BY time_ms "
                       "LIMIT 1 OFFSET 1000) WHERE time_ms = (SELECT time_ms FROM var_struct ORDER BY time_ms "
                       "LIMIT 1 OFFSET 1000)"));
        QCOMPARE(q.numRowsAffected(), 1);
    }
    QSqlDatabase::removeDatabase("tie");
    const qint64 end = options.endUtc.toMSecsSinceEpoch();
    m_all = {end - 3 * 86400000LL, end + 1000};
    m_side.historyPath = m_database;
}

void tst_RemoteHistory::init()
{
    m_clock = std::make_shared<VirtualClock>();
    m_logins = std::make_unique<LoginGuard>(m_clock);
    m_server = std::make_unique<ServiceServer>(m_side, *m_logins, m_clock);
    m_server->setIdentity("labpc", "ksr583-monitor test");
    const QString name = ServiceSettings::localServerName(m_dir.path());
    QString error;
    QVERIFY2(m_server->listenLocal(name, &error), qPrintable(error));
    m_connection = std::make_unique<ServiceConnection>("test window");
    m_connection->openLocal(name);
    QTRY_COMPARE(m_connection->state(), ServiceConnection::State::Attached);
    m_remote = std::make_unique<RemoteHistory>(m_connection.get());
    m_local = std::make_unique<HistoryLoader>(m_database);
}

void tst_RemoteHistory::cleanup()
{
    m_remote.reset();
    m_connection.reset();
    m_server.reset();
    m_local.reset();
}

StabilityRequest tst_RemoteHistory::stabilityRequest() const
{
    StabilityRequest r;
    r.series = Series::Offset1;
    r.range = m_all;
    return r;
}

void tst_RemoteHistory::viewAndStability_asReadFromTheFile_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("stability");
    QTest::newRow("last 24 hours, drawn") << int(HistoryRange::Last24Hours) << false;
    QTest::newRow("all of it, drawn") << int(HistoryRange::All) << false;
    QTest::newRow("stability of channel 1") << int(HistoryRange::All) << true;
}

void tst_RemoteHistory::viewAndStability_asReadFromTheFile()
{
    QFETCH(int, choice);
    QFETCH(bool, stability);
    // Either source's answer as JSON, in which every float is kept bit for bit.
    auto answer = [&](HistorySource *source, int id) {
        QJsonObject json;
        connect(source, &HistorySource::viewLoaded, this, [&](int, const HistoryView &view, TimeRange extent) {
            json = {{"view", HistoryCodec::toJson(view)}, {"extent", HistoryCodec::toJson(extent)}};
        });
        connect(source, &HistorySource::stabilityReady, this,
                [&](int, const StabilityResult &result) { json = HistoryCodec::toJson(result); });
        source->want(id);
        if (stability) {
            source->computeStability(id, stabilityRequest(), 0);
        } else {
            ViewRequest r;
            r.id = id;
            r.choice = HistoryRange::Choice(choice);
            r.nowMs = m_all.toMs;
            r.buckets = 1500;
            source->loadView(r);
        }
        [&] { QTRY_VERIFY_WITH_TIMEOUT(!json.isEmpty(), 20000); }();
        source->disconnect(this);
        return json;
    };
    const QJsonObject here = answer(m_local.get(), 7);
    const QJsonObject remote = answer(m_remote.get(), 8);
    QVERIFY(QJsonDocument(here).toJson(QJsonDocument::Compact).size() > 2000);  // something drawn
    QCOMPARE(remote, here);
}

QByteArray tst_RemoteHistory::localExport(bool series, const QString &name)
{
    const QString path = m_dir.filePath(name);
    QSignalSpy done(m_local.get(), &HistorySource::exported);
    if (series) {
        QSignalSpy ready(m_local.get(), &HistorySource::stabilityReady);
        m_local->want(1);
        m_local->computeStability(1, stabilityRequest(), 0);
        m_local->exportSeries(2, ready.value(0).at(1).value<StabilityResult>(), 0, path);
    } else {
        m_local->exportCsv(2, m_all, path);
    }
    QFile file(path);
    return done.size() == 1 && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_RemoteHistory::exports_byteForByteAsReadFromTheFile_data()
{
    QTest::addColumn<bool>("series");
    QTest::newRow("every reading as CSV") << false;
    QTest::newRow("the analysed series") << true;
}

void tst_RemoteHistory::exports_byteForByteAsReadFromTheFile()
{
    QFETCH(bool, series);
    const QByteArray here = localExport(series, "here.txt");
    QVERIFY(here.size() > (series ? 0 : 3 * HistoryCodec::MaxChunkBytes));  // readings in several pieces
    const QString path = m_dir.filePath("remote.txt");
    QSignalSpy done(m_remote.get(), &HistorySource::exported);
    if (series) {
        // The window exports what it was shown; the service has kept it.
        QSignalSpy ready(m_remote.get(), &HistorySource::stabilityReady);
        m_remote->want(5);
        m_remote->computeStability(5, stabilityRequest(), 0);
        QVERIFY(ready.wait(20000));
        m_remote->exportSeries(6, ready.value(0).at(1).value<StabilityResult>(), 0, path);
    } else {
        m_remote->exportCsv(6, m_all, path);
    }
    QVERIFY(done.wait(20000));
    QCOMPARE(done.value(0).at(2).toString(), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == here);
    QCOMPARE(done.value(0).at(1).toLongLong(), qint64(here.count('\n') - (series ? 0 : 1)));
}

void tst_RemoteHistory::readingsInPieces_aTieOfTimesNeitherLostNorRepeated_data()
{
    QTest::addColumn<int>("maxBytes");
    QTest::newRow("a reading a piece") << 1;
    QTest::newRow("a few") << 700;
}

void tst_RemoteHistory::readingsInPieces_aTieOfTimesNeitherLostNorRepeated()
{
    QFETCH(int, maxBytes);
    // Around the tie only: a reading a piece over two days would take long.
    QByteArray all;
    const QByteArray here = localExport(false, "tie.csv");
    QList<QByteArray> lines = here.split('\n');
    const qint64 tie = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "find");
        db.setDatabaseName(m_database);
        db.open();
        QSqlQuery q("SELECT a.time_ms FROM adj_state a JOIN var_struct v ON a.time_ms = v.time_ms", db);
        return q.next() ? q.value(0).toLongLong() : qint64(0);
    }();
    QSqlDatabase::removeDatabase("find");
    QVERIFY(tie != 0);
    const TimeRange range{tie - 600000, tie + 600000};
    QSignalSpy chunks(m_local.get(), &HistoryLoader::chunkReady);
    ExportCursor from{range.fromMs, 0};
    for (int piece = 0; piece < 1000; ++piece) {
        m_local->readingsChunk(1, range, from, maxBytes);
        QCOMPARE(chunks.size(), piece + 1);
        const ExportChunk chunk = chunks.last().at(1).value<ExportChunk>();
        all += chunk.text;
        if (chunk.done)
            break;
        from = chunk.next;
    }
    QVERIFY(chunks.last().at(1).value<ExportChunk>().done);
    QByteArray expected = lines.takeFirst() + '\n';
    for (const QByteArray &line : lines) {
        const QDateTime t = QDateTime::fromString(QString::fromLatin1(line.left(line.indexOf(','))), Qt::ISODateWithMs);
        if (t.isValid() && range.contains(t.toMSecsSinceEpoch()))
            expected += line + '\n';  // the line's CR is still in it
    }
    QVERIFY(expected.count('\n') > 10);
    QCOMPARE(all, expected);
}

void tst_RemoteHistory::serviceGoneDuringExport_saysSoAndLeavesNoFile()
{
    const QString path = m_dir.filePath("lost.csv");
    QSignalSpy unavailable(m_remote.get(), &HistorySource::unavailable);
    QSignalSpy progress(m_remote.get(), &HistorySource::progress);
    m_remote->exportCsv(3, m_all, path);
    QVERIFY(progress.wait(10000));
    m_server.reset();
    QVERIFY(unavailable.wait(10000));
    QCOMPARE(unavailable.value(0).at(1).toString(), QString("No connection to the service"));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(tst_RemoteHistory)
#include "tst_remotehistory.moc"
