#include "Scraper.h"

#include <QElapsedTimer>

#include <cerrno>
#include <random>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Waits for `events` on `fd` until the deadline; false when it passed.
bool waitFor(int fd, short events, const QElapsedTimer &timer, int timeoutMs)
{
    for (;;) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
    }
}

// The length the header gives the body, or -1 without one.
qint64 contentLength(const QByteArray &header)
{
    const QByteArray lower = header.toLower();
    const int at = lower.indexOf("\r\ncontent-length:");
    if (at < 0)
        return -1;
    const int lineEnd = lower.indexOf("\r\n", at + 2);
    return lower.mid(at + 17, lineEnd < 0 ? -1 : lineEnd - at - 17).trimmed().toLongLong();
}

// The answer is whole when its body has the length the header gave, or,
// without one, when the server closed.
bool complete(const QByteArray &received, bool closed)
{
    const int end = received.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const qint64 length = contentLength(received.left(end + 2));
    return length < 0 ? closed : received.size() - end - 4 >= length;
}

}  // namespace

Scraper::Answer Scraper::get(int port, const QByteArray &path, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    Answer answer;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    const QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
        + "\r\nAccept: text/plain;version=0.0.4\r\nX-Prometheus-Scrape-Timeout-Seconds: "
        + QByteArray::number(timeoutMs / 1000.0) + "\r\nConnection: close\r\n\r\n";
    qint64 sent = 0;
    QByteArray received;
    bool closed = false;
    while (!closed && !complete(received, false)) {
        const bool sending = sent < request.size();
        if (!waitFor(fd, sending ? POLLOUT : POLLIN, timer, timeoutMs))
            break;
        if (sending) {
            const ssize_t n = ::send(fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN)
                break;
            sent += qMax<ssize_t>(n, 0);
            continue;
        }
        char buffer[16384];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0)
            received.append(buffer, int(n));
        closed = n == 0 || (n < 0 && errno != EAGAIN);
    }
    ::close(fd);
    answer.ms = timer.nsecsElapsed() / 1e6;
    const int end = received.indexOf("\r\n\r\n");
    if (!complete(received, closed) || !received.startsWith("HTTP/1."))
        return answer;
    answer.header = received.left(end + 2);
    answer.body = received.mid(end + 4);
    answer.status = received.mid(9, 3).toInt();
    return answer;
}

int Scraper::freePort()
{
    // Below the kernel's ephemeral range (32768 and up): a port from that range
    // may become some client connection's own before the server binds it, and
    // then a server on every address cannot listen.
    static std::mt19937 pick(std::random_device{}());
    std::uniform_int_distribution<int> below(20000, 32000);
    for (;;) {
        const int port = below(pick);
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        address.sin_port = htons(quint16(port));
        const bool free = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(fd);
        if (free)
            return port;
    }
}
