#include "HostileClients.h"

#include <QElapsedTimer>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

// Reads until the peer closes or `ms` pass; false when still open then.
bool closedWithin(int fd, int ms, QByteArray *received = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    char buffer[4096];
    while (timer.elapsed() < ms) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return true;
        if (received)
            received->append(buffer, int(n));
    }
    return false;
}

// Sends until done or the peer stops taking bytes.
void sendAll(int fd, const QByteArray &bytes)
{
    qint64 sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += n;
    }
}

}  // namespace

int HostileClients::connectClient() const
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{3, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray HostileClients::exchange(const QByteArray &request, bool *closed) const
{
    const int fd = connectClient();
    if (fd < 0)
        return QByteArray();
    sendAll(fd, request);
    QByteArray answer;
    const bool ended = closedWithin(fd, 5000, &answer);
    if (closed)
        *closed = ended;
    ::close(fd);
    return answer;
}

int HostileClients::sendHugeRequests() const
{
    const QByteArray hugeLine = "GET /" + QByteArray(4 << 20, 'a');
    std::atomic<int> cutOff{0};
    std::vector<std::thread> senders;
    for (int k = 0; k < 8; ++k) {
        senders.emplace_back([&] {
            const int fd = connectClient();
            sendAll(fd, hugeLine);
            if (closedWithin(fd, 5000))
                ++cutOff;
            ::close(fd);
        });
    }
    senders.emplace_back([&] {
        const int fd = connectClient();
        sendAll(fd, "GET /metrics HTTP/1.1\r\n");
        QElapsedTimer timer;
        timer.start();
        pollfd p{fd, POLLIN, 0};
        while (timer.elapsed() < 5000 && ::poll(&p, 1, 0) == 0)
            sendAll(fd, "X-Padding: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n");
        if (closedWithin(fd, 5000))
            ++cutOff;
        ::close(fd);
    });
    for (std::thread &t : senders)
        t.join();
    return cutOff;
}

bool HostileClients::listensAlongside() const
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool listens =
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && ::listen(fd, 1) == 0;
    ::close(fd);
    return listens;
}

qint64 HostileClients::residentKb(qint64 pid)
{
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}
