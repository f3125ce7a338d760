#include "EndpointAttack.h"

#include "HostileClients.h"
#include "HostileCrowd.h"
#include "ProcStat.h"
#include "Scraper.h"

#include <QElapsedTimer>

#include <atomic>
#include <memory>
#include <thread>

namespace {

constexpr int ScrapeEveryMs = 200;
constexpr int Senders = 4;

QByteArray attackRequest(EndpointAttack::Kind kind)
{
    if (kind == EndpointAttack::Kind::RangeBomb) {
        QByteArray ranges = "bytes=0-";
        for (int k = 1; k < 2600; ++k)
            ranges += ",0-";
        return "GET /metrics HTTP/1.1\r\nHost: x\r\nRange: " + ranges + "\r\n\r\n";
    }
    if (kind == EndpointAttack::Kind::LongLines)
        return "GET /" + QByteArray(1 << 20, 'a') + " HTTP/1.1\r\n\r\n";
    return QByteArray();
}

}  // namespace

QString EndpointAttack::name(Kind kind)
{
    switch (kind) {
    case Kind::None:
        return QStringLiteral("no attack");
    case Kind::IdleFlood:
        return QStringLiteral("1000 idle");
    case Kind::SlowHeaders:
        return QStringLiteral("50 slow headers");
    case Kind::IdleAndSlow:
        return QStringLiteral("1000 idle + 50 slow");
    case Kind::RangeBomb:
        return QStringLiteral("Range bomb x4");
    case Kind::LongLines:
        return QStringLiteral("1 MB lines x4");
    }
    return QString();
}

EndpointAttack::Outcome EndpointAttack::run(Kind kind, int port, qint64 pid, int seconds)
{
    const int idle = kind == Kind::IdleFlood || kind == Kind::IdleAndSlow ? 1000 : 0;
    const int slow = kind == Kind::SlowHeaders || kind == Kind::IdleAndSlow ? 50 : 0;
    HostileCrowd crowd(port, idle, slow, 40);
    Outcome out;
    if (idle + slow > 0 && !crowd.start()) {
        out.failed = -1;
        return out;
    }
    std::atomic<bool> attacking{true};
    std::atomic<qint64> largest{0};
    std::vector<std::thread> senders;
    const QByteArray request = attackRequest(kind);
    for (int k = 0; !request.isEmpty() && k < Senders; ++k) {
        senders.emplace_back([&] {
            const HostileClients client(port);
            while (attacking) {
                const qint64 got = client.exchange(request).size();
                for (qint64 seen = largest; got > seen && !largest.compare_exchange_weak(seen, got);) {
                }
            }
        });
    }

    const double cpuBefore = ProcStat::cpuSeconds(pid);
    QElapsedTimer clock;
    clock.start();
    for (int k = 0; clock.elapsed() < seconds * 1000; ++k) {
        const Scraper::Answer a = Scraper::get(port, "/metrics", DeadlineMs);
        const bool ok = a.status == 200 && a.body.startsWith("# HELP ksr583_up ");
        out.scrapeMs.push_back(ok ? a.ms : DeadlineMs);
        out.failed += ok ? 0 : 1;
        out.largestScrape = qMax<qint64>(out.largestScrape, a.header.size() + 2 + a.body.size());
        out.peakRssMiB = qMax(out.peakRssMiB, ProcStat::residentMiB(pid));
        const qint64 next = qint64(k + 1) * ScrapeEveryMs;
        if (next > clock.elapsed())
            std::this_thread::sleep_for(std::chrono::milliseconds(next - clock.elapsed()));
    }
    out.cpuPercent = 100 * (ProcStat::cpuSeconds(pid) - cpuBefore) / (clock.elapsed() / 1000.0);
    attacking = false;
    for (std::thread &t : senders)
        t.join();
    crowd.stop();
    out.largestAttackAnswer = largest;
    return out;
}
