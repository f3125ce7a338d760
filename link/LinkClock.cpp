#include "LinkClock.h"

#include <QElapsedTimer>
#include <QThread>

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
