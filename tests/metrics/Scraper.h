#pragma once

#include <QByteArray>

// One scrape as Prometheus makes it: a new connection from 127.0.0.1, one
// GET, a deadline for the whole exchange, and no second try. Raw sockets,
// POSIX only; answers with chunked bodies are not read.
class Scraper
{
public:
    struct Answer {
        int status = 0;  // 0: no answer within the deadline
        QByteArray header;
        QByteArray body;
        double ms = 0;
    };

    // The deadline of a scrape in tests: a second; five where a sanitizer's
    // instrumented code runs several times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static constexpr int DeadlineMs = 5000;
#else
    static constexpr int DeadlineMs = 1000;
#endif

    static Answer get(int port, const QByteArray &path, int timeoutMs = DeadlineMs);
    // A port on 127.0.0.1 that no one listens on now, as the system hands
    // them out: where to put an endpoint that is to be scraped.
    static int freePort();
};
