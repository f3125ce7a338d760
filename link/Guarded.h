#pragma once

#include <QMutex>
#include <QMutexLocker>

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
        QMutexLocker lock(&m_mutex);
        return m_value;
    }

    void set(const T &value)
    {
        QMutexLocker lock(&m_mutex);
        m_value = value;
    }

    // Read-modify-write in one critical section.
    template <typename F>
    void update(F &&change)
    {
        QMutexLocker lock(&m_mutex);
        change(m_value);
    }

private:
    mutable QMutex m_mutex;
    T m_value{};
};
