// Start-up: from launching ksr583-monitor (in a fresh folder whose
// fconn583.ini names the simulator's port, AnalyseAtStart 0) to its first
// status poll, the first P10 in the simulator's request trace. Both times come
// from the system clock, to the millisecond.

#include "BenchReport.h"
#include "BenchTime.h"
#include "MonitorProcess.h"
#include "SimProcess.h"
#include "SimTrace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace {

const QString Figure = QStringLiteral("start-up to first poll");

// The time of the first P10 at or after `sinceMs`, 0 when none yet.
qint64 firstPoll(const QString &trace, qint64 sinceMs)
{
    const QList<SimTrace::Line> lines = SimTrace::read(trace);
    for (const SimTrace::Line &l : lines) {
        if (l.code == QLatin1String("P10") && l.atMs >= sinceMs)
            return l.atMs;
    }
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments(), 3);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ksr583-bench-startup-%1").arg(app.applicationPid()));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));

    SimProcess sim;
    if (!sim.start(link, {"--trace", trace})) {
        BenchReport::failed(Figure, sim.error());
        return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < report.runs(); ++run) {
        const QString folder = dir.filePath(QStringLiteral("run%1").arg(run));
        QDir().mkpath(folder);
        MonitorProcess monitor;
        const qint64 launchedMs = QDateTime::currentMSecsSinceEpoch();
        if (!monitor.start(folder, link)) {
            BenchReport::failed(Figure, monitor.error());
            return 1;
        }
        qint64 polledMs = 0;
        if (!BenchTime::waitUntil([&] { return (polledMs = firstPoll(trace, launchedMs)) != 0; }, 30000)) {
            BenchReport::failed(Figure, QStringLiteral("the program never polled"));
            return 1;
        }
        times.push_back(double(polledMs - launchedMs));
        BenchReport::note(QStringLiteral("run %1: %2 ms").arg(run + 1).arg(times.back()));
    }
    BenchReport::info(Figure, BenchReport::format(*std::min_element(times.begin(), times.end())) + " ms",
                      QStringLiteral("median of %1: %2 ms").arg(times.size()).arg(BenchTime::quantile(times, 0.5)));
    return 0;
}
