#pragma once

#include <httplib.h>

#include <chrono>

// One accepted connection as the HTTP library reads and writes it, with two
// bounds the library itself does not keep: a deadline for the whole
// exchange, and a budget of bytes the client may send. Past either, reads and
// writes fail and the connection ends, so a client that sends slowly, never,
// or without end holds neither a worker nor memory for long.
class BoundedStream : public httplib::Stream
{
public:
    using Clock = std::chrono::steady_clock;

    BoundedStream(socket_t sock, Clock::time_point deadline, size_t readBudget);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char *ptr, size_t size) override;
    ssize_t write(const char *ptr, size_t size) override;
    void get_remote_ip_and_port(std::string &ip, int &port) const override;
    void get_local_ip_and_port(std::string &ip, int &port) const override;
    socket_t socket() const override { return m_sock; }

    // Closes a connection at once, with a short "busy" answer when the
    // socket takes it without waiting.
    static void refuse(socket_t sock);
    static void close(socket_t sock);

private:
    // Waits for the socket until the deadline; true when it is ready.
    bool waitFor(bool reading) const;

    socket_t m_sock;
    Clock::time_point m_deadline;
    size_t m_budget;
    char m_buffer[4096];
    size_t m_begin = 0;
    size_t m_end = 0;
};
