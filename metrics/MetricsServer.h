#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstddef>
#include <memory>
#include <string>

class SnapshotBoard;
struct MHD_Daemon;

// The metrics endpoint: GET /metrics answers with the latest published
// snapshot in the Prometheus text format; any other path gets 404 and any
// other method 405. libmicrohttpd serves it from a thread of its own that
// waits on all connections at once, so a crowd of idle or slow clients holds
// neither that thread nor the window nor the link, only connections and
// bytes within the limits below. The thread reads the board only.
class MetricsServer
{
    Q_DECLARE_TR_FUNCTIONS(MetricsServer)

public:
    enum class StartResult { Listening, PortInUse, CannotListen };

    // What clients may hold of the endpoint.
    struct Limits {
        // Connections at once, in all; fewer when the system lets the process
        // open fewer files.
        int connections = 2000;
        // Connections at once from one address, so that no one host takes all;
        // at most three fifths of `connections`. Above the crowd a scraper must
        // outlast, since on the default loopback endpoint every client,
        // Prometheus too, has the same address.
        int perAddress = 1200;
        // A connection silent for this long is closed.
        int idleSeconds = 2;
        // Memory for one connection: its request and the answer's header. A
        // longer request line is answered 414, longer headers 431.
        size_t connectionBytes = 8 * 1024;
    };

    // The red line for the message log when the endpoint could not start;
    // empty when it listens.
    static QString problemText(StartResult result, const QString &address, int port);

    explicit MetricsServer(std::shared_ptr<const SnapshotBoard> board);
    MetricsServer(std::shared_ptr<const SnapshotBoard> board, const Limits &limits);
    ~MetricsServer();

    MetricsServer(const MetricsServer &) = delete;
    MetricsServer &operator=(const MetricsServer &) = delete;

    // Binds `address` (a name or an IPv4 or IPv6 address; empty: this
    // computer only) and `port` (0: any free port) and starts serving. A port
    // outside 0..65535 cannot be listened on.
    StartResult start(const std::string &address, int port);
    // The port bound, or 0 before a successful start.
    int port() const { return m_port; }
    // Stops serving, closes every connection and waits for the thread.
    void stop();

private:
    std::shared_ptr<const SnapshotBoard> m_board;
    Limits m_limits;
    MHD_Daemon *m_daemon = nullptr;
    int m_port = 0;
};
