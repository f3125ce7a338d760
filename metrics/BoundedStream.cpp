#include "BoundedStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
namespace {
int pollSocket(socket_t sock, short events, int ms)
{
    WSAPOLLFD p = {};
    p.fd = sock;
    p.events = events;
    return WSAPoll(&p, 1, ms);
}
ssize_t receive(socket_t sock, char *ptr, size_t size)
{
    return ::recv(sock, ptr, int(size), 0);
}
ssize_t sendNow(socket_t sock, const char *ptr, size_t size, bool dontWait)
{
    (void)dontWait;  // the socket is new and its buffer empty: it takes a few bytes
    return ::send(sock, ptr, int(size), 0);
}
}  // namespace
#else
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int pollSocket(socket_t sock, short events, int ms)
{
    pollfd p = {};
    p.fd = sock;
    p.events = events;
    return ::poll(&p, 1, ms);
}
ssize_t receive(socket_t sock, char *ptr, size_t size)
{
    return ::recv(sock, ptr, size, 0);
}
// MSG_NOSIGNAL: a client gone before the answer must not end the program
// through SIGPIPE.
ssize_t sendNow(socket_t sock, const char *ptr, size_t size, bool dontWait)
{
    return ::send(sock, ptr, size, MSG_NOSIGNAL | (dontWait ? MSG_DONTWAIT : 0));
}
}  // namespace
#endif

BoundedStream::BoundedStream(socket_t sock, Clock::time_point deadline, size_t readBudget)
    : m_sock(sock), m_deadline(deadline), m_budget(readBudget)
{
}

bool BoundedStream::waitFor(bool reading) const
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        const int ready = pollSocket(m_sock, reading ? POLLIN : POLLOUT, int(left.count()));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
#ifndef _WIN32
        if (errno == EINTR)
            continue;
#endif
        return false;
    }
}

bool BoundedStream::is_readable() const
{
    return m_begin < m_end || waitFor(true);
}

bool BoundedStream::is_writable() const
{
    return waitFor(false);
}

ssize_t BoundedStream::read(char *ptr, size_t size)
{
    if (m_begin == m_end) {
        if (m_budget == 0 || !waitFor(true))
            return -1;
        const ssize_t n = receive(m_sock, m_buffer, std::min(sizeof m_buffer, m_budget));
        if (n <= 0)
            return n;
        m_budget -= size_t(n);
        m_begin = 0;
        m_end = size_t(n);
    }
    const size_t count = std::min(size, m_end - m_begin);
    std::memcpy(ptr, m_buffer + m_begin, count);
    m_begin += count;
    return ssize_t(count);
}

ssize_t BoundedStream::write(const char *ptr, size_t size)
{
    if (!waitFor(false))
        return -1;
    return sendNow(m_sock, ptr, size, false);
}

void BoundedStream::get_remote_ip_and_port(std::string &ip, int &port) const
{
    // Nothing here asks who the client is.
    ip.clear();
    port = 0;
}

void BoundedStream::get_local_ip_and_port(std::string &ip, int &port) const
{
    ip.clear();
    port = 0;
}

void BoundedStream::refuse(socket_t sock)
{
    static const char busy[] = "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    sendNow(sock, busy, sizeof busy - 1, true);
    close(sock);
}

void BoundedStream::close(socket_t sock)
{
#ifdef _WIN32
    ::shutdown(sock, SD_BOTH);
    ::closesocket(sock);
#else
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
#endif
}
