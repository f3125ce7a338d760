#pragma once

#include <QtGlobal>

#include <random>

// When the link polls and how it stamps the answers, as its loop does on the
// computer's clock (measured against ksr583-sim): a pass every 10 ms polls on
// the first pass in a new second once MonitorInterval seconds have passed
// since the last poll, and at once when the loop comes back from something
// that held it (a connection, a journal download, a clock that jumped past
// the poll). A stamp is the clock at the answer: the pass's lateness (0-10 ms)
// plus the exchange, 4 to 10 ms by record and a few more, now and then a few
// hundred when a command went first.
//
// Times without "clock" in their name are true times.
class LinkPace
{
public:
    explicit LinkPace(quint64 seed, int intervalSeconds);

    void setInterval(int seconds) { m_intervalS = qMax(1, seconds); }
    // The computer's clock jumps by `stepMs` at `atMs`.
    void stepClock(qint64 atMs, qint64 stepMs);
    qint64 clockMs(qint64 ms) const { return ms + m_offsetMs; }

    // The loop is held until `untilMs`; it polls at once when it comes back,
    // if a poll is due.
    void holdUntil(qint64 untilMs);
    // Connected at `atMs`: the next poll goes out at once.
    void connectedAt(qint64 atMs);

    // The true time of the next poll.
    qint64 nextPollMs() const;
    // The poll went out at `atMs` (a nextPollMs()) for record 0..3: its
    // stamp, the clock at the answer.
    qint64 polled(qint64 atMs, int record);
    // The poll went unanswered: the link waits for the answer and reopens
    // the port.
    void unanswered(qint64 atMs);

private:
    int m_intervalS;
    qint64 m_offsetMs = 0;
    qint64 m_lastPollClockS = 0;
    bool m_pollAtOnce = true;
    qint64 m_notBeforeMs = 0;
    std::mt19937_64 m_rng;
};
