// CPU use of ksr583-monitor connected to the simulator and idle (polling at
// its default interval): the whole process and its link thread, from the
// user and system times in /proc/<pid>/stat and /proc/<pid>/task/<tid>/stat.

#include "BenchReport.h"
#include "BenchTime.h"
#include "MonitoredRun.h"
#include "ProcStat.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

const QString ProgramFigure = QStringLiteral("CPU, whole program connected and idle");
const QString LinkFigure = QStringLiteral("CPU, link thread connected and idle");
constexpr int SettleMs = 3000;

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments(), 1);
    const int windowS = report.quick() ? 15 : 60;

    MonitoredRun run;
    if (!run.start(QStringLiteral("cpu"), QStringList(), 0)) {
        BenchReport::failed(ProgramFigure, run.error());
        return 1;
    }
    BenchTime::pause(SettleMs);  // past start-up and the first exchanges
    const qint64 pid = run.pid();
    // The link's thread is the program's only QThread.
    const QList<qint64> linkThreads = ProcStat::threadsNamed(pid, QStringLiteral("QThread"));
    const qint64 tid = linkThreads.size() == 1 ? linkThreads.first() : 0;

    QElapsedTimer wall;
    wall.start();
    const double programBefore = ProcStat::cpuSeconds(pid);
    const double linkBefore = tid ? ProcStat::cpuSeconds(pid, tid) : -1;
    BenchTime::pause(windowS * 1000);
    const double programAfter = ProcStat::cpuSeconds(pid);
    const double linkAfter = tid ? ProcStat::cpuSeconds(pid, tid) : -1;
    const double seconds = wall.elapsed() / 1000.0;

    BenchReport::note(QStringLiteral("%1 s window, %2 polls in all").arg(seconds).arg(run.polls()));
    if (programBefore < 0 || programAfter < 0) {
        BenchReport::failed(ProgramFigure, QStringLiteral("the program ended"));
        return 1;
    }
    BenchReport::below(ProgramFigure, 100 * (programAfter - programBefore) / seconds, "% of a core", 1);
    if (linkBefore < 0 || linkAfter < 0)
        BenchReport::failed(LinkFigure, QStringLiteral("no single link thread found"));
    else
        BenchReport::below(LinkFigure, 100 * (linkAfter - linkBefore) / seconds, "% of a core", 0.5);
    return 0;
}
