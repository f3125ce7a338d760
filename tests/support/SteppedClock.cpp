#include "SteppedClock.h"

#include <chrono>

void SteppedClock::park(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (m_limit != Unlimited && monotonicMs() + ms > m_limit) {
        m_parked = true;
        m_changed.notify_all();
        m_changed.wait(lock);
    }
    m_parked = false;
}

void SteppedClock::sleepMs(int ms)
{
    park(ms);
    VirtualClock::sleepMs(ms);
}

void SteppedClock::waitMs(int ms, std::condition_variable &wake, std::unique_lock<std::mutex> &lock,
                          const std::function<bool()> &ready)
{
    if (ready())
        return;
    lock.unlock();
    park(ms);
    lock.lock();
    // Parked no longer: the sleep that follows passes without parking again.
    VirtualClock::waitMs(ms, wake, lock, ready);
}

bool SteppedClock::runTo(qint64 limitMs, int realTimeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_limit = limitMs;
    m_parked = false;
    m_changed.notify_all();
    return m_changed.wait_for(lock, std::chrono::milliseconds(realTimeoutMs),
                              [this] { return m_parked || m_done; });
}

void SteppedClock::release()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_limit = Unlimited;
    m_changed.notify_all();
}

void SteppedClock::markDone()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
    m_changed.notify_all();
}
