#include "StatusPoller.h"

#include "DeviceExchange.h"
#include "LinkClock.h"
#include "SerialPort.h"
#include "StatusReader.h"

namespace {

constexpr int ReopenDelayMs = 1000;

const char *const kTimeoutTexts[StatusReader::RecordCount] = {
    QT_TRANSLATE_NOOP("StatusPoller", "Read DETECT failed, message length = %1"),
    QT_TRANSLATE_NOOP("StatusPoller", "Read ADJ_CMD_STATE failed, message length = %1"),
    QT_TRANSLATE_NOOP("StatusPoller", "Read ADJ_STATE failed, message length = %1"),
    QT_TRANSLATE_NOOP("StatusPoller", "Read VAR_STRUCT failed, message length = %1"),
};

}  // namespace

StatusPoller::StatusPoller(DeviceExchange &io, StatusReader &reader, QObject *parent)
    : QObject(parent), m_io(io), m_reader(reader)
{
}

void StatusPoller::reset()
{
    m_step = 0;
    m_timeouts = 0;
}

void StatusPoller::resetTimeouts()
{
    m_timeouts = 0;
}

int StatusPoller::nextRecord() const
{
    return m_step;
}

bool StatusPoller::pollNext()
{
    const int record = nextRecord();
    m_step = (m_step + 1) % StatusReader::RecordCount;
    const Frame::Result result = m_reader.readRecord(record);
    ++m_sent;
    if (result != Frame::Result::Timeout) {
        m_timeouts = 0;
        // Only after an answer: a late DETECT must not be taken for the DAC codes.
        if (record == 0 && m_debugLevel > 0)
            m_reader.getDACcodes();
        return false;
    }
    ++m_timedOut;
    recoverFromTimeout(record);
    return ++m_timeouts >= TimeoutsBeforeSearch;
}

void StatusPoller::recoverFromTimeout(int record)
{
    if (m_debugLevel > 0)
        emit debugInfo(tr(kTimeoutTexts[record]).arg(m_io.bytesAvailable()), QStringLiteral("red"));
    m_io.drain();
    SerialPort *port = m_io.port();
    if (!port)
        return;
    port->close();
    m_io.clock().sleepMs(ReopenDelayMs);
    port->open();
}
