// The History window on a month at one-second polling (about 2.6 million
// readings, filled by ksr583-history-fill's code through the store): the
// time from opening it to its first full drawing, the memory the open window
// adds, and the time to its stability plot of the month.

#include "BenchReport.h"
#include "BenchTime.h"
#include "ProcStat.h"

#include "history/fill/HistoryFill.h"
#include "historywindow/HistoryWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

constexpr int TimeoutMs = 120000;

// Runs the event loop until `signal` of `window` comes; false on the timeout.
template <typename Signal>
bool waitFor(HistoryWindow &window, Signal signal)
{
    QEventLoop loop;
    QObject::connect(&window, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(TimeoutMs, &loop, [&loop] { loop.exit(1); });
    const bool arrived = loop.exec() == 0;
    // The drawing reaches the screen with the next paint.
    QCoreApplication::processEvents();
    return arrived;
}

double elapsedMs(qint64 startNs)
{
    return BenchTime::toMs(BenchTime::nowNs() - startNs);
}

}  // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchReport options(app.arguments());
    QTemporaryDir dir;

    HistoryFill::Options fill;
    fill.path = dir.filePath(QStringLiteral("history.sqlite"));
    fill.intervalSeconds = 1;
    fill.laterIntervalSeconds = 0;
    fill.days = 30;
    const HistoryFill::Result filled = HistoryFill::run(fill);
    if (filled.dropped != 0) {
        BenchReport::failed(QStringLiteral("history window open"), QStringLiteral("the store dropped entries"));
        return 1;
    }
    BenchReport::note(QStringLiteral("filled 30 days at 1 s: %1 polls, %2 MB")
                          .arg(filled.polls)
                          .arg(double(QFileInfo(fill.path).size()) / 1e6, 0, 'f', 1));

    const qint64 pid = QCoreApplication::applicationPid();
    double openMs = 1e9;
    double stabilityMs = 1e9;
    double addedMiB = -1;
    double addedWithStabilityMiB = -1;
    for (int run = 0; run < options.runs(); ++run) {
        const double residentBefore = ProcStat::residentMiB(pid);
        qint64 start = BenchTime::nowNs();
        HistoryWindow window(fill.path, dir.filePath(QStringLiteral("fconn583.ini")));
        window.resize(1100, 820);
        window.showRange(HistoryRange::Last30Days);
        window.show();
        if (!waitFor(window, &HistoryWindow::viewShown)) {
            BenchReport::failed(QStringLiteral("history window open"), QStringLiteral("nothing drawn in 2 minutes"));
            return 1;
        }
        openMs = qMin(openMs, elapsedMs(start));
        // The first run pays for every allocation; later ones reuse its heap.
        if (run == 0)
            addedMiB = ProcStat::residentMiB(pid) - residentBefore;

        start = BenchTime::nowNs();
        window.findChild<QTabWidget *>(QStringLiteral("tabs"))
            ->setCurrentWidget(window.findChild<QWidget *>(QStringLiteral("stabilityTab")));
        if (!waitFor(window, &HistoryWindow::stabilityShown)) {
            BenchReport::failed(QStringLiteral("history stability plot"), QStringLiteral("none in 2 minutes"));
            return 1;
        }
        stabilityMs = qMin(stabilityMs, elapsedMs(start));
        if (run == 0)
            addedWithStabilityMiB = ProcStat::residentMiB(pid) - residentBefore;
    }

    BenchReport::below(QStringLiteral("history window, 30 days at 1 s, to first drawing"), openMs, "ms", 1000);
    BenchReport::below(QStringLiteral("memory added by the open history window"), addedMiB, "MiB", 100);
    BenchReport::info(QStringLiteral("  with its stability plot of the month"),
                      BenchReport::format(addedWithStabilityMiB) + " MiB");
    BenchReport::info(QStringLiteral("history stability plot, 30 days at 1 s"),
                      BenchReport::format(stabilityMs) + " ms", QStringLiteral("worker thread"));
    return 0;
}
