#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

// Clients of an HTTP endpoint on 127.0.0.1 that misbehave: request lines of
// megabytes, headers without end, connections that never send a byte.
// Raw sockets, POSIX only.
class HostileClients
{
public:
    explicit HostileClients(int port) : m_port(port) {}
    ~HostileClients();

    // A connected socket, or -1.
    int connectClient() const;
    // Sends `request` and returns all that came back until the server closed
    // (at most 5 s).
    QByteArray exchange(const QByteArray &request) const;

    // Eight request lines of 4 MB and one endless header, all at once.
    // Returns how many of the nine the server cut off within 5 s.
    int sendHugeRequests() const;

    // Opens `count` connections that send nothing. They are kept on high
    // descriptors, so that a server in this process gets low ones.
    bool openIdle(int count);
    // How many idle connections the server has closed within `ms`; all are
    // closed afterwards.
    int idleClosedByServer(int ms);

    // Resident memory of a process (0: this one), in kB, from /proc.
    static qint64 residentKb(qint64 pid = 0);

private:
    int m_port;
    std::vector<int> m_idle;
};
