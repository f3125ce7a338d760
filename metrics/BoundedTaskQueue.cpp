#include "BoundedTaskQueue.h"

namespace {
thread_local BoundedTaskQueue::Task t_current;
}  // namespace

BoundedTaskQueue::BoundedTaskQueue(size_t workers, size_t maxWaiting) : m_maxWaiting(maxWaiting)
{
    for (size_t k = 0; k < workers; ++k)
        m_workers.emplace_back([this] { work(); });
}

BoundedTaskQueue::~BoundedTaskQueue()
{
    shutdown();
}

BoundedTaskQueue::Task BoundedTaskQueue::current()
{
    return t_current;
}

void BoundedTaskQueue::run(const Waiting &task, bool refused)
{
    t_current = {task.acceptedAt, refused};
    task.fn();
    t_current = Task();
}

void BoundedTaskQueue::enqueue(std::function<void()> fn)
{
    Waiting task{std::move(fn), Clock::now()};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_stopping && m_waiting.size() < m_maxWaiting) {
            m_waiting.push_back(std::move(task));
            m_wake.notify_one();
            return;
        }
    }
    run(task, true);
}

void BoundedTaskQueue::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping)
            return;
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
    m_workers.clear();
}

void BoundedTaskQueue::work()
{
    for (;;) {
        Waiting task;
        bool stopping = false;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            task = std::move(m_waiting.front());
            m_waiting.pop_front();
            stopping = m_stopping;
        }
        // Connections still waiting at shutdown are closed, not served.
        run(task, stopping);
    }
}
