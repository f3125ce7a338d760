// The metrics endpoint: how long a scrape takes, and whether a client that
// scrapes 50 times a second disturbs the link. The link, the status
// publisher and the endpoint run in this process as in the program, against
// the simulated instrument on a pseudo-terminal of this process; requests are
// stamped as their bytes are read off the terminal.

#include "BenchReport.h"
#include "BenchTime.h"
#include "SimulatedLink.h"

#include "link/COMThread.h"
#include "status/StatusPublisher.h"
#include "metrics/MetricsServer.h"

#include <httplib.h>

#include <QCoreApplication>

#include <atomic>
#include <thread>

namespace {

constexpr int ScrapesPerSecond = 50;
constexpr int CommandEveryMs = 200;

struct Phase {
    SimulatedLink::Load load;
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
Phase runPhase(SimulatedLink &sim, int port, int seconds, bool scraping)
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
    phase.load = sim.measure(seconds, CommandEveryMs);
    running = false;
    scraper.join();
    phase.scrapes = scrapes;
    phase.failedScrapes = failed;
    return phase;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    const int phaseSeconds = report.quick() ? 10 : 60;
    const int scrapeSamples = report.quick() ? 300 : 2000;
    SimulatedLink sim;
    QString error;
    if (!sim.open(&error)) {
        BenchReport::failed(QStringLiteral("scrape time"), error);
        return 1;
    }
    COMThread &link = sim.link();
    StatusPublisher publisher(&link);
    publisher.setChannelNames({"Rb \"AHM#1\"", "Rb 2", "Cs 3", "Водород 4"});
    MetricsServer metrics(publisher.board());
    if (metrics.start("127.0.0.1", 0) != MetricsServer::StartResult::Listening) {
        BenchReport::failed(QStringLiteral("scrape time"), QStringLiteral("the endpoint did not start"));
        return 1;
    }
    sim.start();
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
    const Phase quiet = ready ? runPhase(sim, metrics.port(), phaseSeconds, false) : Phase();
    const Phase scraped = ready ? runPhase(sim, metrics.port(), phaseSeconds, true) : Phase();
    metrics.stop();

    if (scrapes.empty() || quiet.load.commandMs.empty() || scraped.load.commandMs.empty()) {
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
    BenchReport::info(QStringLiteral("scrape time, median"),
                      BenchReport::format(BenchTime::quantile(scrapes, 0.5)) + " ms");
    BenchReport::below(QStringLiteral("scrape time, p99"), BenchTime::quantile(scrapes, 0.99), "ms", 5);
    SimulatedLink::compare(QStringLiteral("scraped 50/s"), scraped.load, QStringLiteral("without scrapes"),
                           quiet.load);
    return 0;
}
