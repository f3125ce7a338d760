#pragma once

#include "BoundedHttpServer.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class SnapshotBoard;

// The metrics endpoint: GET /metrics answers with the latest published
// snapshot in the Prometheus text format; any other path gets 404 and any
// other method 405. The server runs on threads of its own and reads the
// board only, so no client can hold up the window or the link.
class MetricsServer
{
    Q_DECLARE_TR_FUNCTIONS(MetricsServer)

public:
    enum class StartResult { Listening, PortInUse, CannotListen };

    // The red line for the message log when the endpoint could not start;
    // empty when it listens.
    static QString problemText(StartResult result, const QString &address, int port);

    explicit MetricsServer(std::shared_ptr<const SnapshotBoard> board,
                           const BoundedHttpServer::Limits &limits = BoundedHttpServer::Limits());
    ~MetricsServer();

    MetricsServer(const MetricsServer &) = delete;
    MetricsServer &operator=(const MetricsServer &) = delete;

    // Binds `address` and `port` (0: any free port) and starts serving. A
    // port outside 0..65535 cannot be listened on.
    StartResult start(const std::string &address, int port);
    // The port bound, or 0 before a successful start.
    int port() const { return m_port; }
    // Stops serving and waits for the server's threads.
    void stop();

private:
    std::shared_ptr<const SnapshotBoard> m_board;
    BoundedHttpServer m_http;
    std::thread m_thread;
    std::atomic<bool> m_listenEnded{false};
    int m_port = 0;
};
