#include "ServiceServer.h"

#include "ClientSession.h"
#include "LocalChannel.h"
#include "ServiceSettings.h"
#include "TcpListener.h"
#include "TlsFiles.h"
#include "WebSocketChannel.h"

#include "link/LinkClock.h"
#include "protocol/ServiceMessages.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSslSocket>
#include <QSysInfo>
#include <QElapsedTimer>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>
#include <QWebSocketServer>

#include <algorithm>

ServiceServer::ServiceServer(ServiceSide &side, LoginGuard &logins, std::shared_ptr<LinkClock> clock,
                             const ServiceLimits &limits, QObject *parent)
    : QObject(parent),
      m_side(side),
      m_logins(logins),
      m_clock(std::move(clock)),
      m_limits(limits),
      m_serviceName(QSysInfo::machineHostName()),
      m_program(QStringLiteral("ksr583-monitor"))
{
    m_uptime.start();
}

ServiceServer::~ServiceServer()
{
    close();
}

void ServiceServer::setIdentity(const QString &serviceName, const QString &program)
{
    m_serviceName = serviceName;
    m_program = program;
}

bool ServiceServer::listenLocal(const QString &name, QString *error)
{
    m_local = std::make_unique<QLocalServer>();
    m_local->setSocketOptions(QLocalServer::UserAccessOption | QLocalServer::GroupAccessOption);
    m_local->setMaxPendingConnections(128);  // a burst waits in the system, not refused there
    QLocalServer::removeServer(name);
    if (!m_local->listen(name)) {
        *error = tr("The service's local socket %1 cannot be opened: %2").arg(name, m_local->errorString());
        m_local.reset();
        return false;
    }
    connect(m_local.get(), &QLocalServer::newConnection, this, &ServiceServer::acceptLocal);
    return true;
}

bool ServiceServer::listenTcp(const ServiceSettings &settings, QString *error)
{
    m_tcp = std::make_unique<TcpListener>(m_limits.readBufferBytes);
    if (settings.tls) {
        QSslConfiguration tls;
        if (!TlsFiles::load(settings.certificate, settings.key, &tls, error)) {
            m_tcp.reset();
            return false;
        }
        m_tcp->setTls(tls);
    }
    // TLS is done by the listener's sockets; the WebSocket server only upgrades them.
    m_webSockets = std::make_unique<QWebSocketServer>(m_program, QWebSocketServer::NonSecureMode);
    m_webSockets->setHandshakeTimeout(m_limits.greetingMs);
    // A page in a browser names its origin; until the protocol serves pages,
    // none may use an operator's browser to reach the service.
    connect(m_webSockets.get(), &QWebSocketServer::originAuthenticationRequired, this,
            [](QWebSocketCorsAuthenticator *a) { a->setAllowed(a->origin().isEmpty()); });
    connect(m_webSockets.get(), &QWebSocketServer::newConnection, this, &ServiceServer::acceptWebSockets);
    connect(m_tcp.get(), &TcpListener::accepted, this, &ServiceServer::acceptTcp);
    m_tcp->setMaxPendingConnections(128);
    if (!m_tcp->listen(settings.address, settings.port)) {
        *error = tr("The service cannot listen on %1 port %2: %3")
                     .arg(settings.address.toString())
                     .arg(settings.port)
                     .arg(m_tcp->errorString());
        m_tcp.reset();
        m_webSockets.reset();
        return false;
    }
    return true;
}

void ServiceServer::close()
{
    if (m_local)
        m_local->close();
    if (m_tcp)
        m_tcp->close();
    const QList<ClientSession *> sessions = m_sessions;
    m_sessions.clear();
    qDeleteAll(sessions);
    for (const Handshake &h : qAsConst(m_handshakes)) {
        if (h.socket && !h.handedOver)
            delete h.socket.data();
    }
    m_handshakes.clear();
    m_webSockets.reset();
    m_tcp.reset();
    m_local.reset();
}

quint16 ServiceServer::tcpPort() const
{
    return m_tcp ? m_tcp->serverPort() : 0;
}

int ServiceServer::attachedCount() const
{
    return int(std::count_if(m_sessions.cbegin(), m_sessions.cend(),
                             [](const ClientSession *s) { return s->state() == ClientSession::State::Attached; }));
}

int ServiceServer::greetingCount() const
{
    const int greeting = int(std::count_if(m_sessions.cbegin(), m_sessions.cend(), [](const ClientSession *s) {
        return s->state() == ClientSession::State::Greeting;
    }));
    return greeting + m_handshakes.size();
}

