#pragma once

#include <QtGlobal>

// A token bucket: `rate` requests per second on average, `burst` at once.
class RateLimiter
{
public:
    RateLimiter(int rate, int burst) : m_rate(rate), m_burst(burst), m_tokens(burst) {}

    // Takes one token at monotonic time `nowMs`; false when none is left.
    bool take(qint64 nowMs);

private:
    int m_rate;
    int m_burst;
    double m_tokens;
    qint64 m_lastMs = -1;
};
