#pragma once

#include "ServiceLimits.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class ClientChannel;
class ClientSession;
class LinkClock;
class LoginGuard;
class QLocalServer;
class QTcpSocket;
class QWebSocketServer;
class ServiceSide;
class TcpListener;
struct ServiceSettings;

// The service's end of the protocol: the local socket, and WebSocket on TCP
// when configured (TLS off the loopback). Every client is bounded on its
// own (ServiceLimits); all of it runs on the thread that owns the server,
// never on the link's, so no client can hold up a poll.
class ServiceServer : public QObject
{
    Q_OBJECT

public:
    ServiceServer(ServiceSide &side, LoginGuard &logins, std::shared_ptr<LinkClock> clock,
                  const ServiceLimits &limits = ServiceLimits(), QObject *parent = nullptr);
    ~ServiceServer() override;

    // Named in the welcome: the computer and the program with its version.
    void setIdentity(const QString &serviceName, const QString &program);

    // The caller holds the work folder's lock: a socket file left by a
    // service that died is removed first. The file gets mode 0660.
    bool listenLocal(const QString &name, QString *error);
    bool listenTcp(const ServiceSettings &settings, QString *error);
    void close();

    quint16 tcpPort() const;

    // To every attached client (one message, see ServiceMessages).
    void broadcast(const QByteArray &message);
    // The command the service took under `ticket` has run.
    void commandFinished(quint64 ticket, bool ok);

    int attachedCount() const;
    int greetingCount() const;

signals:
    // Clients attaching, logging in, sending commands, dropped: for the program log.
    void logLine(const QString &text, const QString &colour);

private:
    struct Handshake {
        QPointer<QTcpSocket> socket;
        qint64 sinceMs = 0;  // on m_uptime
        bool handedOver = false;  // then QWebSocketServer owns the socket
    };

    void acceptLocal();
    void acceptTcp(QTcpSocket *socket);
    void acceptWebSockets();
    void addSession(ClientChannel *channel);
    void onGreeted(ClientSession *session);
    // Drops the oldest connection that has not said hello while there are too
    // many; false when all of them are within their grace, and the newcomer must go.
    bool makeRoom();
    void dropHandshake(QTcpSocket *socket);

    ServiceSide &m_side;
    LoginGuard &m_logins;
    std::shared_ptr<LinkClock> m_clock;
    ServiceLimits m_limits;
    QString m_serviceName;
    QString m_program;
    std::unique_ptr<QLocalServer> m_local;
    std::unique_ptr<TcpListener> m_tcp;
    std::unique_ptr<QWebSocketServer> m_webSockets;
    QElapsedTimer m_uptime;  // real time: how long connections have waited for their hello
    QList<Handshake> m_handshakes;
    QList<ClientSession *> m_sessions;
    quint64 m_nextId = 1;
};