bool ServiceServer::makeRoom()
{
    while (greetingCount() >= m_limits.maxGreeting) {
        // The oldest connection that has not said hello: a window says it at once.
        qint64 oldest = std::numeric_limits<qint64>::max();
        ClientSession *session = nullptr;
        int handshake = -1;
        for (ClientSession *s : qAsConst(m_sessions)) {
            if (s->state() == ClientSession::State::Greeting && s->startedMs() < oldest) {
                oldest = s->startedMs();
                session = s;
            }
        }
        for (int i = 0; i < m_handshakes.size(); ++i) {
            if (m_handshakes[i].sinceMs < oldest) {
                oldest = m_handshakes[i].sinceMs;
                handshake = i;
                session = nullptr;
            }
        }
        if (m_uptime.elapsed() - oldest < m_limits.greetingGraceMs)
            return false;
        if (handshake >= 0) {
            dropHandshake(m_handshakes[handshake].socket);
        } else if (session) {
            session->refuse(QStringLiteral("greeting"), tr("Too many connections have not said hello."));
        } else {
            return true;
        }
    }
    return true;
}

void ServiceServer::acceptLocal()
{
    while (QLocalSocket *socket = m_local->nextPendingConnection()) {
        if (!makeRoom()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        addSession(new LocalChannel(socket, m_limits.maxMessageBytes, m_limits.readBufferBytes));
    }
}

void ServiceServer::acceptTcp(QTcpSocket *socket)
{
    if (!makeRoom()) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    m_handshakes.append({socket, m_uptime.elapsed(), false});
    const auto handOver = [this, socket] {
        for (Handshake &h : m_handshakes) {
            if (h.socket == socket && !h.handedOver) {
                h.handedOver = true;
                m_webSockets->handleConnection(socket);
            }
        }
    };
    connect(socket, &QAbstractSocket::disconnected, this, [this, socket] { dropHandshake(socket); });
    QTimer::singleShot(m_limits.greetingMs, socket, [this, socket] { dropHandshake(socket); });
    if (auto *ssl = qobject_cast<QSslSocket *>(socket)) {
        connect(ssl, &QSslSocket::encrypted, this, handOver);
        connect(ssl, QOverload<const QList<QSslError> &>::of(&QSslSocket::sslErrors), this,
                [this, socket] { dropHandshake(socket); });
    } else {
        handOver();
    }
}

void ServiceServer::dropHandshake(QTcpSocket *socket)
{
    for (int i = 0; i < m_handshakes.size(); ++i) {
        if (m_handshakes[i].socket != socket)
            continue;
        const Handshake h = m_handshakes.takeAt(i);
        if (h.socket) {
            h.socket->abort();
            if (!h.handedOver)
                h.socket->deleteLater();
        }
        return;
    }
}

void ServiceServer::acceptWebSockets()
{
    while (QWebSocket *ws = m_webSockets->nextPendingConnection()) {
        // The upgraded socket was a handshake's: it is no longer one.
        m_handshakes.erase(std::remove_if(m_handshakes.begin(), m_handshakes.end(),
                                          [&ws](const Handshake &h) {
                                              return !h.socket
                                                  || (h.socket->peerPort() == ws->peerPort()
                                                      && h.socket->peerAddress() == ws->peerAddress());
                                          }),
                           m_handshakes.end());
        addSession(new WebSocketChannel(ws, m_limits.maxMessageBytes));
    }
}

void ServiceServer::addSession(ClientChannel *channel)
{
    auto *session =
        new ClientSession(m_nextId++, channel, m_side, m_logins, m_clock, m_limits, m_uptime.elapsed(), this);
    m_sessions.append(session);
    connect(session, &ClientSession::logLine, this, &ServiceServer::logLine);
    connect(session, &ClientSession::greeted, this, [this, session] { onGreeted(session); });
    connect(session, &ClientSession::finished, this, [this, session] {
        m_sessions.removeOne(session);
        session->deleteLater();
    });
    session->send(ServiceMessages::welcome(m_serviceName, m_program));
}

void ServiceServer::onGreeted(ClientSession *session)
{
    if (attachedCount() >= m_limits.maxClients) {
        session->refuse(QStringLiteral("busy"),
                        tr("The service has %1 clients already; try again later.").arg(m_limits.maxClients));
        return;
    }
    session->attach();
    emit logLine(tr("Client %1 attached").arg(session->identity().describe()), QStringLiteral("black"));
}

void ServiceServer::broadcast(const QByteArray &message)
{
    // A client dropped on the way leaves the list, not this copy.
    const QList<ClientSession *> sessions = m_sessions;
    for (ClientSession *s : sessions) {
        if (s->state() == ClientSession::State::Attached)
            s->send(message);
    }
}

void ServiceServer::commandFinished(quint64 ticket, bool ok)
{
    const QList<ClientSession *> sessions = m_sessions;
    for (ClientSession *s : sessions) {
        if (s->commandFinished(ticket, ok))
            return;
    }
}
