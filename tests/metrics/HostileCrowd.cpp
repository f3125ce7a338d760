#include "HostileCrowd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace {

constexpr int TickMs = 100;
constexpr int ReopenAfterMs = 250;

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

HostileCrowd::HostileCrowd(int port, int idle, int slow, int hosts) : m_port(port)
{
    for (int k = 0; k < idle + slow; ++k) {
        Client c;
        c.slow = k >= idle;
        c.host = hosts > 0 ? k % hosts : -1;
        m_clients.push_back(c);
    }
}

HostileCrowd::~HostileCrowd()
{
    stop();
}

bool HostileCrowd::start()
{
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    const rlim_t wanted = files.rlim_cur + rlim_t(m_clients.size()) + 256;
    if (files.rlim_cur < wanted && files.rlim_max >= wanted) {
        files.rlim_cur = wanted;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    for (Client &c : m_clients) {
        open(c);
        if (c.fd < 0) {
            stop();
            return false;
        }
    }
    m_running = true;
    m_thread = std::thread([this] { run(); });
    return true;
}

void HostileCrowd::stop()
{
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    for (Client &c : m_clients) {
        if (c.fd >= 0)
            ::close(c.fd);
        c.fd = -1;
    }
}

void HostileCrowd::open(Client &client)
{
    client.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (client.fd < 0)
        return;
    sockaddr_in source{};
    source.sin_family = AF_INET;
    source.sin_addr.s_addr = client.host < 0 ? htonl(INADDR_LOOPBACK)
                                             : htonl((127u << 24) | (1u << 8) | unsigned(1 + client.host));
    if (::bind(client.fd, reinterpret_cast<sockaddr *>(&source), sizeof source) != 0) {
        ::close(client.fd);
        client.fd = -1;
        return;
    }
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(uint16_t(m_port));
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // Non-blocking: a server that stops accepting must not stop the crowd.
    ::connect(client.fd, reinterpret_cast<sockaddr *>(&server), sizeof server);
    if (client.slow)
        ::send(client.fd, "GET /", 5, MSG_NOSIGNAL);
}

void HostileCrowd::run()
{
    std::vector<pollfd> polled(m_clients.size());
    long long nextByteAt = 0;
    while (m_running) {
        for (size_t k = 0; k < m_clients.size(); ++k)
            polled[k] = pollfd{m_clients[k].fd, POLLIN, 0};
        ::poll(polled.data(), polled.size(), TickMs);
        const long long now = nowMs();
        const bool byteDue = now >= nextByteAt;
        if (byteDue)
            nextByteAt = now + TickMs;
        for (size_t k = 0; k < m_clients.size(); ++k) {
            Client &c = m_clients[k];
            if (c.fd < 0) {
                if (now >= c.reopenAtMs)
                    open(c);
                continue;
            }
            if (polled[k].revents) {
                char buffer[4096];
                const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
                if (n == 0 || (n < 0 && errno != EAGAIN && errno != ENOTCONN)) {
                    ::close(c.fd);
                    c.fd = -1;
                    c.reopenAtMs = now + ReopenAfterMs;
                    ++m_closed;
                    continue;
                }
            }
            if (c.slow && byteDue)
                ::send(c.fd, "a", 1, MSG_NOSIGNAL);
        }
    }
}
