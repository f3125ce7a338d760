#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// One client's connection, whatever carries it: whole messages in and out.
class ClientChannel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void send(const QByteArray &message) = 0;
    // Bytes given to send() that the client has not taken yet.
    virtual qint64 queuedBytes() const = 0;
    // Sends what is queued, then ends the connection.
    virtual void close() = 0;
    // Ends the connection at once, dropping what is queued.
    virtual void abort() = 0;
    // "local", or host and port.
    virtual QString address() const = 0;
    // Whose failed logins count together: "local", or the host.
    virtual QString host() const = 0;

signals:
    void received(const QByteArray &message);
    // The client broke the framing (a message too large, binary data).
    void faulted(const QString &reason);
    void closed();
};
