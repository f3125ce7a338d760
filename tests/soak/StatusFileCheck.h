#pragma once

#include <QVector>

struct SoakRun;
class SoakReport;

// "SupervisInfo.ini" is rewritten once a minute (its LastUpdate moves on)
// whenever the "Status" folder is a folder, never while it is a plain file,
// and again at the first minute after the folder is back.
namespace StatusFileCheck {

struct Window {
    qint64 fromMs = 0;
    qint64 toMs = 0;
};

// Checks the rewrites seen (`writesMs`) against the minute schedule that
// starts at `startMs` and ends before `endMs`, with the folder away during
// `outages`. Every failure goes to the report.
void checkSchedule(const QVector<qint64> &writesMs, qint64 startMs, qint64 endMs,
                   const QVector<Window> &outages, SoakReport &report);

void run(const SoakRun &run, SoakReport &report);

}  // namespace StatusFileCheck
