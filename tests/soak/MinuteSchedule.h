#pragma once

#include <QString>
#include <QVector>

class SoakReport;

// Files the program rewrites or extends once a minute: each due minute has
// its write, and nothing is written between the minutes.
namespace MinuteSchedule {

// A span when the file's folder is away (writes must fail).
struct Window {
    qint64 fromMs = 0;
    qint64 toMs = 0;
};

// Checks the writes seen (`writesMs`) against the minutes that follow
// `startMs` up to `endMs`: a write at every minute with the folder in place,
// none at a minute the folder was away, none off the minutes. Failures and a
// figure named `what` go to the report.
void check(const QString &what, const QVector<qint64> &writesMs, qint64 startMs, qint64 endMs,
           const QVector<Window> &outages, SoakReport &report);

}  // namespace MinuteSchedule
