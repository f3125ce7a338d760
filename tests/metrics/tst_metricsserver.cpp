#include "HostileClients.h"
#include "HostileCrowd.h"
#include "Scraper.h"

#include "metrics/MetricsServer.h"
#include "status/SnapshotBoard.h"

#include <QtTest>

#include <atomic>
#include <thread>

Q_DECLARE_METATYPE(MetricsServer::StartResult)

// The endpoint over real sockets on 127.0.0.1, with clients that misbehave.
// A scrape is one try with a deadline, as Prometheus makes it.
class tst_MetricsServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void requests_data();
    void requests();
    void hugeRequests_areCutOff_memoryStaysBounded();
    void underAttack_everyScrapeAnsweredWithinASecond_data();
    void underAttack_everyScrapeAnsweredWithinASecond();
    void addresses_data();
    void addresses();
    void portInUse_isReportedAsSuch_andNotShared();
    void restartOnTheSamePort_listensAtOnce();

private:
    bool scraped(int port) const
    {
        const Scraper::Answer a = Scraper::get(port, "/metrics");
        return a.status == 200 && a.body.startsWith("# HELP ksr583_up ");
    }

    std::shared_ptr<SnapshotBoard> m_board;
    std::unique_ptr<MetricsServer> m_server;
};

namespace {

// The window publishes new snapshots all along.
struct Publisher {
    explicit Publisher(SnapshotBoard &board)
        : thread([this, &board] {
              for (quint64 n = 0; on; ++n) {
                  auto s = std::make_shared<StatusSnapshot>();
                  s->counters.polls = n;
                  board.publish(s);
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~Publisher()
    {
        on = false;
        thread.join();
    }
    std::atomic<bool> on{true};
    std::thread thread;
};

QByteArray ranges(int count)
{
    QByteArray r = "Range: bytes=0-";
    for (int k = 1; k < count; ++k)
        r += ",0-";
    return r + "\r\n";
}

}  // namespace

void tst_MetricsServer::init()
{
    m_board = std::make_shared<SnapshotBoard>();
    m_server = std::make_unique<MetricsServer>(m_board);
    QCOMPARE(m_server->start("127.0.0.1", 0), MetricsServer::StartResult::Listening);
    QVERIFY(m_server->port() > 0);
}

void tst_MetricsServer::cleanup()
{
    m_server.reset();
}

void tst_MetricsServer::requests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArrayList>("statuses");
    QTest::addColumn<QByteArray>("header");
    const QByteArray get = "GET /metrics HTTP/1.1\r\nHost: x\r\n";
    QTest::newRow("GET /metrics") << get + "\r\n" << QByteArrayList{"HTTP/1.1 200"}
                                  << QByteArray("Content-Type: text/plain; version=0.0.4; charset=utf-8");
    QTest::newRow("another path") << QByteArray("GET / HTTP/1.1\r\n\r\n") << QByteArrayList{"HTTP/1.1 404"}
                                  << QByteArray();
    QTest::newRow("POST") << QByteArray("POST /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc")
                          << QByteArrayList{"HTTP/1.1 405"} << QByteArray("Allow: GET");
    QTest::newRow("HEAD") << QByteArray("HEAD /metrics HTTP/1.1\r\n\r\n") << QByteArrayList{"HTTP/1.1 405"}
                          << QByteArray("Allow: GET");
    QTest::newRow("garbage bytes") << QByteArray("\x16\x03\x01\x02\x00 garbage\r\n\r\n", 16)
                                   << QByteArrayList{"HTTP/1.1 400"} << QByteArray();
    // The server library closes at once where there is not even a method.
    QTest::newRow("a request line of one word") << QByteArray("\x01\xff\r\n\x00zz\r\n\r\n", 10)
                                                << QByteArrayList{"HTTP/1.1 400", QByteArray()} << QByteArray();
    QTest::newRow("a hundred whole ranges are ignored")
        << get + ranges(100) + "\r\n" << QByteArrayList{"HTTP/1.1 200"} << QByteArray("Content-Type: text/plain");
    QTest::newRow("2600 ranges in 7.8 kB") << get + ranges(2600) + "\r\n"
                                           << QByteArrayList{"HTTP/1.1 200", "HTTP/1.1 4"} << QByteArray();
    QTest::newRow("request line of 1 MB") << "GET /" + QByteArray(1 << 20, 'a') + " HTTP/1.1\r\n\r\n"
                                          << QByteArrayList{"HTTP/1.1 414", "HTTP/1.1 400"} << QByteArray();
}

void tst_MetricsServer::requests()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, statuses);
    QFETCH(QByteArray, header);
    const HostileClients client(m_server->port());
    const QByteArray metrics = client.exchange("GET /metrics HTTP/1.1\r\n\r\n");
    bool closed = false;
    const QByteArray answer = client.exchange(request, &closed);
    const bool expected = std::any_of(statuses.begin(), statuses.end(), [&](const QByteArray &s) {
        return s.isEmpty() ? answer.isEmpty() : answer.startsWith(s);
    });
    QVERIFY2(expected, answer.left(200).constData());
    QVERIFY(answer.contains(header));
    QVERIFY(closed);
    // No request makes the answer larger than the metrics themselves.
    QVERIFY2(answer.size() <= metrics.size() + 64, qPrintable(QString::number(answer.size())));
    if (answer.startsWith("HTTP/1.1 200"))
        QVERIFY(answer.contains("\r\n\r\n# HELP ksr583_up "));
}

