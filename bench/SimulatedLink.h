#pragma once

#include "LinkRunner.h"
#include "RequestLog.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <thread>
#include <vector>

class COMThread;
class LinkClock;
class ProtocolEngine;
class PtyServer;

// The link as the program runs it, polling every second, against the
// simulated instrument on a pseudo-terminal served by a thread of this
// process; each request is stamped as its bytes are read off the terminal.
class SimulatedLink
{
public:
    SimulatedLink();
    // Stops the link, then the instrument.
    ~SimulatedLink();

    // Serves the instrument; false with `error` when no terminal can be had.
    bool open(QString *error);
    COMThread &link() { return m_runner.link(); }
    const RequestLog &log() const { return m_log; }
    // Starts the link's thread; subscribers connect before.
    void start() { m_runner.start(); }

    // What the link did under a steady load: a short command that changes
    // nothing queued every `everyMs` for `seconds`, with the event loop
    // running meanwhile.
    struct Load {
        std::vector<double> commandMs;  // from queueing to the request on the wire
        std::vector<double> pollOffMs;  // |spacing - 1 s| of consecutive polls
    };
    Load measure(int seconds, int everyMs);
    // The poll spacing (p99) and the command latency (median, p99) of `with`
    // as figures named after `condition`, each beside that of `without`.
    static void compare(const QString &condition, const Load &with, const QString &otherwise, const Load &without);

private:
    QTemporaryDir m_dir;
    std::shared_ptr<LinkClock> m_clock;
    std::unique_ptr<ProtocolEngine> m_engine;
    std::unique_ptr<PtyServer> m_server;
    RequestLog m_log;
    std::thread m_serving;
    LinkRunner m_runner;
};
