#pragma once

#include <QString>

#include <vector>

// What a scraper gets from the metrics endpoint of a running program while
// one kind of attack goes on, and what the program spends meanwhile. The
// scraper asks every 200 ms, once each time, with a deadline of a second, as
// Prometheus does; the attackers come from other loopback addresses.
class EndpointAttack
{
public:
    enum class Kind { None, IdleFlood, SlowHeaders, IdleAndSlow, RangeBomb, LongLines };
    static constexpr int DeadlineMs = 1000;

    struct Outcome {
        std::vector<double> scrapeMs;  // a failed scrape counts as the deadline
        int failed = 0;
        double peakRssMiB = 0;
        double cpuPercent = 0;
        qint64 largestScrape = 0;        // bytes of the largest answer to a scrape
        qint64 largestAttackAnswer = 0;  // bytes that one attacking request got back
    };

    static QString name(Kind kind);
    static Outcome run(Kind kind, int port, qint64 pid, int seconds);
};
