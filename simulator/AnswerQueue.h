#pragma once

#include "ProtocolEngine.h"

#include <QByteArray>
#include <QList>

// Answers on their way back over the line, in the order they fall due.
class AnswerQueue
{
public:
    void add(const QList<SimAnswer> &answers);
    // The bytes of every answer due at `nowMs`, in due order.
    QByteArray takeDue(qint64 nowMs);
    bool isEmpty() const { return m_answers.isEmpty(); }
    qint64 nextDueMs() const { return m_answers.isEmpty() ? 0 : m_answers.first().dueMs; }
    void clear() { m_answers.clear(); }

private:
    QList<SimAnswer> m_answers;  // ordered by due time, equal times in arrival order
};
