#include "SteppedClock.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

void SteppedClock::sleepMs(int ms)
{
    {
        QMutexLocker lock(&m_mutex);
        while (m_limit != Unlimited && monotonicMs() + ms > m_limit) {
            m_parked = true;
            m_changed.wakeAll();
            m_changed.wait(&m_mutex);
        }
        m_parked = false;
    }
    VirtualClock::sleepMs(ms);
}

bool SteppedClock::runTo(qint64 limitMs, int realTimeoutMs)
{
    QMutexLocker lock(&m_mutex);
    m_limit = limitMs;
    m_parked = false;
    m_changed.wakeAll();
    QDeadlineTimer deadline(realTimeoutMs);
    while (!m_parked && !m_done) {
        if (!m_changed.wait(&m_mutex, deadline))
            return false;
    }
    return true;
}

void SteppedClock::release()
{
    QMutexLocker lock(&m_mutex);
    m_limit = Unlimited;
    m_changed.wakeAll();
}

void SteppedClock::markDone()
{
    QMutexLocker lock(&m_mutex);
    m_done = true;
    m_changed.wakeAll();
}