void tst_MetricsServer::hugeRequests_areCutOff_memoryStaysBounded()
{
    Publisher publisher(*m_board);
    HostileClients hostile(m_server->port());
    const qint64 before = HostileClients::residentKb();
    QCOMPARE(hostile.sendHugeRequests(), 9);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)  // their own memory grows regardless
    const qint64 grown = HostileClients::residentKb() - before;
    QVERIFY2(grown < 16 * 1024, qPrintable(QString::number(grown)));
#else
    Q_UNUSED(before);
#endif
    QVERIFY(scraped(m_server->port()));
}

void tst_MetricsServer::underAttack_everyScrapeAnsweredWithinASecond_data()
{
    QTest::addColumn<int>("idle");
    QTest::addColumn<int>("slow");
    QTest::addColumn<int>("hosts");
    QTest::addColumn<int>("connections");  // 0: the default limit
    QTest::newRow("1000 idle and 50 slow, from 40 hosts") << 1000 << 50 << 40 << 0;
    QTest::newRow("1000 idle and 50 slow, from the scraper's own address") << 1000 << 50 << 0 << 0;
    QTest::newRow("one host asks for twice all the server holds") << 150 << 50 << 1 << 100;
}

void tst_MetricsServer::underAttack_everyScrapeAnsweredWithinASecond()
{
    QFETCH(int, idle);
    QFETCH(int, slow);
    QFETCH(int, hosts);
    QFETCH(int, connections);
    MetricsServer::Limits limits;
    if (connections > 0)
        limits.connections = connections;
    m_server = std::make_unique<MetricsServer>(m_board, limits);
    QCOMPARE(m_server->start("127.0.0.1", 0), MetricsServer::StartResult::Listening);
    Publisher publisher(*m_board);

    const qint64 before = HostileClients::residentKb();
    HostileCrowd crowd(m_server->port(), idle, slow, hosts);
    if (!crowd.start())
        QSKIP("no room for so many sockets from 127.0.1.x in this process");
    // Past the idle timeout, so that the crowd reconnects as it goes on.
    int answered = 0;
    double slowest = 0;
    constexpr int Scrapes = 25;
    for (int k = 0; k < Scrapes; ++k) {
        const Scraper::Answer a = Scraper::get(m_server->port(), "/metrics");
        answered += a.status == 200 && a.body.startsWith("# HELP ksr583_up ") ? 1 : 0;
        slowest = qMax(slowest, a.ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    const qint64 grown = HostileClients::residentKb() - before;
    crowd.stop();
    qInfo("%d of %d scrapes answered, the slowest in %.1f ms; %d hostile connections closed; memory %+lld kB",
          answered, Scrapes, slowest, crowd.closedByServer(), grown);
    QCOMPARE(answered, Scrapes);
    // The idle ones were let go, not held for ever.
    QVERIFY(crowd.closedByServer() >= idle);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    QVERIFY2(grown < 16 * 1024, qPrintable(QString::number(grown)));
#endif
}

void tst_MetricsServer::addresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<MetricsServer::StartResult>("result");
    QTest::addColumn<bool>("scrapedOnLoopback");
    using R = MetricsServer::StartResult;
    QTest::newRow("empty: this computer only") << QString() << R::Listening << true;
    QTest::newRow("every address") << "0.0.0.0" << R::Listening << true;
    QTest::newRow("a name") << "localhost" << R::Listening << true;
    QTest::newRow("IPv6 loopback") << "::1" << R::Listening << false;
    QTest::newRow("an address of another computer") << "192.0.2.1" << R::CannotListen << false;
}

void tst_MetricsServer::addresses()
{
    QFETCH(QString, address);
    QFETCH(MetricsServer::StartResult, result);
    QFETCH(bool, scrapedOnLoopback);
    if (address.contains(':') && !QFile::exists("/proc/net/if_inet6"))
        QSKIP("no IPv6 here");
    const int port = Scraper::freePort();
    MetricsServer server(m_board);
    QCOMPARE(server.start(address.toStdString(), port), result);
    QCOMPARE(server.port(), result == MetricsServer::StartResult::Listening ? port : 0);
    QCOMPARE(scraped(port), scrapedOnLoopback);
}

void tst_MetricsServer::portInUse_isReportedAsSuch_andNotShared()
{
    MetricsServer second(m_board);
    QCOMPARE(second.start("127.0.0.1", m_server->port()), MetricsServer::StartResult::PortInUse);
    QCOMPARE(second.port(), 0);
    QVERIFY(!HostileClients(m_server->port()).listensAlongside());
    QVERIFY(scraped(m_server->port()));
}

void tst_MetricsServer::restartOnTheSamePort_listensAtOnce()
{
    // Connections the server closed wait out their time on its side.
    const int port = m_server->port();
    for (int k = 0; k < 3; ++k)
        QVERIFY(scraped(port));
    m_server->stop();
    QCOMPARE(m_server->start("127.0.0.1", port), MetricsServer::StartResult::Listening);
    QVERIFY(scraped(port));
}

QTEST_GUILESS_MAIN(tst_MetricsServer)
#include "tst_metricsserver.moc"
