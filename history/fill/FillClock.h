#pragma once

#include "link/LinkClock.h"

#include <atomic>

// Simulated time for the store while a history is filled: the filler moves
// it on, the store's writer thread reads it.
class FillClock : public LinkClock
{
public:
    explicit FillClock(qint64 utcMs) : m_utcMs(utcMs), m_startMs(utcMs) {}

    QDateTime now() const override { return nowUtc().toLocalTime(); }
    QDateTime nowUtc() const override { return QDateTime::fromMSecsSinceEpoch(m_utcMs.load(), Qt::UTC); }
    qint64 monotonicMs() const override { return m_utcMs.load() - m_startMs; }
    void sleepMs(int ms) override { m_utcMs += ms; }

    qint64 utcMs() const { return m_utcMs.load(); }
    void setUtcMs(qint64 ms) { m_utcMs = ms; }

private:
    std::atomic<qint64> m_utcMs;
    const qint64 m_startMs;
};
