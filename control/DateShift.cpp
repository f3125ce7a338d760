#include "DateShift.h"

namespace {
// Differences are taken on the wall-clock reading: a daylight-saving change
// between the two dates must not turn into an hour of shift.
QDateTime wallClock(const QDateTime &t)
{
    return QDateTime(t.date(), t.time(), Qt::UTC);
}

// The operator sees and means whole seconds; the clock's hidden milliseconds
// must not cut a second off the shift.
QDateTime wholeSeconds(const QDateTime &t)
{
    const QTime time = t.time();
    return wallClock(QDateTime(t.date(), QTime(time.hour(), time.minute(), time.second())));
}
}  // namespace

bool DateShift::Fields::operator==(const Fields &o) const
{
    return years == o.years && months == o.months && days == o.days && hours == o.hours
        && minutes == o.minutes && seconds == o.seconds;
}

QDateTime DateShift::apply(const QDateTime &base, const Fields &shift)
{
    const QDateTime t = wallClock(base)
                            .addYears(shift.years)
                            .addMonths(shift.months)
                            .addDays(shift.days)
                            .addSecs(qint64(shift.hours) * 3600 + shift.minutes * 60 + shift.seconds);
    return QDateTime(t.date(), t.time(), base.timeSpec());
}

DateShift::Difference DateShift::between(const QDateTime &base, const QDateTime &target)
{
    Difference d;
    const qint64 days = base.date().daysTo(target.date());
    d.days = qint32(days);
    d.seconds = qint32(wholeSeconds(base).secsTo(wholeSeconds(target)) - days * 86400);
    return d;
}

DateShift::Fields DateShift::fieldsBetween(const QDateTime &base, const QDateTime &target)
{
    Fields f;
    f.years = target.date().year() - base.date().year();
    f.months = target.date().month() - base.date().month();
    // Counting days from the month reached, not from base's day of month,
    // keeps the shift exact when that month is shorter (31 March to 28
    // February is one month back, not one month and three days).
    const QDate monthReached = base.date().addYears(f.years).addMonths(f.months);
    f.days = int(monthReached.daysTo(target.date()));
    f.hours = target.time().hour() - base.time().hour();
    f.minutes = target.time().minute() - base.time().minute();
    f.seconds = target.time().second() - base.time().second();
    return f;
}
