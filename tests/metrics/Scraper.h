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

    static Answer get(int port, const QByteArray &path, int timeoutMs);
    // A port on 127.0.0.1 that no one listens on now, as the system hands
    // them out: where to put an endpoint that is to be scraped.
    static int freePort();
};
