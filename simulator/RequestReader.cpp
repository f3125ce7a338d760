#include "RequestReader.h"

#include "link/CommandTable.h"
#include "link/Frame.h"

void RequestReader::reset()
{
    drop(m_buffer.size());
}

void RequestReader::drop(int count)
{
    m_buffer.remove(0, count);
    m_discarded += count;
}

QList<QByteArray> RequestReader::feed(const QByteArray &bytes, qint64 nowMs)
{
    if (!m_buffer.isEmpty() && nowMs - m_lastMs > StaleMs)
        reset();
    m_lastMs = nowMs;
    m_buffer.append(bytes);

    QList<QByteArray> frames;
    for (;;) {
        const int start = m_buffer.indexOf(Frame::StartByte);
        if (start < 0) {
            reset();
            break;
        }
        drop(start);
        if (m_buffer.size() < 4)
            break;
        const CommandFormat *format = CommandTable::find(m_buffer.constData() + 1);
        if (!format) {
            drop(1);
            continue;
        }
        const int length = 8 + format->payloadSize;
        if (m_buffer.size() < length)
            break;
        const int crcAt = 4 + format->payloadSize;
        if (Frame::u16(m_buffer, crcAt) != Frame::crc16(m_buffer.constData() + 1, crcAt - 1)) {
            drop(1);
            continue;
        }
        frames.append(m_buffer.left(length));
        m_buffer.remove(0, length);
    }
    return frames;
}
