#pragma once

#include "access/LoginGuard.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSide.h"

#include <QHash>
#include <QObject>

#include <deque>
#include <memory>

class LocalCore;
struct Configuration;
struct ServiceSettings;

// The service's instrument for its clients: keeps what an attached window
// shows (the records, the link, the title, the device, the progress and the
// last lines of the message log), tells every client each change, and takes
// their commands into the core's queue. A client's journal download goes to
// the service's own journal folder, whatever folder the client names.
class ServiceHost : public QObject, public ServiceSide
{
    Q_OBJECT

public:
    // Commands of all clients queued and not yet run; past it they are refused.
    static constexpr int MaxQueued = 32;

    ServiceHost(LocalCore &core, std::shared_ptr<LinkClock> clock, QObject *parent = nullptr);
    ~ServiceHost() override;

    // The accounts file and the lock-out of the configuration.
    void useLogins(const Configuration &config);
    // The local socket of the work folder, and TCP when the configuration
    // asks for it. Every problem is said in the program log; false when the
    // local socket could not be opened.
    bool listen(const QString &workFolder, const ServiceSettings &settings);

    ServiceServer &server() { return *m_server; }

    ServiceSnapshot snapshot() const override;
    CommandParameters parameters() const override;
    quint64 submit(const CommandSubmission &command, QString *refusal) override;
    bool abortSteering(const ClientIdentity &who, QString *refusal) override;
    void announce(const QString &text, const QString &colour) override;
    QString historyDatabase() const override;

private:
    void follow();
    void onLine(const QString &text, const QString &colour, const QDateTime &time);
    void onCommandDone(quint64 ticket, int code, bool ok);
    void setLink(const LinkView &link);
    void setProgress(const WorkProgress &progress);

    LocalCore &m_core;
    LoginGuard m_logins;
    std::unique_ptr<ServiceServer> m_server;
    ServiceSnapshot m_state;  // without its lines, kept below
    std::deque<ServiceLine> m_lines;
    QHash<quint64, CommandSubmission> m_running;  // by the link's ticket
    bool m_refusing = false;  // the last command was refused for a full queue
};
