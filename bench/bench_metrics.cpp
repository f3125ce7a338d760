// The metrics endpoint: how long a scrape takes, and whether a client that
// scrapes 50 times a second disturbs the link. The link, the status
// publisher and the endpoint run in this process as in the program, against
// the simulated instrument on a pseudo-terminal of this process; requests are
// stamped as their bytes are read off the terminal.

#include "BenchReport.h"
#include "BenchTime.h"
#include "LinkRunner.h"
#include "RequestLog.h"

#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "mainwindow/StatusPublisher.h"
#include "metrics/MetricsServer.h"
#include "simulator/ProtocolEngine.h"
#include "simulator/PtyServer.h"

#include <httplib.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

const QByteArray Command = "P30";  // COMMAND_GET_1PPS_OFFSET: short, changes nothing
const QList<QByteArray> Polls = {"P10", "PC0", "PA0", "PV0"};
constexpr int ScrapesPerSecond = 50;
constexpr int CommandEveryMs = 200;

struct Phase {
    std::vector<double> commandMs;
    std::vector<double> pollOffMs;  // |spacing - 1 s| of consecutive polls
    int scrapes = 0;
    int failedScrapes = 0;
};

double scrapeMs(int port, bool *ok)
{
    const qint64 start = BenchTime::nowNs();
    httplib::Client client("127.0.0.1", port);
    const httplib::Result result = client.Get("/metrics");
    *ok = result && result->status == 200 && result->body.size() > 1000;
    return BenchTime::toMs(BenchTime::nowNs() - start);
}

// Queues a command every CommandEveryMs for `seconds`, while `scraping`
// clients scrape, and gathers command latencies and poll spacing.
Phase runPhase(COMThread &link, const RequestLog &log, int port, int seconds, bool scraping)
{
    Phase phase;
    std::atomic<bool> running{scraping};
    std::atomic<int> scrapes{0};
    std::atomic<int> failed{0};
    std::thread scraper([&] {
        auto next = std::chrono::steady_clock::now();
        while (running) {
            bool ok = false;
            scrapeMs(port, &ok);
            ++(ok ? scrapes : failed);
            next += std::chrono::milliseconds(1000 / ScrapesPerSecond);
            std::this_thread::sleep_until(next);
        }
    });

    const qint64 from = BenchTime::nowNs();
    const qint64 until = from + qint64(seconds) * 1000000000;
    while (BenchTime::nowNs() < until) {
        const qint64 queued = BenchTime::nowNs();
        link.queueCommand(COMMAND_GET_1PPS_OFFSET);
        qint64 seen = 0;
        if (BenchTime::waitUntil([&] { return (seen = log.firstAfter({Command}, queued)) != 0; }, 5000))
            phase.commandMs.push_back(BenchTime::toMs(seen - queued));
        BenchTime::pause(CommandEveryMs);
    }
    running = false;
    scraper.join();

    const std::vector<qint64> polls = log.times(Polls, from, BenchTime::nowNs());
    for (size_t i = 1; i < polls.size(); ++i)
        phase.pollOffMs.push_back(std::fabs(BenchTime::toMs(polls[i] - polls[i - 1]) - 1000.0));
    phase.scrapes = scrapes;
    phase.failedScrapes = failed;
    return phase;
}

QString ms(double value)
{
    return BenchReport::format(value) + " ms";
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    const int phaseSeconds = report.quick() ? 10 : 60;
    const int scrapeSamples = report.quick() ? 300 : 2000;
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("ksr583-bench-metrics-%1").arg(app.applicationPid()));

    auto clock = std::make_shared<LinkClock>();
    ProtocolEngine engine(*clock);
    RequestLog log;
    engine.setRequestObserver([&log](const ReceivedRequest &r) { log.add(r.code); });
    PtyServer server(engine, *clock);
    QString error;
    if (!server.open(&error) || !server.createLink(linkPath, &error)) {
        BenchReport::failed(QStringLiteral("scrape time"), error);
        return 1;
    }
    std::thread serving([&server] { server.run(); });

    LinkRunner runner;
    COMThread &link = runner.link();
    link.setPortName(linkPath);
    link.setMonitorInterval(1);
    StatusPublisher publisher(&link);
    publisher.setChannelNames({"Rb \"AHM#1\"", "Rb 2", "Cs 3", "Водород 4"});
    MetricsServer metrics(publisher.board());
    if (metrics.start("127.0.0.1", 0) != MetricsServer::StartResult::Listening) {
        BenchReport::failed(QStringLiteral("scrape time"), QStringLiteral("the endpoint did not start"));
        return 1;
    }
    runner.start();
    // Every record read once, so that a scrape carries everything.
    const bool ready = BenchTime::waitUntil([&] { return publisher.snapshot().var.has_value(); }, 30000);

    std::vector<double> scrapes;
    for (int i = 0; ready && i < scrapeSamples; ++i) {
        bool ok = false;
        const double t = scrapeMs(metrics.port(), &ok);
        if (ok)
            scrapes.push_back(t);
        BenchTime::pause(1);
    }
    const Phase quiet = ready ? runPhase(link, log, metrics.port(), phaseSeconds, false) : Phase();
    const Phase scraped = ready ? runPhase(link, log, metrics.port(), phaseSeconds, true) : Phase();

    runner.stop();
    metrics.stop();
    server.requestStop();
    serving.join();

    if (scrapes.empty() || quiet.commandMs.empty() || scraped.commandMs.empty()) {
        BenchReport::failed(QStringLiteral("scrape time"), QStringLiteral("no scrape or no command succeeded"));
        return 1;
    }
    BenchReport::note(QStringLiteral("%1 scrapes one after another; then %2 s without and %2 s with %3 scrapes/s "
                                     "(%4 answered, %5 failed), a command every %6 ms, a poll a second")
                          .arg(scrapes.size())
                          .arg(phaseSeconds)
                          .arg(ScrapesPerSecond)
                          .arg(scraped.scrapes)
                          .arg(scraped.failedScrapes)
                          .arg(CommandEveryMs));
    BenchReport::info(QStringLiteral("scrape time, median"), ms(BenchTime::quantile(scrapes, 0.5)));
    BenchReport::below(QStringLiteral("scrape time, p99"), BenchTime::quantile(scrapes, 0.99), "ms", 5);
    const auto sideBySide = [](const QString &figure, const std::vector<double> &with,
                               const std::vector<double> &without, double q) {
        BenchReport::info(figure, ms(BenchTime::quantile(with, q)),
                          QStringLiteral("without scrapes: %1").arg(ms(BenchTime::quantile(without, q))));
    };
    sideBySide(QStringLiteral("poll spacing off 1 s, p99, scraped 50/s"), scraped.pollOffMs, quiet.pollOffMs, 0.99);
    sideBySide(QStringLiteral("command latency, median, scraped 50/s"), scraped.commandMs, quiet.commandMs, 0.5);
    sideBySide(QStringLiteral("command latency, p99, scraped 50/s"), scraped.commandMs, quiet.commandMs, 0.99);
    return 0;
}
