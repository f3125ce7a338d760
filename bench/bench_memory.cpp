// Resident memory of ksr583-monitor against a lively simulator, polling every
// second: after start-up, at the end, and its slope. At one poll a second a
// run of M minutes makes the polls of 10 M minutes at the default interval
// (10 s); the once-a-minute work (status file, parameter log) still comes
// once a minute. Default 6 minutes (an hour of polls), --quick 1, --long 60.

#include "BenchReport.h"
#include "BenchTime.h"
#include "MonitoredRun.h"
#include "ProcStat.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <vector>

namespace {

const QString Figure = QStringLiteral("memory");
constexpr double LimitMiB = 80;
constexpr int SettleMs = 3000;
constexpr int DefaultIntervalS = 10;

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments(), 1);
    const int minutes = report.longRun() ? 60 : report.quick() ? 1 : 6;
    const int stepS = report.longRun() ? 30 : report.quick() ? 5 : 10;

    MonitoredRun run;
    if (!run.start(QStringLiteral("memory"), {"--lively"}, 1)) {
        BenchReport::failed(Figure, run.error());
        return 1;
    }
    BenchTime::pause(SettleMs);
    const int pollsBefore = run.polls();

    std::vector<double> minutesAt;
    std::vector<double> mib;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const double rss = ProcStat::residentMiB(run.pid());
        if (rss < 0) {
            BenchReport::failed(Figure, QStringLiteral("the program ended"));
            return 1;
        }
        minutesAt.push_back(clock.elapsed() / 60000.0);
        mib.push_back(rss);
        if (clock.elapsed() >= minutes * 60000)
            break;
        BenchTime::pause(stepS * 1000);
    }
    const int polls = run.polls() - pollsBefore;

    // The slope of the second half: the first has caches and logs settling.
    const size_t half = mib.size() / 2;
    const std::vector<double> lateX(minutesAt.begin() + long(half), minutesAt.end());
    const std::vector<double> lateY(mib.begin() + long(half), mib.end());
    const double perHour = 60 * BenchTime::slope(lateX, lateY);
    const double growth = mib.back() - mib.at(half);

    BenchReport::note(QStringLiteral("%1 samples over %2 min, %3 polls (%4 min at the default interval)")
                          .arg(mib.size())
                          .arg(minutes)
                          .arg(polls)
                          .arg(polls * DefaultIntervalS / 60));
    QStringList series;
    for (size_t i = 0; i < mib.size(); ++i)
        series << QStringLiteral("%1:%2").arg(minutesAt[i], 0, 'f', 1).arg(mib[i], 0, 'f', 2);
    BenchReport::note(QStringLiteral("RSS MiB by minute: ") + series.join(' '));

    BenchReport::below(QStringLiteral("RSS after start-up"), mib.front(), "MiB", LimitMiB);
    BenchReport::below(QStringLiteral("RSS after %1 polls (%2 min)").arg(polls).arg(minutes), mib.back(),
                       "MiB", LimitMiB);
    BenchReport::info(QStringLiteral("RSS slope, second half"), BenchReport::format(perHour, 2) + " MiB/h");
    BenchReport::below(QStringLiteral("RSS growth, second half"), growth, "MiB", 0.5, true, 2);
    return 0;
}
