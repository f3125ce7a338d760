#include "metrics/MetricsServer.h"
#include "status/SnapshotBoard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

// The endpoint over real sockets on 127.0.0.1, with clients that misbehave.
class tst_MetricsServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void requests_data();
    void requests();
    void hostileClients_areCutOff_othersStillAnswered();
    void portInUse_isReportedAsSuch();

private:
    int connectClient() const;
    // Status line of a plain GET, or an empty text when none came.
    QByteArray get(const QByteArray &request) const;
    bool getsMetrics() const { return get("GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n").startsWith("HTTP/1.1 200"); }

    std::shared_ptr<SnapshotBoard> m_board;
    std::unique_ptr<MetricsServer> m_server;
};

namespace {

// Reads until the peer closes or `ms` pass; false when still open then.
bool closedWithin(int fd, int ms, QByteArray *received = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    char buffer[4096];
    while (timer.elapsed() < ms) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return true;
        if (received)
            received->append(buffer, int(n));
    }
    return false;
}

// Sends until done or the peer stops taking bytes.
void sendAll(int fd, const QByteArray &bytes)
{
    qint64 sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += n;
    }
}

qint64 residentKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
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

int tst_MetricsServer::connectClient() const
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(m_server->port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{3, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray tst_MetricsServer::get(const QByteArray &request) const
{
    const int fd = connectClient();
    if (fd < 0)
        return QByteArray();
    sendAll(fd, request);
    QByteArray answer;
    closedWithin(fd, 5000, &answer);
    ::close(fd);
    return answer;
}

void tst_MetricsServer::requests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("GET /metrics") << QByteArray("GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n")
                                  << QByteArray("HTTP/1.1 200")
                                  << QByteArray("Content-Type: text/plain; version=0.0.4; charset=utf-8");
    QTest::newRow("another path") << QByteArray("GET / HTTP/1.1\r\n\r\n") << QByteArray("HTTP/1.1 404")
                                  << QByteArray();
    QTest::newRow("POST") << QByteArray("POST /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc")
                          << QByteArray("HTTP/1.1 405") << QByteArray("Allow: GET");
    QTest::newRow("HEAD") << QByteArray("HEAD /metrics HTTP/1.1\r\n\r\n") << QByteArray("HTTP/1.1 405")
                          << QByteArray("Allow: GET");
    QTest::newRow("garbage bytes") << QByteArray("\x01\xff\r\n\x00zz\r\n\r\n", 10) << QByteArray("HTTP/1.1 400")
                                   << QByteArray();
}

void tst_MetricsServer::requests()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, header);
    const QByteArray answer = get(request);
    QVERIFY2(answer.startsWith(status), answer.left(200).constData());
    QVERIFY(answer.contains(header));
    if (status.endsWith("200"))
        QVERIFY(answer.contains("\r\n\r\n# HELP ksr583_up "));
}

void tst_MetricsServer::hostileClients_areCutOff_othersStillAnswered()
{
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur < 2500) {
        files.rlim_cur = std::min<rlim_t>(files.rlim_max, 2500);
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    if (files.rlim_cur < 2500)
        QSKIP("this process may not open 2500 files");

    // The window publishes new snapshots all along.
    std::atomic<bool> publishing{true};
    std::thread publisher([&] {
        for (quint64 n = 0; publishing; ++n) {
            auto s = std::make_shared<StatusSnapshot>();
            s->counters.polls = n;
            m_board->publish(s);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    // A request line of 4 MB on eight connections at once, and an endless
    // header: the server stops reading each after a few kilobytes.
    const QByteArray hugeLine = "GET /" + QByteArray(4 << 20, 'a');
    const qint64 before = residentKb();
    std::vector<std::thread> senders;
    std::atomic<int> cutOff{0};
    for (int k = 0; k < 8; ++k) {
        senders.emplace_back([&] {
            const int fd = connectClient();
            sendAll(fd, hugeLine);
            if (closedWithin(fd, 5000))
                ++cutOff;
            ::close(fd);
        });
    }
    senders.emplace_back([&] {
        const int fd = connectClient();
        sendAll(fd, "GET /metrics HTTP/1.1\r\n");
        QElapsedTimer timer;
        timer.start();
        pollfd p{fd, POLLIN, 0};
        while (timer.elapsed() < 5000 && ::poll(&p, 1, 0) == 0)
            sendAll(fd, "X-Padding: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n");
        if (closedWithin(fd, 5000))
            ++cutOff;
        ::close(fd);
    });
    for (std::thread &t : senders)
        t.join();
    QCOMPARE(cutOff.load(), 9);
    QVERIFY2(residentKb() - before < 16 * 1024, qPrintable(QString::number(residentKb() - before)));
    QVERIFY(getsMetrics());

    // A thousand connections that never send a byte. Moved to high
    // descriptors, so that the server's own stay where select() can see them.
    std::vector<int> idle;
    for (int k = 0; k < 1000; ++k) {
        const int fd = connectClient();
        QVERIFY(fd >= 0);
        idle.push_back(::fcntl(fd, F_DUPFD, 1200));
        ::close(fd);
    }
    QElapsedTimer recovery;
    recovery.start();
    QTRY_VERIFY_WITH_TIMEOUT(getsMetrics(), 10000);
    const qint64 recoveredMs = recovery.elapsed();
    int closedByServer = 0;
    for (int fd : idle) {
        closedByServer += closedWithin(fd, 3000) ? 1 : 0;
        ::close(fd);
    }
    publishing = false;
    publisher.join();
    QCOMPARE(closedByServer, 1000);
    qInfo("answered again %lld ms after 1000 idle connections", recoveredMs);
}

void tst_MetricsServer::portInUse_isReportedAsSuch()
{
    MetricsServer second(m_board);
    QCOMPARE(second.start("127.0.0.1", m_server->port()), MetricsServer::StartResult::PortInUse);
    QCOMPARE(second.port(), 0);
    QVERIFY(getsMetrics());
}

QTEST_GUILESS_MAIN(tst_MetricsServer)
#include "tst_metricsserver.moc"
