#pragma once

#include <QDateTime>

// When the device journal is downloaded on its own: once a day, in the
// minute 01:00 UTC. The check runs every 50 s, so it cannot skip that minute;
// after a download the next check is a day later.
namespace HistorySchedule {

constexpr int CheckIntervalMs = 50000;
constexpr int DayMs = 86400000;

bool downloadDue(const QDateTime &utc);
// The delay until the next check after one at `utc`.
int nextCheckMs(const QDateTime &utc);

}  // namespace HistorySchedule
