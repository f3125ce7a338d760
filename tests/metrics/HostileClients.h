#pragma once

#include <QByteArray>
#include <QtGlobal>

// Clients of an HTTP endpoint on 127.0.0.1 that misbehave: request lines of
// megabytes, headers without end, a second program after the same port.
// Raw sockets, POSIX only.
class HostileClients
{
public:
    explicit HostileClients(int port) : m_port(port) {}

    // A connected socket, or -1.
    int connectClient() const;
    // Sends `request` and returns all that came back until the server closed
    // (at most 5 s); `closed` tells whether it did.
    QByteArray exchange(const QByteArray &request, bool *closed = nullptr) const;

    // Eight request lines of 4 MB and one endless header, all at once.
    // Returns how many of the nine the server cut off within 5 s.
    int sendHugeRequests() const;

    // Whether a socket asking to share the address (SO_REUSEADDR and
    // SO_REUSEPORT) can listen on the port beside the server.
    bool listensAlongside() const;

    // Resident memory of a process (0: this one), in kB, from /proc.
    static qint64 residentKb(qint64 pid = 0);

private:
    int m_port;
};
