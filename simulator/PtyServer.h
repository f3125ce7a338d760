#pragma once

#include "AnswerQueue.h"
#include "ProtocolEngine.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class LinkClock;

// Serves a ProtocolEngine on a POSIX pseudo-terminal, so that any serial
// program can talk to the simulated instrument through the terminal's path
// (or a symbolic link to it). Optionally reads line commands from a FIFO.
// POSIX only: the simulator and the tests use it, the monitor never does.
class PtyServer
{
public:
    PtyServer(ProtocolEngine &engine, LinkClock &clock);
    ~PtyServer();

    PtyServer(const PtyServer &) = delete;
    PtyServer &operator=(const PtyServer &) = delete;

    // Opens the terminal pair in raw mode. False with a reason on failure.
    bool open(QString *error);
    QString terminalPath() const { return m_terminalPath; }

    // A symbolic link at `path` to the terminal, removed again on
    // destruction. A stale link is replaced; any other file is left alone.
    bool createLink(const QString &path, QString *error);

    // Creates the FIFO `path` and hands each line written to it to `handler`.
    bool openControl(const QString &path, std::function<void(const QString &)> handler,
                     QString *error);

    // Serves until requestStop(); returns 0.
    int run();
    // Safe to call from a signal handler.
    void requestStop();

private:
    void readRequests();
    void deliverDue();
    void writeOut();
    void readControl();
    int pollTimeoutMs() const;
    void closeAll();

    ProtocolEngine &m_engine;
    LinkClock &m_clock;
    int m_master = -1;
    int m_slave = -1;  // kept open: the master never sees a hang-up between clients
    int m_wake[2] = {-1, -1};
    int m_control = -1;
    int m_controlKeepAlive = -1;
    QString m_terminalPath;
    QString m_linkPath;
    QString m_controlPath;
    std::function<void(const QString &)> m_controlHandler;
    QByteArray m_controlBuffer;
    AnswerQueue m_inFlight;
    QByteArray m_out;             // due, not yet taken by the terminal
};
