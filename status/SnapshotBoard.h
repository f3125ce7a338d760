#pragma once

#include "StatusSnapshot.h"

#include "link/LinkClock.h"

#include <memory>
#include <mutex>

// Where the GUI thread puts the latest snapshot and other threads (the
// metrics server) take it. A reader gets a pointer to an immutable value that
// stays valid for as long as it holds it; the lock guards only the swap.
// The board also keeps the clock the publisher stamps snapshots with, so a
// reader can tell at any time how long ago the instrument was heard from,
// however long the publisher itself has been silent.
class SnapshotBoard
{
public:
    explicit SnapshotBoard(std::shared_ptr<const LinkClock> clock = std::make_shared<LinkClock>())
        : m_clock(std::move(clock)), m_current(std::make_shared<const StatusSnapshot>())
    {
    }

    void publish(std::shared_ptr<const StatusSnapshot> snapshot)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_current.swap(snapshot);
        // The old value is released outside the lock, when `snapshot` goes.
    }

    std::shared_ptr<const StatusSnapshot> current() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_current;
    }

    // Now on the clock of StatusSnapshot::heardMs.
    qint64 nowMs() const { return m_clock->monotonicMs(); }

private:
    const std::shared_ptr<const LinkClock> m_clock;
    mutable std::mutex m_mutex;
    std::shared_ptr<const StatusSnapshot> m_current;
};
