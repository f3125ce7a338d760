#include "LinkPace.h"

#include <algorithm>

namespace {

// The exchange of DETECT, ADJ_CMD_STATE, ADJ_STATE, VAR_STRUCT at 115200
// baud: the shortest seen, and how much longer it may take.
constexpr int ExchangeMs[4] = {4, 6, 10, 5};
constexpr int ExchangeSpreadMs = 4;
constexpr int PassMs = 10;
// An unanswered poll: the answer's wait, then the port closed and opened again.
constexpr qint64 UnansweredMs = 200 * 50 + 1000;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

LinkPace::LinkPace(quint64 seed, int intervalSeconds) : m_intervalS(qMax(1, intervalSeconds)), m_rng(seed)
{
}

void LinkPace::stepClock(qint64 atMs, qint64 stepMs)
{
    m_offsetMs += stepMs;
    // A jump forward past the poll's second polls at the next pass.
    m_notBeforeMs = std::max(m_notBeforeMs, atMs);
}

void LinkPace::holdUntil(qint64 untilMs)
{
    m_notBeforeMs = std::max(m_notBeforeMs, untilMs);
}

void LinkPace::connectedAt(qint64 atMs)
{
    m_pollAtOnce = true;
    m_notBeforeMs = std::max(m_notBeforeMs, atMs);
}

qint64 LinkPace::nextPollMs() const
{
    if (m_pollAtOnce)
        return m_notBeforeMs;
    // The first whole second of the clock at which the interval has passed.
    const qint64 dueMs = (m_lastPollClockS + m_intervalS) * 1000 - m_offsetMs;
    return std::max(dueMs, m_notBeforeMs);
}

qint64 LinkPace::polled(qint64 atMs, int record)
{
    std::uniform_int_distribution<int> pass(0, PassMs);
    std::uniform_int_distribution<int> spread(0, ExchangeSpreadMs);
    std::uniform_int_distribution<int> chance(0, 199);
    std::uniform_int_distribution<int> late(20, 400);
    const qint64 tickClockMs = clockMs(atMs) + pass(m_rng);
    m_lastPollClockS = floorDiv(tickClockMs, 1000);
    m_pollAtOnce = false;
    m_notBeforeMs = atMs + PassMs;
    qint64 exchange = ExchangeMs[record & 3] + spread(m_rng);
    if (chance(m_rng) < 3)
        exchange += late(m_rng);
    return tickClockMs + exchange;
}

void LinkPace::unanswered(qint64 atMs)
{
    m_lastPollClockS = floorDiv(clockMs(atMs), 1000);
    m_pollAtOnce = false;
    holdUntil(atMs + UnansweredMs);
}
