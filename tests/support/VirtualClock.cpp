#include "VirtualClock.h"

#include <QThread>

VirtualClock::VirtualClock(const QDateTime &startUtc) : m_startUtc(startUtc.toUTC()) {}

QDateTime VirtualClock::now() const
{
    return nowUtc().toLocalTime();
}

QDateTime VirtualClock::nowUtc() const
{
    return m_startUtc.addMSecs(m_elapsedMs.load());
}

qint64 VirtualClock::monotonicMs() const
{
    return m_elapsedMs.load();
}

void VirtualClock::sleepMs(int ms)
{
    if (ms > 0)
        m_elapsedMs += ms;
    // Let the GUI thread of a test run between passes without real waiting.
    QThread::yieldCurrentThread();
}

void VirtualClock::waitMs(int ms, std::condition_variable &, std::unique_lock<std::mutex> &lock,
                          const std::function<bool()> &ready)
{
    // Nothing can wake a sleep that takes no real time: what is ready now
    // ends the wait, anything else waits the whole time.
    if (ready())
        return;
    lock.unlock();
    sleepMs(ms);
    lock.lock();
}

void VirtualClock::advance(qint64 ms)
{
    m_elapsedMs += ms;
}

void VirtualClock::setUtc(const QDateTime &utc)
{
    m_startUtc = utc.toUTC().addMSecs(-m_elapsedMs.load());
}
