#pragma once

#include <QDateTime>
#include <QtGlobal>

// Calendar arithmetic of the date and time tab. The instrument's clock is
// kept as the computer's clock plus whole days plus seconds; these functions
// turn what the operator enters into that pair and back.
class DateShift
{
public:
    // A shift as the operator enters it, one spin box per field.
    struct Fields {
        int years = 0;
        int months = 0;
        int days = 0;
        int hours = 0;
        int minutes = 0;
        int seconds = 0;

        bool operator==(const Fields &o) const;
    };

    // The device clock as days plus seconds relative to the computer's.
    struct Difference {
        qint32 days = 0;
        qint32 seconds = 0;  // may be negative
    };

    // Years, then months, then days by the calendar (31 March less a month is
    // the last day of February), then the clock part in seconds.
    static QDateTime apply(const QDateTime &base, const Fields &shift);

    // Calendar days from base's date to target's date, and the seconds that
    // remain once those days are taken away; milliseconds do not count.
    static Difference between(const QDateTime &base, const QDateTime &target);

    // The shift that leads from base to target, field by field, chosen so
    // that apply(base, result) gives target back.
    static Fields fieldsBetween(const QDateTime &base, const QDateTime &target);
};
