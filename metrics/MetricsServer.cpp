#include "MetricsServer.h"

#include "MetricsCollector.h"
#include "MetricsText.h"

#include "status/SnapshotBoard.h"

#include <cerrno>

namespace {

bool portInUse()
{
    // The library binds with the platform's own calls; their error is left
    // for the caller.
#ifdef _WIN32
    return WSAGetLastError() == WSAEADDRINUSE;
#else
    return errno == EADDRINUSE;
#endif
}

}  // namespace

MetricsServer::MetricsServer(std::shared_ptr<const SnapshotBoard> board,
                             const BoundedHttpServer::Limits &limits)
    : m_board(std::move(board)), m_http(limits)
{
    // Only SO_REUSEADDR, for a quick restart: the library's default also
    // sets SO_REUSEPORT, which would let a second program share the port
    // instead of being told it is taken.
    m_http.set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char *>(&yes), sizeof yes);
    });
    m_http.set_pre_routing_handler([](const httplib::Request &req, httplib::Response &res) {
        if (req.method == "GET")
            return httplib::Server::HandlerResponse::Unhandled;
        res.status = 405;
        res.set_header("Allow", "GET");
        return httplib::Server::HandlerResponse::Handled;
    });
    m_http.Get("/metrics", [this](const httplib::Request &, httplib::Response &res) {
        res.set_content(MetricsCollector::exposition(*m_board), MetricsText::ContentType);
    });
}

MetricsServer::~MetricsServer()
{
    stop();
}

QString MetricsServer::problemText(StartResult result, const QString &address, int port)
{
    switch (result) {
    case StartResult::Listening:
        break;
    case StartResult::PortInUse:
        return tr("Metrics port %1 is in use").arg(port);
    case StartResult::CannotListen:
        return tr("Metrics endpoint cannot listen on %1 port %2").arg(address).arg(port);
    }
    return QString();
}

MetricsServer::StartResult MetricsServer::start(const std::string &address, int port)
{
    if (m_thread.joinable())
        return StartResult::Listening;
    if (port < 0 || port > 65535)
        return StartResult::CannotListen;
    errno = 0;
    if (port == 0) {
        m_port = m_http.bind_to_any_port(address);
        if (m_port <= 0) {
            m_port = 0;
            return StartResult::CannotListen;
        }
    } else if (m_http.bind_to_port(address, port)) {
        m_port = port;
    } else {
        return portInUse() ? StartResult::PortInUse : StartResult::CannotListen;
    }
    m_http.widenBacklog();
    m_listenEnded = false;
    m_thread = std::thread([this] {
        m_http.listen_after_bind();
        m_listenEnded = true;
    });
    return StartResult::Listening;
}

void MetricsServer::stop()
{
    if (!m_thread.joinable())
        return;
    // A stop before the loop has begun would be lost: wait until it runs.
    while (!m_http.is_running() && !m_listenEnded)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_http.stop();
    m_thread.join();
    m_port = 0;
}
