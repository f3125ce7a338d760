#pragma once

#include <QDateTime>
#include <QtGlobal>

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
};
