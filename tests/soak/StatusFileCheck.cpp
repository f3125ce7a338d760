#include "StatusFileCheck.h"

#include "SoakReport.h"
#include "SoakRun.h"

#include <QDateTime>

#include <algorithm>

namespace {

constexpr qint64 MinuteMs = 60000;
// The minute timer is a coarse one (5 %), LastUpdate has whole seconds, and
// the timer starts a moment before the driver notes the start.
constexpr qint64 ToleranceMs = 5000;

bool overlaps(const StatusFileCheck::Window &w, qint64 from, qint64 to)
{
    return w.fromMs <= to && w.toMs >= from;
}

bool covers(const StatusFileCheck::Window &w, qint64 from, qint64 to)
{
    return w.fromMs <= from && w.toMs >= to;
}

QString clock(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace

namespace StatusFileCheck {

void checkSchedule(const QVector<qint64> &writesMs, qint64 startMs, qint64 endMs,
                   const QVector<Window> &outages, SoakReport &report)
{
    QVector<bool> expected(writesMs.size(), false);
    int due = 0;
    int blocked = 0;
    for (qint64 tick = startMs + MinuteMs; tick - ToleranceMs <= endMs; tick += MinuteMs) {
        const qint64 from = tick - ToleranceMs;
        const qint64 to = tick + ToleranceMs;
        // A minute the run may have ended in: a rewrite then is no surprise,
        // but none is owed.
        const bool owed = to <= endMs;
        const bool away = std::any_of(outages.begin(), outages.end(),
                                      [&](const Window &w) { return covers(w, from, to); });
        const bool writable = std::none_of(outages.begin(), outages.end(),
                                           [&](const Window &w) { return overlaps(w, from, to); });
        bool written = false;
        for (int i = 0; i < writesMs.size(); ++i) {
            if (writesMs.at(i) >= from && writesMs.at(i) <= to) {
                expected[i] = true;
                written = true;
            }
        }
        if (!owed)
            continue;
        blocked += away ? 1 : 0;
        due += writable ? 1 : 0;
        if (writable && !written)
            report.fail(QStringLiteral("SupervisInfo.ini: no rewrite at %1 with the Status folder in place").arg(clock(tick)));
        if (away && written)
            report.fail(QStringLiteral("SupervisInfo.ini: rewritten at %1 while Status was a plain file").arg(clock(tick)));
    }
    for (int i = 0; i < writesMs.size(); ++i) {
        if (!expected.at(i))
            report.fail(QStringLiteral("SupervisInfo.ini: rewritten at %1, off the minute").arg(clock(writesMs.at(i))));
    }
    report.figure(QStringLiteral("SupervisInfo.ini rewrites"),
                  QStringLiteral("%1 (due %2, %3 minutes with Status a plain file)")
                      .arg(writesMs.size())
                      .arg(due)
                      .arg(blocked));
}

void run(const SoakRun &run, SoakReport &report)
{
    // Each new LastUpdate the sampler saw is one rewrite.
    QVector<qint64> writes;
    QString last;
    for (const SoakEvent &e : SoakEvent::ofKind(run.script, QStringLiteral("sample"))) {
        const QString stamp = e.field(2);
        if (stamp.isEmpty() || stamp == last)
            continue;
        last = stamp;
        const QDateTime at = QDateTime::fromString(stamp, QStringLiteral("yyyy.MM.dd hh:mm:ss"));
        if (at.isValid())
            writes.append(at.toMSecsSinceEpoch());
    }
    QVector<Window> outages;
    for (const SoakEvent &e : SoakEvent::ofKind(run.script, QStringLiteral("outage"))) {
        if (e.field(0) == QLatin1String("start"))
            outages.append({e.ms, run.closingMs()});
        else if (!outages.isEmpty())
            outages.last().toMs = e.ms;
    }
    report.figure(QStringLiteral("Status folder swapped for a file"), outages.size());
    checkSchedule(writes, run.startMs(), run.closingMs(), outages, report);
}

}  // namespace StatusFileCheck
