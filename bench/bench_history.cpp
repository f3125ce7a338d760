// The history store: what a poll costs to write (on the writer's thread) and
// to hand over (on the GUI thread), how large the database grows, and how
// fast a month at one-second polling is read back for drawing.
//
// The databases are filled by ksr583-history-fill's code, through the store,
// with a simulated instrument: drifting channels, dropouts, steering, lost
// connections and the daily journal.

#include "BenchReport.h"
#include "BenchTime.h"

#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "history/HistoryWriter.h"
#include "history/RunSplitter.h"
#include "history/StabilityJob.h"
#include "history/fill/FillClock.h"
#include "history/fill/HistoryFill.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <random>
#include <vector>

namespace {

const QDateTime End(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
constexpr qint64 Day = 86400000;

ADJ_STATE adj(int i)
{
    ADJ_STATE a;
    a.freqOffset = 1e-12f + float(i % 97) * 1e-16f;
    a.freqDrift = 2e-15f;
    for (int c = 0; c < 4; ++c)
        a.chanOffset[c] = float(c + 1) * 1e-12f + float(i % 13) * 1e-15f;
    return a;
}

double megabytes(const QString &path)
{
    return double(QFileInfo(path).size()) / 1e6;
}

// One poll per transaction, as the store writes at one poll a second.
void writeCost(const QString &dir, int polls)
{
    HistoryWriter writer(dir + QStringLiteral("/write.sqlite"));
    const qint64 t0 = End.toMSecsSinceEpoch();
    writer.open(t0);
    std::vector<double> ms;
    VAR_STRUCT var;
    for (int i = 0; i < polls; ++i) {
        HistoryItem item{t0 + i * 1000, DETECT()};
        if (i % 4 == 1)
            item.data = ADJ_CMD_STATE();
        else if (i % 4 == 2)
            item.data = adj(i);
        else if (i % 4 == 3)
            item.data = var;
        const qint64 start = BenchTime::nowNs();
        writer.write({item});
        ms.push_back(BenchTime::toMs(BenchTime::nowNs() - start));
    }
    writer.close(t0 + polls * 1000);
    BenchReport::info(QStringLiteral("history write per poll, median"),
                      BenchReport::format(BenchTime::quantile(ms, 0.5)) + " ms", QStringLiteral("writer thread"));
    BenchReport::below(QStringLiteral("history write per poll, p99"), BenchTime::quantile(ms, 0.99), "ms", 1);
    BenchReport::info(QStringLiteral("history write per poll, p99.9"),
                      BenchReport::format(BenchTime::quantile(ms, 0.999)) + " ms",
                      QStringLiteral("a checkpoint of the log"));
}

// What addStatus() costs the GUI thread: a copy into the queue.
void enqueueCost(const QString &dir, int polls)
{
    HistoryStore store(dir + QStringLiteral("/enqueue.sqlite"));
    const qint64 t0 = End.toMSecsSinceEpoch();
    std::vector<double> us;
    for (int i = 0; i < polls; ++i) {
        const ADJ_STATE record = adj(i);
        const qint64 start = BenchTime::nowNs();
        store.addStatus(t0 + i * 1000, record);
        us.push_back(double(BenchTime::nowNs() - start) / 1000.0);
        if (i % 4000 == 3999)
            store.waitUntilWritten();
    }
    store.waitUntilWritten();
    BenchReport::below(QStringLiteral("history hand-over per poll (GUI), p99"), BenchTime::quantile(us, 0.99), "us",
                       50);
}

// One MonitorInterval all through, so that the figures are of that interval.
QString fill(const QString &path, int interval, int days)
{
    HistoryFill::Options options;
    options.path = path;
    options.intervalSeconds = interval;
    options.laterIntervalSeconds = 0;
    options.days = days;
    options.endUtc = End;
    const qint64 start = BenchTime::nowNs();
    const HistoryFill::Result result = HistoryFill::run(options);
    BenchReport::note(QStringLiteral("filled %1 days at %2 s: %3 polls, %4 MB, %5 s")
                          .arg(days)
                          .arg(interval)
                          .arg(result.polls)
                          .arg(megabytes(path), 0, 'f', 1)
                          .arg(BenchTime::toMs(BenchTime::nowNs() - start) / 1000, 0, 'f', 1));
    return result.dropped == 0 ? path : QString();
}

// What a fortnight without an instrument adds: the search tries the port
// every 1.3 s, and each attempt shows its line in the message log.
double disconnectedGrowth(const QString &dir, int days)
{
    const QString path = dir + QStringLiteral("/disconnected.sqlite");
    const qint64 t0 = End.toMSecsSinceEpoch();
    auto clock = std::make_shared<FillClock>(t0);
    const QString line = QStringLiteral("Connecting to /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    {
        HistoryStore store(path, clock);
        store.addConnected(t0, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("KSR-583 #0042"));
        store.waitUntilWritten();
    }
    const double before = megabytes(path);
    {
        HistoryStore store(path, clock);
        store.addSearchStarted(t0);
        store.addMessage(t0, QStringLiteral("red"), QStringLiteral("The port /dev/ttyUSB0 is not there."));
        int sinceWait = 0;
        for (qint64 t = t0; t < t0 + days * Day; t += 1300) {
            clock->setUtcMs(t);
            store.addMessage(t, QStringLiteral("black"), line);
            if (++sinceWait == 8000) {
                store.waitUntilWritten();
                sinceWait = 0;
            }
        }
        store.waitUntilWritten();
    }
    return megabytes(path) - before;
}

// The best of `runs` loads of `range` at `buckets`, in ms.
double loadMs(const QString &path, TimeRange range, int buckets, int runs, int *level)
{
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
        const qint64 start = BenchTime::nowNs();
        HistoryReader reader(path);
        reader.open();
        const HistoryView view = reader.load(range, buckets);
        best = qMin(best, BenchTime::toMs(BenchTime::nowNs() - start));
        if (view.series[Series::FreqOffset].isEmpty())
            return -1;
    }
    *level = HistoryReader::level(range, buckets);
    return best;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport options(app.arguments());
    QTemporaryDir dir;

    // Enough polls for several checkpoints, whose sync is the rare slow write.
    writeCost(dir.path(), 10000);
    enqueueCost(dir.path(), options.quick() ? 20000 : 100000);

    const QString tenSeconds = fill(dir.filePath(QStringLiteral("30d-10s.sqlite")), 10, 30);
    const QString oneSecond = fill(dir.filePath(QStringLiteral("30d-1s.sqlite")), 1, 30);
    if (tenSeconds.isEmpty() || oneSecond.isEmpty()) {
        BenchReport::failed(QStringLiteral("history size"), QStringLiteral("the store dropped entries while filling"));
        return 1;
    }
    BenchReport::info(QStringLiteral("history size per day at 1 s"),
                      BenchReport::format(megabytes(oneSecond) / 30) + " MB");
    BenchReport::info(QStringLiteral("history size per day at 10 s"),
                      BenchReport::format(megabytes(tenSeconds) / 30) + " MB");
    if (options.quick()) {
        BenchReport::below(QStringLiteral("history size per year at 10 s (from 30 days)"),
                           megabytes(tenSeconds) * 365 / 30, "MB", 100);
    } else {
        const QString year = fill(dir.filePath(QStringLiteral("365d-10s.sqlite")), 10, 365);
        BenchReport::below(QStringLiteral("history size per year at 10 s"), megabytes(year), "MB", 100);
    }

    BenchReport::below(QStringLiteral("history growth, 14 days without an instrument"),
                       disconnectedGrowth(dir.path(), 14), "MB", 1);

    // The month at one second, as the History window opens it, and the range
    // just short of the five-minute summaries, the longest read reading by reading.
    const qint64 endMs = End.toMSecsSinceEpoch();
    const int runs = options.quick() ? 1 : 3;
    int level = 0;
    const double month = loadMs(oneSecond, {endMs - 30 * Day, endMs}, 2000, runs, &level);
    BenchReport::below(QStringLiteral("history load 30 days at 1 s, 2000 buckets"), month, "ms", 300);
    BenchReport::note(QStringLiteral("  read from summary level %1").arg(level));
    const qint64 rawSpan = 2000 * 5 * 60000 - 60000;
    const double raw = loadMs(oneSecond, {endMs - rawSpan, endMs}, 2000, runs, &level);
    BenchReport::below(QStringLiteral("history load 6.9 days at 1 s (each reading)"), raw, "ms", 500);

    // The four statistics with their intervals over one channel's month:
    // reading, leaving out what had no signal, splitting into runs, analysis.
    const qint64 start = BenchTime::nowNs();
    HistoryReader reader(oneSecond);
    reader.open();
    StabilityReadings readings;
    StabilityJob::read(reader, Series::Offset1, {endMs - 30 * Day, endMs}, {}, &readings);
    const double readMs = BenchTime::toMs(BenchTime::nowNs() - start);
    StabilityRequest request;
    request.series = Series::Offset1;
    const StabilityResult result = StabilityJob::analyse(readings, request);
    int points = 0;
    for (const StabilityCurve &curve : result.curves)
        points += curve.points.size();
    BenchReport::info(QStringLiteral("history stability of 30 days at 1 s"),
                      BenchReport::format(BenchTime::toMs(BenchTime::nowNs() - start)) + " ms",
                      QStringLiteral("%1 readings (read in %2 ms), 4 statistics, %3 points")
                          .arg(result.used)
                          .arg(BenchReport::format(readMs))
                          .arg(points));

    // The steps after the reading alone, on a month of readings every second
    // (2.6 million, stamps 0-15 ms late as the link's): should a series ever
    // be read at every poll.
    std::mt19937_64 rng(24);
    std::normal_distribution<double> noise(0.0, 1e-12);
    std::uniform_int_distribution<int> late(0, 15);
    QVector<Sample> everySecond;
    everySecond.reserve(30 * 86400);
    for (qint64 i = 0; i < 30 * 86400; ++i)
        everySecond << Sample{endMs - 30 * Day + i * 1000 + late(rng), noise(rng)};
    const qint64 splitStart = BenchTime::nowNs();
    const QVector<ReadingRun> split = RunSplitter::split(everySecond, {});
    const double splitMs = BenchTime::toMs(BenchTime::nowNs() - splitStart);
    QVector<QVector<double>> y;
    for (const ReadingRun &run : split)
        y << run.y;
    const qint64 analysisStart = BenchTime::nowNs();
    StabilityAnalysis::run(y, 1.0, {});
    BenchReport::info(QStringLiteral("stability of 2.6 million readings at 1 s, in memory"),
                      BenchReport::format(BenchTime::toMs(BenchTime::nowNs() - splitStart)) + " ms",
                      QStringLiteral("runs split in %1 ms, 4 statistics with intervals in %2 ms")
                          .arg(BenchReport::format(splitMs))
                          .arg(BenchReport::format(BenchTime::toMs(BenchTime::nowNs() - analysisStart))));
    return 0;
}
