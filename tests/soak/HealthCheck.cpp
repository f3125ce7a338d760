#include "HealthCheck.h"

#include "SoakReport.h"
#include "SoakRun.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

constexpr qint64 MinuteMs = 60000;
// Enough for five poll timeouts of 11 s and a new search: a simulator that
// lived this long must have been polled.
constexpr qint64 FindWithinMs = 80000;
// At the end the program must be polling.
constexpr qint64 FinalPollWithinMs = 15000;

bool isPoll(const TraceEntry &t)
{
    return t.code == QLatin1String("P10") || t.code == QLatin1String("PC0")
           || t.code == QLatin1String("PA0") || t.code == QLatin1String("PV0");
}

bool polledBetween(const SoakRun &run, int instance, qint64 from, qint64 to)
{
    return std::any_of(run.trace.begin(), run.trace.end(), [&](const TraceEntry &t) {
        return isPoll(t) && (instance == 0 || t.instance == instance) && t.ms >= from && t.ms <= to;
    });
}

void checkExit(const SoakRun &run, SoakReport &report)
{
    const QVector<SoakEvent> exits = SoakEvent::ofKind(run.script, QStringLiteral("driverexit"));
    const QString rc = exits.isEmpty() ? QStringLiteral("none") : exits.last().field(0);
    report.figure(QStringLiteral("program exit"), rc);
    if (rc != QLatin1String("0"))
        report.fail(QStringLiteral("the program did not close cleanly: exit %1").arg(rc));
    if (SoakEvent::ofKind(run.driver, QStringLiteral("closed")).isEmpty())
        report.fail(QStringLiteral("the program's window never closed"));

    QFile err(QDir(run.dir).filePath(QStringLiteral("driver.err")));
    if (err.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList alarms = {QStringLiteral("Destroyed while thread"), QStringLiteral("ASSERT"),
                                    QStringLiteral("runtime error"), QStringLiteral("Sanitizer")};
        while (!err.atEnd()) {
            const QString line = QString::fromUtf8(err.readLine()).trimmed();
            for (const QString &a : alarms) {
                if (line.contains(a))
                    report.fail(QStringLiteral("the program said: ") + line);
            }
        }
    }
}

void checkSamples(const SoakRun &run, SoakReport &report)
{
    const qint64 settled = run.startMs() + MinuteMs;
    qint64 first = -1;
    qint64 last = -1;
    qint64 most = -1;
    int oldestBeat = 0;
    for (const SoakEvent &e : SoakEvent::ofKind(run.script, QStringLiteral("sample"))) {
        oldestBeat = qMax(oldestBeat, e.field(1).toInt());
        const qint64 rss = e.field(0).toLongLong();
        if (e.ms < settled || rss <= 0)
            continue;
        if (first < 0)
            first = rss;
        last = rss;
        most = qMax(most, rss);
    }
    report.figure(QStringLiteral("GUI heartbeat, longest silence"), QStringLiteral("%1 s").arg(oldestBeat));
    if (oldestBeat > HealthCheck::MaxHeartbeatAgeS)
        report.fail(QStringLiteral("the window did not answer for %1 s").arg(oldestBeat));
    if (first < 0) {
        report.figure(QStringLiteral("RSS after 1 min / last / max"), QStringLiteral("not sampled"));
        return;
    }
    const auto mb = [](qint64 kb) { return QString::number(kb / 1024.0, 'f', 1); };
    report.figure(QStringLiteral("RSS after 1 min / last / max"),
                  QStringLiteral("%1 / %2 / %3 MB (growth %4 MB)").arg(mb(first), mb(last), mb(most), mb(most - first)));
    if (most - first > HealthCheck::MaxGrowthKb)
        report.fail(QStringLiteral("resident memory grew by %1 MB after the first minute").arg(mb(most - first)));
}

void checkReconnection(const SoakRun &run, SoakReport &report)
{
    const qint64 end = run.closingMs();
    int connects = 0;
    int losses = 0;
    qint64 lostAt = -1;
    for (const SoakEvent &e : run.driver) {
        if (e.kind == QLatin1String("connected")) {
            ++connects;
            lostAt = -1;
        } else if (e.kind == QLatin1String("noconnection")) {
            ++losses;
            lostAt = e.ms;
        }
    }
    report.figure(QStringLiteral("connections (losses reported)"), QStringLiteral("%1 (%2)").arg(connects).arg(losses));
    if (lostAt >= 0)
        report.fail(QStringLiteral("connection lost and never found again"));

    // Every simulator that lived long enough was found and polled.
    const QVector<SoakEvent> starts = SoakEvent::ofKind(run.script, QStringLiteral("simstart"));
    const QVector<SoakEvent> stops = SoakEvent::ofKind(run.script, QStringLiteral("simstop"));
    for (const SoakEvent &s : starts) {
        const int n = s.field(0).toInt();
        qint64 until = end;
        for (const SoakEvent &x : stops) {
            if (x.field(0).toInt() == n)
                until = qMin(until, x.ms);
        }
        if (until - s.ms >= FindWithinMs && !polledBetween(run, n, s.ms, until))
            report.fail(QStringLiteral("simulator #%1 ran %2 s and was never polled").arg(n).arg((until - s.ms) / 1000));
    }
    report.figure(QStringLiteral("simulator restarts"), qMax(0, int(starts.size()) - 1));

    // After every silence the program polls again.
    for (const SoakEvent &e : SoakEvent::ofKind(run.script, QStringLiteral("silent"))) {
        if (e.field(0) == QLatin1String("off") && end - e.ms >= FindWithinMs
            && !polledBetween(run, 0, e.ms, e.ms + FindWithinMs))
            report.fail(QStringLiteral("no poll within %1 s after a silence ended").arg(FindWithinMs / 1000));
    }
    if (!polledBetween(run, 0, end - FinalPollWithinMs, end))
        report.fail(QStringLiteral("the program was not polling in the last %1 s").arg(FinalPollWithinMs / 1000));
}

}  // namespace

namespace HealthCheck {

void run(const SoakRun &run, SoakReport &report)
{
    report.figure(QStringLiteral("run length"), QStringLiteral("%1 s").arg((run.closingMs() - run.startMs()) / 1000));
    report.figure(QStringLiteral("faults injected"), SoakEvent::ofKind(run.script, QStringLiteral("fault")).size());
    report.figure(QStringLiteral("silences"), SoakEvent::ofKind(run.script, QStringLiteral("silent")).size() / 2);
    checkExit(run, report);
    checkSamples(run, report);
    checkReconnection(run, report);
}

}  // namespace HealthCheck
