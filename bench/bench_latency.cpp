// Command latency: from queueing a command to its request on the wire, while
// the link is idle and while a status poll waits for a late answer.
//
// Measured by reading the pseudo-terminal directly: the benchmark serves the
// simulated instrument on a pseudo-terminal of its own (PtyServer on a thread
// of this process) and stamps each request with the monotonic clock as its
// bytes are read off the terminal.

#include "BenchReport.h"
#include "BenchTime.h"
#include "LinkRunner.h"
#include "RequestLog.h"

#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "simulator/ProtocolEngine.h"
#include "simulator/PtyServer.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int LateMs = 300;
const QByteArray Command = "P30";  // COMMAND_GET_1PPS_OFFSET: short, changes nothing
const QList<QByteArray> Polls = {"P10", "PC0", "PA0", "PV0"};

// Waits for the request of a command queued at `queuedNs`; its latency in ms,
// or a negative value on timeout.
double awaitCommand(const RequestLog &log, qint64 queuedNs, std::atomic<int> &answers, int expected)
{
    qint64 seenNs = 0;
    const bool seen = BenchTime::waitUntil([&] { return (seenNs = log.firstAfter({Command}, queuedNs)) != 0; },
                                           5000);
    // The next sample starts once this exchange is over.
    BenchTime::waitUntil([&] { return answers >= expected; }, 5000);
    return seen ? BenchTime::toMs(seenNs - queuedNs) : -1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    const int idleSamples = report.quick() ? 50 : 300;
    const int busySamples = report.quick() ? 5 : 20;
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("ksr583-bench-latency-%1").arg(app.applicationPid()));

    LinkClock clock;
    ProtocolEngine engine(clock);
    RequestLog log;
    engine.setRequestObserver([&log](const ReceivedRequest &r) { log.add(r.code); });
    PtyServer server(engine, clock);
    QString error;
    if (!server.open(&error) || !server.createLink(linkPath, &error)) {
        BenchReport::failed(QStringLiteral("command latency"), error);
        return 1;
    }
    std::thread serving([&server] { server.run(); });

    LinkRunner runner;
    COMThread &l = runner.link();
    l.setPortName(linkPath);
    l.setMonitorInterval(3600);
    std::atomic<int> polls{0};
    std::atomic<int> answers{0};
    QObject::connect(&l, &COMThread::detectRcvd, [&polls] { ++polls; });
    QObject::connect(&l, &COMThread::currentOffset_1PPS_isReady, [&answers] { ++answers; });
    runner.start();
    const bool connected = BenchTime::waitUntil([&polls] { return polls > 0; }, 20000);

    std::vector<double> idle;
    std::vector<double> busy;
    std::vector<double> afterAnswer;
    std::mt19937 rng(583);
    std::uniform_int_distribution<int> spread(0, 20);
    for (int i = 0; connected && i < idleSamples; ++i) {
        // Queue at any moment of the loop's idle sleep.
        BenchTime::pause(spread(rng));
        const qint64 queued = BenchTime::nowNs();
        l.queueCommand(COMMAND_GET_1PPS_OFFSET);
        const double ms = awaitCommand(log, queued, answers, answers + 1);
        if (ms >= 0)
            idle.push_back(ms);
    }

    // Every poll answered LateMs late, one poll a second: queue right after
    // a poll request went out.
    engine.addFaults(QStringLiteral("late:P10:%1,late:PC0:%1,late:PA0:%1,late:PV0:%1").arg(LateMs));
    l.setMonitorInterval(1);
    for (int i = 0; connected && i < busySamples; ++i) {
        const qint64 since = BenchTime::nowNs();
        qint64 pollNs = 0;
        if (!BenchTime::waitUntil([&] { return (pollNs = log.firstAfter(Polls, since)) != 0; }, 5000))
            break;
        const qint64 queued = BenchTime::nowNs();
        l.queueCommand(COMMAND_GET_1PPS_OFFSET);
        const double ms = awaitCommand(log, queued, answers, answers + 1);
        if (ms < 0)
            continue;
        busy.push_back(ms);
        afterAnswer.push_back(ms + BenchTime::toMs(queued - pollNs) - LateMs);
    }

    runner.stop();
    server.requestStop();
    serving.join();

    if (idle.empty() || busy.empty()) {
        BenchReport::failed(QStringLiteral("command latency"), QStringLiteral("no command reached the wire"));
        return 1;
    }
    BenchReport::note(QStringLiteral("%1 idle samples, %2 behind a poll").arg(idle.size()).arg(busy.size()));
    BenchReport::info(QStringLiteral("command latency idle, median"),
                      BenchReport::format(BenchTime::quantile(idle, 0.5)) + " ms");
    BenchReport::below(QStringLiteral("command latency idle, p99"), BenchTime::quantile(idle, 0.99), "ms", 1);
    BenchReport::info(QStringLiteral("  before the loop woke on a command, p99"), QStringLiteral("10.2 ms"),
                      QStringLiteral("a 10 ms sleep per idle pass"));
    BenchReport::info(QStringLiteral("command latency behind a poll, median"),
                      BenchReport::format(BenchTime::quantile(busy, 0.5)) + " ms",
                      QStringLiteral("poll answered %1 ms late").arg(LateMs));
    BenchReport::below(QStringLiteral("  of which after the poll's answer, p99"),
                       BenchTime::quantile(afterAnswer, 0.99), "ms", 15);
    return 0;
}
