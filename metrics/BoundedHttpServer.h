#pragma once

#include <httplib.h>

#include <chrono>

// The HTTP library's server with every resource a client can hold bounded:
// a few workers behind a short queue (BoundedTaskQueue), one request per
// connection, a deadline from the moment the connection was accepted, and
// a budget for the bytes of the request (BoundedStream).
class BoundedHttpServer : public httplib::Server
{
public:
    struct Limits {
        size_t workers = 4;
        size_t waiting = 16;
        std::chrono::milliseconds deadline{2000};
        size_t requestBytes = 16 * 1024;
    };

    explicit BoundedHttpServer(const Limits &limits);

    // After binding: lets the system hold a burst of new connections until
    // they are accepted (and most of them refused), instead of dropping
    // them for the client to try again a second later.
    void widenBacklog();

private:
    bool process_and_close_socket(socket_t sock) override;

    Limits m_limits;
};
