#pragma once

#include <mutex>

// A value shared between the link thread and the GUI thread. Readers get a
// whole copy taken under the lock, so they never see a half-written value.
template <typename T>
class Guarded
{
public:
    Guarded() = default;
    explicit Guarded(const T &value) : m_value(value) {}

    T get() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_value;
    }

    void set(const T &value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_value = value;
    }

    // Read-modify-write in one critical section.
    template <typename F>
    void update(F &&change)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        change(m_value);
    }

private:
    mutable std::mutex m_mutex;
    T m_value{};
};
