#pragma once

#include "RateLimiter.h"
#include "ServiceLimits.h"
#include "ServiceSide.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <memory>

class ClientChannel;
class ClientHistory;
class LinkClock;
class LoginGuard;
class ProtocolMessage;

// One client of the service, from its greeting to its end: checks each of its
// messages, answers it, and passes commands that keep every rule to the
// service. It never trusts what the client says about the instrument.
class ClientSession : public QObject
{
    Q_OBJECT

public:
    enum class State { Greeting, Attached, Closing };

    ClientSession(quint64 id, ClientChannel *channel, ServiceSide &side, LoginGuard &logins,
                  std::shared_ptr<LinkClock> clock, const ServiceLimits &limits, qint64 startedMs,
                  QObject *parent = nullptr);
    ~ClientSession() override;

    State state() const { return m_state; }
    const ClientIdentity &identity() const { return m_identity; }
    qint64 startedMs() const { return m_startedMs; }  // on the server's real-time clock

    // Sends unless the client holds too much unread; then drops it. A
    // `large` message (a History answer) is sent once the client has taken
    // all but the bound, and the bound grows by it until the client has.
    void send(const QByteArray &message, bool large = false);
    // Admits a client that said hello: the snapshot goes out.
    void attach();
    // Refuses with a reason ("busy", "greeting", ...) and ends the connection.
    void refuse(const QString &reason, const QString &text);
    // The command of `ticket` has run; false when it is not this client's.
    bool commandFinished(quint64 ticket, bool ok);

signals:
    void greeted();  // said hello in this protocol version
    void finished();  // the connection has ended
    void logLine(const QString &text, const QString &colour);

private:
    struct Pending {
        qint64 id;
        int code;
    };

    void onMessage(const QByteArray &bytes);
    void onHello(const ProtocolMessage &m);
    void onLogin(const ProtocolMessage &m);
    void onCommand(const ProtocolMessage &m);
    void onAbortSteering(const ProtocolMessage &m);
    void onPing(const ProtocolMessage &m);
    // Watching needs no login, so neither does the history.
    void onHistory(const ProtocolMessage &m);
    void drop(const QString &why);
    void reject(qint64 id, int code, const QString &reason);
    bool mayCommand(qint64 id, int code);

    quint64 m_id;
    ClientChannel *m_channel;
    ServiceSide &m_side;
    LoginGuard &m_logins;
    std::shared_ptr<LinkClock> m_clock;
    ServiceLimits m_limits;
    ClientIdentity m_identity;
    RateLimiter m_rate;
    QTimer m_greeting;
    State m_state = State::Greeting;
    qint64 m_startedMs = 0;
    int m_refusedInRow = 0;
    bool m_commandsFull = false;  // the last command met this client's bound of waiting ones
    QHash<quint64, Pending> m_pending;  // by ticket
    qint64 m_allowance = 0;  // the bound's growth for the last large message
    std::unique_ptr<ClientHistory> m_history;  // once the window asks for history
};
