#pragma once

#include <QByteArray>
#include <QList>

// The local socket's framing: one JSON message per line, ended by "\n".
// JSON puts no raw line break inside a message, so a line is a message.
// A line longer than the bound is a fault of the peer: the framer stops
// taking bytes, so it never holds more than the bound plus one read.
class LineFramer
{
public:
    explicit LineFramer(int maxLine) : m_maxLine(maxLine) {}

    // Appends bytes and returns the complete lines (without "\n", a "\r"
    // before it dropped). Empty lines are skipped.
    QList<QByteArray> feed(const QByteArray &bytes);
    bool overflowed() const { return m_overflowed; }

    static QByteArray frame(const QByteArray &message) { return message + '\n'; }

private:
    int m_maxLine;
    QByteArray m_pending;
    bool m_overflowed = false;
};
