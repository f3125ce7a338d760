#include "ProgramLogCheck.h"

#include "SoakReport.h"
#include "SoakRun.h"

#include <QHash>

namespace {

constexpr int FloodLinesPerMinute = 600;
constexpr int MaxReported = 5;

void checkWhole(const QVector<LogLine> &log, SoakReport &report)
{
    int torn = 0;
    for (int i = 0; i < log.size(); ++i) {
        if (log.at(i).wellFormed)
            continue;
        if (++torn <= MaxReported)
            report.fail(QStringLiteral("program log line %1 is torn: \"%2\"").arg(i + 1).arg(log.at(i).raw));
    }
    if (torn > MaxReported)
        report.fail(QStringLiteral("program log: %1 torn lines in all").arg(torn));
}

// What the link reported must stand in the log in the same order. Lines
// that reached the log but not the driver (the window closed in between)
// may follow at the end.
void checkNothingLost(const QVector<LogLine> &body, const QStringList &reported, SoakReport &report)
{
    int i = 0;
    for (; i < reported.size() && i < body.size(); ++i) {
        if (body.at(i).text != reported.at(i)) {
            report.fail(QStringLiteral("program log line %1 is \"%2\" where the link reported \"%3\"")
                            .arg(i + 2)
                            .arg(body.at(i).text, reported.at(i)));
            return;
        }
    }
    if (i < reported.size())
        report.fail(QStringLiteral("program log lacks the last %1 of %2 lines the link reported, from \"%3\"")
                        .arg(reported.size() - i)
                        .arg(reported.size())
                        .arg(reported.at(i)));
}

int busiestMinute(const QVector<LogLine> &log)
{
    QHash<QString, int> perMinute;
    int most = 0;
    for (const LogLine &l : log)
        most = qMax(most, ++perMinute[l.raw.left(5)]);
    return most;
}

}  // namespace

namespace ProgramLogCheck {

void run(const SoakRun &run, SoakReport &report)
{
    const QVector<LogLine> &log = run.log;
    QStringList reported;
    for (const SoakEvent &e : SoakEvent::ofKind(run.driver, QStringLiteral("debug")))
        reported.append(e.field(0));
    report.figure(QStringLiteral("program log lines"),
                  QStringLiteral("%1 (link reported %2)").arg(log.size()).arg(reported.size()));

    checkWhole(log, report);
    if (log.isEmpty() || log.first().text != QLatin1String("Program started.")) {
        report.fail(QStringLiteral("program log does not begin with \"Program started.\""));
        return;
    }
    const bool closed = log.last().text == QLatin1String("Program is closed.");
    if (!closed)
        report.fail(QStringLiteral("program log does not end with \"Program is closed.\""));
    checkNothingLost(log.mid(1, log.size() - (closed ? 2 : 1)), reported, report);

    const int most = busiestMinute(log);
    report.figure(QStringLiteral("program log, most lines in a minute"), most);
    if (most > FloodLinesPerMinute)
        report.fail(QStringLiteral("program log floods: %1 lines in one minute").arg(most));
}

}  // namespace ProgramLogCheck
