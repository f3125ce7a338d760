#pragma once

#include "link/LinkClock.h"

#include <QDateTime>

#include <atomic>

// Virtual time for the link loop: sleeping advances the clock at once.
class VirtualClock : public LinkClock
{
public:
    explicit VirtualClock(const QDateTime &startUtc = QDateTime(QDate(2026, 1, 7), QTime(15, 45, 0), Qt::UTC));

    QDateTime now() const override;
    QDateTime nowUtc() const override;
    qint64 monotonicMs() const override;
    void sleepMs(int ms) override;
    void waitMs(int ms, std::condition_variable &wake, std::unique_lock<std::mutex> &lock,
                const std::function<bool()> &ready) override;

    void advance(qint64 ms);
    void setUtc(const QDateTime &utc);

private:
    QDateTime m_startUtc;
    std::atomic<qint64> m_elapsedMs{0};
};
