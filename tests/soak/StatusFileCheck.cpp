#include "StatusFileCheck.h"

#include "MinuteSchedule.h"
#include "SoakReport.h"
#include "SoakRun.h"

#include <QDateTime>

namespace StatusFileCheck {

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
    QVector<MinuteSchedule::Window> outages;
    for (const SoakEvent &e : SoakEvent::ofKind(run.script, QStringLiteral("outage"))) {
        if (e.field(0) == QLatin1String("start"))
            outages.append({e.ms, run.closingMs()});
        else if (!outages.isEmpty())
            outages.last().toMs = e.ms;
    }
    report.figure(QStringLiteral("Status folder swapped for a file"), outages.size());
    MinuteSchedule::check(QStringLiteral("SupervisInfo.ini"), writes, run.startMs(), run.closingMs(),
                          outages, report);
}

}  // namespace StatusFileCheck
