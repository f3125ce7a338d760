// The History window on a month at one-second polling (about 2.6 million
// readings, filled by ksr583-history-fill's code through the store): the
// time from opening it to its first full drawing, the memory the open window
// adds, the time to its stability plot of the month (the four statistics
// with their intervals), how long the GUI thread pauses meanwhile, and how
// soon a new range or closing the window frees the worker of it.

#include "BenchReport.h"
#include "BenchTime.h"
#include "ProcStat.h"

#include "history/fill/HistoryFill.h"
#include "historywindow/HistoryWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

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

// The longest the GUI thread went without serving a 5 ms timer while the
// event loop ran until `signal`.
template <typename Signal>
double longestPauseMs(HistoryWindow &window, Signal signal, bool *arrived)
{
    QTimer tick;
    tick.setInterval(5);
    qint64 last = BenchTime::nowNs();
    double longest = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = BenchTime::nowNs();
        longest = qMax(longest, BenchTime::toMs(now - last));
        last = now;
    });
    tick.start();
    *arrived = waitFor(window, signal);
    return longest;
}

// How long after `cancel` the window's job thread is free again: a call
// queued to it runs once the computation it was busy with has returned.
double freedAfterMs(HistoryWindow &window, const std::function<void()> &cancel)
{
    QThread *jobs = window.findChild<QThread *>(QStringLiteral("history jobs"));
    QObject probe;
    probe.moveToThread(jobs);
    std::atomic<qint64> ranNs{0};
    const qint64 start = BenchTime::nowNs();
    cancel();
    QMetaObject::invokeMethod(&probe, [&ranNs] { ranNs = BenchTime::nowNs(); }, Qt::QueuedConnection);
    while (ranNs == 0)
        QThread::msleep(1);
    QMetaObject::invokeMethod(&probe, [&probe] { probe.moveToThread(QCoreApplication::instance()->thread()); },
                              Qt::BlockingQueuedConnection);
    return BenchTime::toMs(ranNs - start);
}

void chooseAllStatistics(HistoryWindow &window)
{
    for (const char *name : {"oadevCheck", "mdevCheck", "tdevCheck", "ohdevCheck"})
        window.findChild<QCheckBox *>(QLatin1String(name))->setChecked(true);
}

void showStabilityTab(HistoryWindow &window, bool stability)
{
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabs"));
    tabs->setCurrentWidget(window.findChild<QWidget *>(stability ? "stabilityTab" : "timeTab"));
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
    double pauseMs = 0;
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

        chooseAllStatistics(window);
        start = BenchTime::nowNs();
        QTimer::singleShot(0, &window, [&window] { showStabilityTab(window, true); });
        bool arrived = false;
        const double pause = longestPauseMs(window, &HistoryWindow::stabilityShown, &arrived);
        if (!arrived) {
            BenchReport::failed(QStringLiteral("history stability plot"), QStringLiteral("none in 2 minutes"));
            return 1;
        }
        stabilityMs = qMin(stabilityMs, elapsedMs(start));
        pauseMs = qMax(pauseMs, pause);
        if (run == 0)
            addedWithStabilityMiB = ProcStat::residentMiB(pid) - residentBefore;
    }

    // A computation dropped some way into it, by a new range and by hiding
    // the window; and the window destroyed while one runs.
    double cancelRangeMs = 0;
    double cancelHideMs = 0;
    double destroyMs = 0;
    for (int delayMs : {50, 300, 700}) {
        auto window = std::make_unique<HistoryWindow>(fill.path, dir.filePath(QStringLiteral("fconn583.ini")));
        window->resize(1100, 820);
        window->showRange(HistoryRange::Last30Days);
        window->show();
        waitFor(*window, &HistoryWindow::viewShown);
        chooseAllStatistics(*window);
        const TimeRange month = window->shownRange();
        showStabilityTab(*window, true);
        QTest::qWait(delayMs);
        cancelRangeMs = qMax(cancelRangeMs, freedAfterMs(*window, [&] {
            window->showRange(HistoryRange::BetweenDates, {month.fromMs + 60000, month.toMs});
        }));
        waitFor(*window, &HistoryWindow::viewShown);
        QTest::qWait(delayMs);
        cancelHideMs = qMax(cancelHideMs, freedAfterMs(*window, [&] { window->hide(); }));
        window->show();
        QTest::qWait(delayMs);
        const qint64 start = BenchTime::nowNs();
        window.reset();
        destroyMs = qMax(destroyMs, elapsedMs(start));
    }

    BenchReport::below(QStringLiteral("history window, 30 days at 1 s, to first drawing"), openMs, "ms", 1000);
    BenchReport::below(QStringLiteral("memory added by the open history window"), addedMiB, "MiB", 100);
    BenchReport::info(QStringLiteral("  with its stability plot of the month"),
                      BenchReport::format(addedWithStabilityMiB) + " MiB");
    BenchReport::below(QStringLiteral("history stability plot, 30 days at 1 s, 4 statistics with intervals"),
                       stabilityMs, "ms", 2000);
    BenchReport::below(QStringLiteral("  longest GUI pause meanwhile"), pauseMs, "ms", 100);
    BenchReport::below(QStringLiteral("history stability dropped by a new range"), cancelRangeMs, "ms", 100);
    BenchReport::below(QStringLiteral("history stability dropped by closing the window"), cancelHideMs, "ms", 100);
    BenchReport::below(QStringLiteral("history window destroyed while computing"), destroyMs, "ms", 100);
    return 0;
}
