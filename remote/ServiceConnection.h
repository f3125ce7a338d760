#pragma once

#include "protocol/LineFramer.h"
#include "protocol/ServiceMessages.h"
#include "protocol/ViewValues.h"

#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class CertificatePins;
class ProtocolMessage;
class QLocalSocket;
class QWebSocket;

// A window's connection to a service: the local socket of a work folder, or
// ws:// and wss:// on TCP. Greets in this protocol version (a service of
// another version is refused, and says so itself), turns the service's
// messages into values, and attaches again on its own after a loss, waiting
// longer after each failed try.
class ServiceConnection : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Disconnected,  // waiting to try again
        Connecting,
        Attached,      // the snapshot has arrived
        Refused,       // another protocol version or an unknown certificate: no new try
        Closed,        // closed by the window
    };
    Q_ENUM(State)

    // Asked when a service shows a certificate that no authority vouches for
    // and none is pinned for it: true accepts (and pins) it. Without a hook
    // such a certificate is refused.
    using CertificateHook = std::function<bool(const QString &peer, const QSslCertificate &certificate)>;

    explicit ServiceConnection(const QString &clientName, QObject *parent = nullptr);
    ~ServiceConnection() override;

    void setPins(CertificatePins *pins) { m_pins = pins; }
    void setCertificateHook(CertificateHook hook) { m_hook = std::move(hook); }
    void setRetryDelays(int firstMs, int longestMs);

    void openLocal(const QString &serverName);
    void openUrl(const QUrl &url);
    void close();

    State state() const { return m_state; }
    QString serviceName() const { return m_serviceName; }
    int retryDelayMs() const { return m_delayMs; }

    void login(const QString &login, const QString &password);
    void logout();
    // Returns the id the answer names.
    qint64 submit(int code, const CommandParameters &params, const QString &login = QString(),
                  const QString &password = QString());
    qint64 abortSteering();
    qint64 ping();
    // A History request (ServiceMessages); false when not attached.
    bool sendHistory(const QByteArray &message);

signals:
    void stateChanged(ServiceConnection::State state);
    // For good (reason "version" or "certificate"): no new try follows.
    void refused(const QString &reason, const QString &text);
    // The service's error message: "busy", "tooManyRequests", "malformed", ...
    void serviceError(const QString &reason, const QString &text);
    void snapshotReceived(const ServiceSnapshot &snapshot);
    void recordReceived(const PollReading &reading);
    void resultsReceived(const LinkResults &results, ServiceMessages::ResultsEvent event);
    void lineReceived(const ServiceLine &line);
    void linkChanged(const LinkView &status);
    void titleChanged(const QString &item);
    void deviceInfoReceived(const DeviceInfo &info);
    void progressChanged(const WorkProgress &progress);
    void countersChanged(const LinkCounters &counters);
    void channelNamesChanged(const QStringList &names);
    void loginAnswered(const ServiceMessages::LoginReply &reply);
    void commandAnswered(qint64 id, int code, const QString &outcome, const QString &reason);
    void pongReceived(qint64 id);
    void historyViewReceived(int id, const HistoryView &view, TimeRange extent);
    void stabilityReceived(int id, const StabilityResult &result);
    void historyChunkReceived(int id, const ExportChunk &chunk);
    void historyProgressReceived(int id, int percent);
    void historyUnavailableReceived(int id, const QString &reason);
    // The service broke the protocol or the connection failed: for the log.
    void problem(const QString &text);

private:
    void start();
    void send(const QByteArray &message);
    void onBytes(const QByteArray &bytes);
    bool dispatch(const ProtocolMessage &m, QString *why);
    bool dispatchHistory(const ProtocolMessage &m, QString *why);
    void onClosed();
    void setState(State s);
    void refuse(const QString &reason, const QString &text);
    void onSslErrors(const QList<QSslError> &errors);
    void drop();

    QString m_clientName;
    QString m_localName;
    QUrl m_url;
    std::unique_ptr<QLocalSocket> m_local;
    std::unique_ptr<QWebSocket> m_ws;
    LineFramer m_framer;
    CertificatePins *m_pins = nullptr;
    CertificateHook m_hook;
    QTimer m_retry;
    int m_firstDelayMs = 1000;
    int m_longestDelayMs = 30000;
    int m_delayMs = 1000;
    State m_state = State::Closed;
    bool m_welcomed = false;
    QString m_serviceName;
    qint64 m_nextId = 1;
};
