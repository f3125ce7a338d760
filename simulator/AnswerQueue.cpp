#include "AnswerQueue.h"

#include <algorithm>

void AnswerQueue::add(const QList<SimAnswer> &answers)
{
    for (const SimAnswer &a : answers) {
        const auto at = std::upper_bound(m_answers.begin(), m_answers.end(), a,
                                         [](const SimAnswer &x, const SimAnswer &y) {
                                             return x.dueMs < y.dueMs;
                                         });
        m_answers.insert(at, a);
    }
}

QByteArray AnswerQueue::takeDue(qint64 nowMs)
{
    QByteArray out;
    while (!m_answers.isEmpty() && m_answers.first().dueMs <= nowMs)
        out.append(m_answers.takeFirst().bytes);
    return out;
}
