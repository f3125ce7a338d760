// The service against the window: ksr583-monitor --service (no display) and
// the window offscreen, each against ksr583-sim in a fresh folder. Start-up
// to the first status poll (the first P10 in the simulator's trace, best of
// three), CPU when connected and idle at the default interval, and resident
// memory after that window.

#include "BenchReport.h"
#include "BenchTime.h"
#include "MonitorProcess.h"
#include "MonitoredRun.h"
#include "ProcStat.h"
#include "SimProcess.h"
#include "SimTrace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace {

using Mode = MonitorProcess::Mode;
constexpr int SettleMs = 3000;

struct Figures {
    double startupMs = -1;
    double cpuPercent = -1;
    double residentMiB = -1;
};

QString modeName(Mode mode)
{
    return mode == Mode::Service ? QStringLiteral("service") : QStringLiteral("window");
}

qint64 firstPoll(const QString &trace, qint64 sinceMs)
{
    for (const SimTrace::Line &l : SimTrace::read(trace)) {
        if (l.code == QLatin1String("P10") && l.atMs >= sinceMs)
            return l.atMs;
    }
    return 0;
}

// Best of `runs` starts, each in a fresh folder; negative when one failed.
double startupMs(Mode mode, int runs, QString *error)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ksr583-bench-service-%1").arg(QCoreApplication::applicationPid()));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    SimProcess sim;
    if (!sim.start(link, {"--trace", trace})) {
        *error = sim.error();
        return -1;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const QString folder = dir.filePath(QStringLiteral("%1-%2").arg(modeName(mode)).arg(run));
        QDir().mkpath(folder);
        MonitorProcess monitor;
        const qint64 launchedMs = QDateTime::currentMSecsSinceEpoch();
        if (!monitor.start(folder, link, 0, 0, mode)) {
            *error = monitor.error();
            return -1;
        }
        qint64 polledMs = 0;
        if (!BenchTime::waitUntil([&] { return (polledMs = firstPoll(trace, launchedMs)) != 0; }, 30000)) {
            *error = QStringLiteral("the program never polled");
            return -1;
        }
        times.push_back(double(polledMs - launchedMs));
        BenchReport::note(QStringLiteral("%1 start %2: %3 ms").arg(modeName(mode)).arg(run + 1).arg(times.back()));
    }
    return *std::min_element(times.begin(), times.end());
}

bool measure(Mode mode, const BenchReport &report, Figures *f, QString *error)
{
    f->startupMs = startupMs(mode, report.runs(), error);
    if (f->startupMs < 0)
        return false;
    MonitoredRun run;
    if (!run.start(QStringLiteral("service-") + modeName(mode), QStringList(), 0, 0, mode)) {
        *error = run.error();
        return false;
    }
    BenchTime::pause(SettleMs);
    QElapsedTimer wall;
    wall.start();
    const double before = ProcStat::cpuSeconds(run.pid());
    BenchTime::pause((report.quick() ? 15 : 60) * 1000);
    const double after = ProcStat::cpuSeconds(run.pid());
    f->residentMiB = ProcStat::residentMiB(run.pid());
    if (before < 0 || after < 0 || f->residentMiB < 0) {
        *error = QStringLiteral("the program ended");
        return false;
    }
    f->cpuPercent = 100 * (after - before) / (wall.elapsed() / 1000.0);
    return true;
}

// "12 % less than the window" for the service's figure against the window's.
QString lighter(double service, double window)
{
    if (window <= 0)
        return QString();
    const double saved = 100 * (window - service) / window;
    return saved >= 0 ? QStringLiteral("%1 % less than the window").arg(BenchReport::format(saved, 2))
                      : QStringLiteral("%1 % more than the window").arg(BenchReport::format(-saved, 2));
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments(), 3);
    Figures window;
    Figures service;
    QString error;
    if (!measure(Mode::Window, report, &window, &error)) {
        BenchReport::failed(QStringLiteral("service against window"), QStringLiteral("window: ") + error);
        return 1;
    }
    if (!measure(Mode::Service, report, &service, &error)) {
        BenchReport::failed(QStringLiteral("service against window"), QStringLiteral("service: ") + error);
        return 1;
    }
    BenchReport::info(QStringLiteral("start-up to first poll, window"), BenchReport::format(window.startupMs) + " ms");
    BenchReport::info(QStringLiteral("start-up to first poll, service"), BenchReport::format(service.startupMs) + " ms",
                      lighter(service.startupMs, window.startupMs));
    BenchReport::info(QStringLiteral("CPU connected and idle, window"),
                      BenchReport::format(window.cpuPercent) + " % of a core");
    BenchReport::info(QStringLiteral("CPU connected and idle, service"),
                      BenchReport::format(service.cpuPercent) + " % of a core",
                      lighter(service.cpuPercent, window.cpuPercent));
    BenchReport::info(QStringLiteral("resident memory, window"), BenchReport::format(window.residentMiB) + " MiB");
    BenchReport::info(QStringLiteral("resident memory, service"), BenchReport::format(service.residentMiB) + " MiB",
                      lighter(service.residentMiB, window.residentMiB));
    return 0;
}
