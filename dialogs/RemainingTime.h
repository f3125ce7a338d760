#pragma once

#include <QString>

// The wait shown while the login is locked: "1 hours 2 minutes 5 seconds".
class RemainingTime
{
public:
    // Days, hours, minutes and seconds that are not zero, in that order;
    // " 0 seconds" when all are.
    static QString text(qint64 seconds);
};
