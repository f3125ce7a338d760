#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// Cuts the byte stream from the line into request frames. Nothing from the
// line is trusted: a frame is taken only when it starts with 0x01, carries a
// code of the command table, is as long as the table says and its CRC checks.
// Anything else is dropped one byte at a time, so a reader that lost step
// finds the next real request. A partial frame left over from a burst that
// stopped is dropped when the next bytes come after a pause.
class RequestReader
{
public:
    static constexpr int StaleMs = 200;

    // Bytes received at `nowMs`; returns the complete requests among them.
    QList<QByteArray> feed(const QByteArray &bytes, qint64 nowMs);

    int pending() const { return m_buffer.size(); }
    qint64 discarded() const { return m_discarded; }
    void reset();

private:
    void drop(int count);

    QByteArray m_buffer;
    qint64 m_lastMs = 0;
    qint64 m_discarded = 0;
};
