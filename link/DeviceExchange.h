#pragma once

#include "CommandTable.h"
#include "Frame.h"

#include <QByteArray>

#include <functional>

class LinkClock;
class SerialPort;

// One request and its answer over the current port: write, wait for the
// answer's minimum length (in steps of at most 50 ms, bounded by time), read
// everything waiting and check it.
class DeviceExchange
{
public:
    explicit DeviceExchange(LinkClock &clock);

    void setPort(SerialPort *port);  // not owned; may be null
    SerialPort *port() const { return m_port; }
    LinkClock &clock() const { return m_clock; }

    // Writes the frame and flushes; returns the bytes written (below 1: failed).
    qint64 send(const QByteArray &frame);

    // Waits until at least `minBytes` are waiting or `waitMs` have passed.
    bool awaitBytes(int minBytes, int waitMs);

    // Sends `r` and awaits its answer as the command table describes. On any
    // result but Timeout, `answer` holds every byte that was read.
    Frame::Result transact(Request r, const QByteArray &payload, QByteArray *answer,
                           char digit = '0');

    // The same with an already built frame (steering retries resend it).
    Frame::Result transactFrame(const CommandFormat &format, const QByteArray &frame,
                                QByteArray *answer);

    qint64 bytesAvailable() const;
    QByteArray readAll();
    // Reads and discards everything waiting.
    void drain();

    // Answers refused for a wrong checksum or a missing start byte so far.
    quint64 rejectedAnswers() const { return m_rejected; }

    // Called after every accepted answer, whatever the request was.
    void setOnAnswer(std::function<void()> onAnswer) { m_onAnswer = std::move(onAnswer); }

private:
    LinkClock &m_clock;
    SerialPort *m_port = nullptr;
    quint64 m_rejected = 0;
    std::function<void()> m_onAnswer;
};
