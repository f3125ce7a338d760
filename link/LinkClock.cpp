#include "LinkClock.h"

#include <QElapsedTimer>
#include <QThread>

#include <chrono>

QDateTime LinkClock::now() const
{
    return QDateTime::currentDateTime();
}

QDateTime LinkClock::nowUtc() const
{
    return QDateTime::currentDateTimeUtc();
}

qint64 LinkClock::monotonicMs() const
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void LinkClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void LinkClock::waitMs(int ms, std::condition_variable &wake, std::unique_lock<std::mutex> &lock,
                       const std::function<bool()> &ready)
{
    wake.wait_for(lock, std::chrono::milliseconds(qMax(0, ms)), ready);
}
