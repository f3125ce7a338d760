#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The HTTP library's connections go to a fixed number of workers through a
// queue of fixed length. A connection that finds the queue full is still
// handed to the library at once, marked as refused, so that it is closed
// without being read: the thread that accepts connections never waits, and
// a crowd of idle clients can hold no more than workers + queue slots.
class BoundedTaskQueue : public httplib::TaskQueue
{
public:
    using Clock = std::chrono::steady_clock;

    // What the running task is: when its connection was accepted, and
    // whether it is to be refused. Valid inside a task only.
    struct Task {
        Clock::time_point acceptedAt;
        bool refused = false;
    };

    BoundedTaskQueue(size_t workers, size_t maxWaiting);
    ~BoundedTaskQueue() override;

    void enqueue(std::function<void()> fn) override;
    void shutdown() override;

    static Task current();

private:
    struct Waiting {
        std::function<void()> fn;
        Clock::time_point acceptedAt;
    };

    void work();
    static void run(const Waiting &task, bool refused);

    const size_t m_maxWaiting;
    std::mutex m_mutex;  // guards m_waiting and m_stopping
    std::condition_variable m_wake;
    std::deque<Waiting> m_waiting;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};
