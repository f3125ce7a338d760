#pragma once

#include <QString>

// The history's keys in the program's configuration file, group History.
// Read once at start; the program never writes them.
struct HistorySettings
{
    int keepDays = 0;  // KeepDays: rows older than this many days are pruned; 0 keeps everything

    // A missing key or one that is not a whole number of days, or below 0,
    // keeps everything.
    static HistorySettings read(const QString &iniFile);
};
