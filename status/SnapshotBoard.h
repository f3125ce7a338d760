#pragma once

#include "StatusSnapshot.h"

#include <memory>
#include <mutex>

// Where the GUI thread puts the latest snapshot and other threads (the
// metrics server) take it. A reader gets a pointer to an immutable value that
// stays valid for as long as it holds it; the lock guards only the swap.
class SnapshotBoard
{
public:
    SnapshotBoard() : m_current(std::make_shared<const StatusSnapshot>()) {}

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

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const StatusSnapshot> m_current;
};
