#pragma once

#include "VirtualClock.h"

#include <condition_variable>
#include <mutex>

// Virtual time that a test hands out in portions: a sleep that would pass
// the limit parks the sleeping thread until the test moves the limit on.
// While the loop is parked the test reads and changes state without races.
class SteppedClock : public VirtualClock
{
public:
    static constexpr qint64 Unlimited = -1;

    void sleepMs(int ms) override;
    // What becomes ready while the waiter is parked ends the wait at the
    // parking time, as a real wake would.
    void waitMs(int ms, std::condition_variable &wake, std::unique_lock<std::mutex> &lock,
                const std::function<bool()> &ready) override;

    // Lets time run up to `limitMs` (monotonic) and waits (real time, at
    // most `realTimeoutMs`) until the sleeper parks there or is released.
    // Returns false on the real-time timeout. Every virtual sleep yields, so
    // on a loaded machine under ThreadSanitizer a few hundred virtual seconds
    // can take tens of real ones: the limit is only for a hung loop.
    bool runTo(qint64 limitMs, int realTimeoutMs = 60000);

    // No limit from now on; the loop runs freely (to finish).
    void release();
    // The sleeping thread has ended: runTo() returns at once.
    void markDone();

private:
    // Parks the calling thread while a sleep of `ms` would pass the limit.
    void park(int ms);

    // Standard primitives, which thread sanitizers understand.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    qint64 m_limit = Unlimited;
    bool m_parked = false;
    bool m_done = false;
};
