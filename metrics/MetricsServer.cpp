#include "MetricsServer.h"

#include "MetricsCollector.h"
#include "MetricsText.h"

#include "platform/OpenFileLimit.h"
#include "platform/SocketAddress.h"
#include "status/SnapshotBoard.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTcpServer>

#include <microhttpd.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// Files the rest of the program may hold beside the endpoint's connections:
// the serial port, logs, the history, the window system.
constexpr int ReservedFiles = 256;

QHostAddress hostAddress(const std::string &address)
{
    if (address.empty())
        return QHostAddress(QHostAddress::LocalHost);
    const QString text = QString::fromStdString(address);
    const QHostAddress literal(text);
    if (!literal.isNull())
        return literal;
    const QList<QHostAddress> found = QHostInfo::fromName(text).addresses();
    for (const QHostAddress &a : found) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    }
    return found.value(0);
}

std::optional<SocketAddress> socketAddress(const QHostAddress &host, int port)
{
    if (host.protocol() == QAbstractSocket::IPv4Protocol)
        return SocketAddress::ipv4(host.toIPv4Address(), quint16(port));
    if (host.protocol() == QAbstractSocket::IPv6Protocol) {
        const Q_IPV6ADDR bytes = host.toIPv6Address();
        SocketAddress::IPv6Bytes copy;
        std::memcpy(copy.data(), bytes.c, copy.size());
        return SocketAddress::ipv6(copy, quint16(port));
    }
    return std::nullopt;
}

// Whether another socket holds the port: the server library does not say
// why it could not bind, so ask the system once more through Qt.
bool portTaken(const QHostAddress &host, int port)
{
    QTcpServer probe;
    return !probe.listen(host, quint16(port)) && probe.serverError() == QAbstractSocket::AddressInUseError;
}

MHD_Result respond(MHD_Connection *connection, unsigned status, const std::string &body)
{
    MHD_Response *response =
        MHD_create_response_from_buffer(body.size(), const_cast<char *>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response)
        return MHD_NO;
    // One request per connection: a client holds a slot only while it asks.
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
    if (status == MHD_HTTP_OK)
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, MetricsText::ContentType);
    if (status == MHD_HTTP_METHOD_NOT_ALLOWED)
        MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "GET");
    const MHD_Result queued = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return queued;
}

// Called on the server's thread once a request's header is in. Any Range
// header is ignored: the answer is always the metrics, once.
MHD_Result answer(void *board, MHD_Connection *connection, const char *url, const char *method, const char *,
                  const char *, size_t *, void **)
{
    if (std::strcmp(method, MHD_HTTP_METHOD_GET) != 0)
        return respond(connection, MHD_HTTP_METHOD_NOT_ALLOWED, std::string());
    if (std::strcmp(url, "/metrics") != 0)
        return respond(connection, MHD_HTTP_NOT_FOUND, std::string());
    try {
        return respond(connection, MHD_HTTP_OK,
                       MetricsCollector::exposition(*static_cast<const SnapshotBoard *>(board)));
    } catch (const std::exception &) {
        // Nothing may unwind into the library's C code.
        return MHD_NO;
    }
}

MHD_OptionItem option(MHD_OPTION name, intptr_t value, void *pointer = nullptr)
{
    return MHD_OptionItem{name, value, pointer};
}

// epoll or poll, which take any number of sockets; 0 where the library has
// only select(), which takes FD_SETSIZE of them (on Windows, as few as 64).
unsigned pollingFlag()
{
    if (MHD_is_feature_supported(MHD_FEATURE_EPOLL) == MHD_YES)
        return MHD_USE_EPOLL;
    if (MHD_is_feature_supported(MHD_FEATURE_POLL) == MHD_YES)
        return MHD_USE_POLL;
    return 0;
}

}  // namespace

MetricsServer::MetricsServer(std::shared_ptr<const SnapshotBoard> board) : MetricsServer(std::move(board), Limits())
{
}

MetricsServer::MetricsServer(std::shared_ptr<const SnapshotBoard> board, const Limits &limits)
    : m_board(std::move(board)), m_limits(limits)
{
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
    if (m_daemon)
        return StartResult::Listening;
    if (port < 0 || port > 65535)
        return StartResult::CannotListen;
    const QHostAddress host = hostAddress(address);
    const std::optional<SocketAddress> where = socketAddress(host, port);
    if (!where)
        return StartResult::CannotListen;

    // A thousand clients need a thousand sockets, more than a session lets a
    // process open by default.
    const int files = OpenFileLimit::forThisSystem()->raiseTo(m_limits.connections + ReservedFiles);
    const int connections = files > 0 ? qBound(1, files - ReservedFiles, m_limits.connections) : m_limits.connections;

    const unsigned polling = pollingFlag();
    std::vector<MHD_OptionItem> options{
        option(MHD_OPTION_SOCK_ADDR, 0, const_cast<sockaddr *>(where->data())),
        option(MHD_OPTION_PER_IP_CONNECTION_LIMIT, qMin(m_limits.perAddress, qMax(1, connections * 3 / 5))),
        option(MHD_OPTION_CONNECTION_TIMEOUT, m_limits.idleSeconds),
        option(MHD_OPTION_CONNECTION_MEMORY_LIMIT, intptr_t(m_limits.connectionBytes)),
    };
    // With select() the library's own limit is already all it can take.
    if (polling != 0)
        options.push_back(option(MHD_OPTION_CONNECTION_LIMIT, connections));
#ifdef _WIN32
    // SO_EXCLUSIVEADDRUSE: with SO_REUSEADDR alone Windows would let another
    // program bind the same port. Elsewhere the library's default
    // (SO_REUSEADDR only) is right: a restart must not wait for old
    // connections to time out, and no second listener may join.
    options.push_back(option(MHD_OPTION_LISTENING_ADDRESS_REUSE, 0));
#endif
    options.push_back(option(MHD_OPTION_END, 0));

    const unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | polling | (where->isIPv6() ? MHD_USE_DUAL_STACK : 0);
    m_daemon = MHD_start_daemon(flags, quint16(port), nullptr, nullptr, &answer,
                                const_cast<SnapshotBoard *>(m_board.get()), MHD_OPTION_ARRAY, options.data(),
                                MHD_OPTION_END);
    if (!m_daemon)
        return portTaken(host, port) ? StartResult::PortInUse : StartResult::CannotListen;
    const MHD_DaemonInfo *bound = MHD_get_daemon_info(m_daemon, MHD_DAEMON_INFO_BIND_PORT);
    m_port = bound ? bound->port : port;
    return StartResult::Listening;
}

void MetricsServer::stop()
{
    if (!m_daemon)
        return;
    MHD_stop_daemon(m_daemon);
    m_daemon = nullptr;
    m_port = 0;
}
