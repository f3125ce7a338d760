#pragma once

#include "protocol/ViewValues.h"

#include "link/CommandParameters.h"

#include <QString>

// Who sent something to the service.
struct ClientIdentity {
    quint64 id = 0;   // the connection, counted from 1
    QString address;  // "local", or "192.0.2.7:53422"
    QString account;  // empty before a login
    int level = 0;

    // "alice at 192.0.2.7:53422", for log lines and outcome lines.
    QString describe() const;
};

// A command that passed the checks and the access rules.
struct CommandSubmission {
    int code = 0;
    CommandParameters params;  // the service's block with this command's fields laid over it
    ClientIdentity sender;
};

// What the server asks of the service that runs the instrument. The server
// calls it on its own thread only.
class ServiceSide
{
public:
    virtual ~ServiceSide() = default;

    // Everything a window shows, as it is now.
    virtual ServiceSnapshot snapshot() const = 0;
    // The parameter block the service holds: a submitted command's fields
    // are laid over it.
    virtual CommandParameters parameters() const = 0;
    // Queues a command; returns a ticket (> 0) that ServiceServer::
    // commandFinished() names once it has run, or 0 and why not.
    virtual quint64 submit(const CommandSubmission &command, QString *refusal) = 0;
    virtual bool abortSteering(const ClientIdentity &who, QString *refusal) = 0;
    // A line for every window and the service's log.
    virtual void announce(const QString &text, const QString &colour) = 0;
    // The history file that attached windows read; empty when there is none.
    virtual QString historyDatabase() const { return QString(); }
};
