#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

// Where an attached window finds its service: the local socket of a work
// folder, or a WebSocket URL. "host:port" means ws:// on the loopback and
// wss:// elsewhere, since the service offers TCP off the loopback only with
// TLS; a ws:// or wss:// URL is taken as it is. An absolute path names a
// local socket, such as one an SSH tunnel forwards from the service's computer.
struct ServiceAddress
{
    Q_DECLARE_TR_FUNCTIONS(ServiceAddress)

public:
    QString localName;  // set for the local socket
    QUrl url;           // set for TCP
    bool givenSocket = false;  // a socket path given: perhaps a tunnel to elsewhere

    bool isLocal() const { return !localName.isEmpty(); }
    // The computer's own socket or loopback: the service's files can be read here.
    bool sameComputer() const;
    // "the local service" or the host and port, for messages.
    QString describe() const;

    // Empty `text`: the local service of `workFolder`. False, with the reason
    // in `error`, for text that names no host and port.
    static bool parse(const QString &text, const QString &workFolder, ServiceAddress *out, QString *error);
};
