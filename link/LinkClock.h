#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <mutex>

// The link loop's sense of time. Tests replace it with a virtual clock, so
// schedules that span minutes run in milliseconds.
class LinkClock
{
public:
    virtual ~LinkClock() = default;

    virtual QDateTime now() const;           // local time
    virtual QDateTime nowUtc() const;
    virtual qint64 monotonicMs() const;      // for waits and intervals
    virtual void sleepMs(int ms);
    // Sleeps up to `ms`, but ends as soon as `ready` holds once `wake` is
    // notified. `lock` (on the mutex that guards what `ready` reads) is held
    // on entry and on return.
    virtual void waitMs(int ms, std::condition_variable &wake, std::unique_lock<std::mutex> &lock,
                        const std::function<bool()> &ready);
};
