// The metrics endpoint: how long a scrape takes, and whether a client that
// scrapes 50 times a second disturbs the link. The link, the status
// publisher and the endpoint run in this process as in the program, against
// the simulated instrument on a pseudo-terminal of this process; requests are
// stamped as their bytes are read off the terminal.
// Then the real program against ksr583-sim, scraped five times a second
// while its endpoint is attacked: by idle connections, by slow request
// lines, by requests for thousands of ranges, by request lines of a
// megabyte. Each scrape is one try with a deadline of a second, as
// Prometheus makes it; the program's memory and CPU are read from /proc.

#include "BenchReport.h"
#include "BenchTime.h"
#include "EndpointAttack.h"
#include "MonitoredRun.h"
#include "Scraper.h"
#include "SimulatedLink.h"

#include "link/COMThread.h"
#include "status/StatusPublisher.h"
#include "metrics/MetricsServer.h"

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
    const Scraper::Answer answer = Scraper::get(port, "/metrics", 5000);
    *ok = answer.status == 200 && answer.body.size() > 1000;
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

// The rows for scrapes of the real program under each attack.
bool attackRows(int seconds)
{
    const QString figure = QStringLiteral("scrape under attack");
    const int port = Scraper::freePort();
    MonitoredRun run;
    if (!run.start(QStringLiteral("metrics"), {"--lively"}, 1, port)) {
        BenchReport::failed(figure, run.error());
        return false;
    }
    const bool up = BenchTime::waitUntil(
        [&] { return Scraper::get(port, "/metrics", EndpointAttack::DeadlineMs).body.contains("\nksr583_up 1\n"); },
        30000);
    if (!up) {
        BenchReport::failed(figure, QStringLiteral("the program's endpoint never reported the instrument up"));
        return false;
    }
    using Kind = EndpointAttack::Kind;
    const Kind kinds[] = {Kind::None, Kind::IdleFlood, Kind::SlowHeaders, Kind::IdleAndSlow, Kind::RangeBomb,
                          Kind::LongLines};
    for (Kind kind : kinds) {
        const QString name = EndpointAttack::name(kind);
        const EndpointAttack::Outcome o = EndpointAttack::run(kind, port, run.pid(), seconds);
        if (o.failed < 0 || o.scrapeMs.empty()) {
            BenchReport::failed(QStringLiteral("scrape, %1").arg(name), QStringLiteral("no attack could be set up"));
            continue;
        }
        BenchReport::below(QStringLiteral("scrape, %1: p99").arg(name), BenchTime::quantile(o.scrapeMs, 0.99), "ms",
                           EndpointAttack::DeadlineMs, false, 4);
        BenchReport::info(QStringLiteral("scrape, %1: p50, failed").arg(name),
                          QStringLiteral("%1 ms, %2/%3")
                              .arg(BenchReport::format(BenchTime::quantile(o.scrapeMs, 0.5)))
                              .arg(o.failed)
                              .arg(o.scrapeMs.size()),
                          QStringLiteral("one try, %1 ms deadline").arg(EndpointAttack::DeadlineMs));
        BenchReport::info(QStringLiteral("program, %1: RSS peak, CPU").arg(name),
                          QStringLiteral("%1 MiB, %2 %")
                              .arg(BenchReport::format(o.peakRssMiB))
                              .arg(BenchReport::format(o.cpuPercent, 2)));
        // The same header either way; values of a few more digits may come
        // between a scrape and an attack.
        if (kind == Kind::RangeBomb)
            BenchReport::below(QStringLiteral("answer to 2600 ranges, largest"), o.largestAttackAnswer / 1024.0,
                               "kB", (o.largestScrape + 64) / 1024.0, true);
    }
    return true;
}

// The rows for scrapes of the endpoint in this process, and for the link
// beside it.
bool inProcessRows(const BenchReport &report)
{
    const int phaseSeconds = report.quick() ? 10 : 60;
    const int scrapeSamples = report.quick() ? 300 : 2000;
    SimulatedLink sim;
    QString error;
    if (!sim.open(&error)) {
        BenchReport::failed(QStringLiteral("scrape time"), error);
        return false;
    }
    COMThread &link = sim.link();
    StatusPublisher publisher(&link);
    publisher.setChannelNames({"Rb \"AHM#1\"", "Rb 2", "Cs 3", "Водород 4"});
    MetricsServer metrics(publisher.board());
    if (metrics.start("127.0.0.1", 0) != MetricsServer::StartResult::Listening) {
        BenchReport::failed(QStringLiteral("scrape time"), QStringLiteral("the endpoint did not start"));
        return false;
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
        return false;
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
    return true;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    const bool inProcess = inProcessRows(report);
    const bool attacked = attackRows(report.quick() ? 5 : 15);
    return inProcess && attacked ? 0 : 1;
}
