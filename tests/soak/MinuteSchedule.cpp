#include "MinuteSchedule.h"

#include "SoakReport.h"

#include <QDateTime>

#include <algorithm>

namespace {

constexpr qint64 MinuteMs = 60000;
// Minute timers are coarse ones (5 %), the files show whole seconds, and the
// timers start a moment before the driver notes the start.
constexpr qint64 ToleranceMs = 5000;

bool overlaps(const MinuteSchedule::Window &w, qint64 from, qint64 to)
{
    return w.fromMs <= to && w.toMs >= from;
}

bool covers(const MinuteSchedule::Window &w, qint64 from, qint64 to)
{
    return w.fromMs <= from && w.toMs >= to;
}

QString clock(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace

namespace MinuteSchedule {

void check(const QString &what, const QVector<qint64> &writesMs, qint64 startMs, qint64 endMs,
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
            report.fail(QStringLiteral("%1: nothing written at %2 with its folder in place").arg(what, clock(tick)));
        if (away && written)
            report.fail(QStringLiteral("%1: written at %2 while its folder was a plain file").arg(what, clock(tick)));
    }
    for (int i = 0; i < writesMs.size(); ++i) {
        if (!expected.at(i))
            report.fail(QStringLiteral("%1: written at %2, off the minute").arg(what, clock(writesMs.at(i))));
    }
    QString figure = QStringLiteral("%1 (due %2").arg(writesMs.size()).arg(due);
    if (!outages.isEmpty())
        figure += QStringLiteral(", %1 minutes with its folder a plain file").arg(blocked);
    report.figure(what + QStringLiteral(" writes"), figure + QLatin1Char(')'));
}

}  // namespace MinuteSchedule
