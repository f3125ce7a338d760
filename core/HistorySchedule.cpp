#include "HistorySchedule.h"

namespace HistorySchedule {

bool downloadDue(const QDateTime &utc)
{
    const QTime t = utc.toUTC().time();
    return t.hour() == 1 && t.minute() == 0;
}

int nextCheckMs(const QDateTime &utc)
{
    return downloadDue(utc) ? DayMs : CheckIntervalMs;
}

}  // namespace HistorySchedule
