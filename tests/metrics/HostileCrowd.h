#pragma once

#include <atomic>
#include <thread>
#include <vector>

// An attack that goes on: connections that never send a byte, and slow ones
// that send a request line of no end, a byte every 100 ms. They come from
// loopback addresses other than 127.0.0.1 (127.0.1.1, 127.0.1.2, ...), as
// attackers come from other hosts, and each one the server closes is opened
// again a moment later. With no hosts they come from 127.0.0.1, the address
// of a scraper on the same computer. Runs on a thread of its own. Raw sockets, POSIX only.
class HostileCrowd
{
public:
    HostileCrowd(int port, int idle, int slow, int hosts);
    ~HostileCrowd();

    HostileCrowd(const HostileCrowd &) = delete;
    HostileCrowd &operator=(const HostileCrowd &) = delete;

    // Opens them all and keeps them up; false when this process may not
    // open so many sockets, or the loopback addresses are not there.
    bool start();
    void stop();
    // How often the server has closed one of them so far.
    int closedByServer() const { return m_closed; }

private:
    struct Client {
        int fd = -1;
        bool slow = false;
        int host = 0;
        long long reopenAtMs = 0;
    };

    void open(Client &client);
    void run();

    int m_port;
    std::vector<Client> m_clients;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_closed{0};
};
