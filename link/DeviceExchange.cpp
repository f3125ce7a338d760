#include "DeviceExchange.h"

#include "LinkClock.h"
#include "SerialPort.h"

#include <algorithm>

DeviceExchange::DeviceExchange(LinkClock &clock) : m_clock(clock) {}

void DeviceExchange::setPort(SerialPort *port)
{
    m_port = port;
}

qint64 DeviceExchange::send(const QByteArray &frame)
{
    if (!m_port)
        return -1;
    const qint64 written = m_port->write(frame);
    m_port->flush();
    return written;
}

bool DeviceExchange::awaitBytes(int minBytes, int waitMs)
{
    if (!m_port)
        return false;
    const qint64 start = m_clock.monotonicMs();
    for (;;) {
        if (m_port->bytesAvailable() >= minBytes)
            return true;
        const qint64 left = waitMs - (m_clock.monotonicMs() - start);
        if (left <= 0)
            return false;
        m_port->waitStep(int(std::min<qint64>(left, CommandTable::StepMs)));
    }
}

Frame::Result DeviceExchange::transact(Request r, const QByteArray &payload, QByteArray *answer,
                                       char digit)
{
    return transactFrame(CommandTable::format(r), Frame::request(r, payload, digit), answer);
}

Frame::Result DeviceExchange::transactFrame(const CommandFormat &format, const QByteArray &frame,
                                            QByteArray *answer)
{
    if (answer)
        answer->clear();
    if (send(frame) < 1)
        return Frame::Result::Timeout;
    const int waitMs = format.waitSteps > 0 ? format.waitSteps * CommandTable::StepMs
                                          : CommandTable::IdentifyWaitMs;
    if (!awaitBytes(format.minAnswer, waitMs))
        return Frame::Result::Timeout;
    const QByteArray bytes = m_port->readAll();
    if (answer)
        *answer = bytes;
    const Frame::Result result = Frame::check(bytes, format, frame.mid(1, 3));
    if (result == Frame::Result::WrongChecksum || result == Frame::Result::NoStartByte)
        ++m_rejected;
    else if (result == Frame::Result::Accepted && m_onAnswer)
        m_onAnswer();
    return result;
}

qint64 DeviceExchange::bytesAvailable() const
{
    return m_port ? m_port->bytesAvailable() : 0;
}

QByteArray DeviceExchange::readAll()
{
    return m_port ? m_port->readAll() : QByteArray();
}

void DeviceExchange::drain()
{
    if (!m_port)
        return;
    m_port->readAll();
    m_port->flush();
}
