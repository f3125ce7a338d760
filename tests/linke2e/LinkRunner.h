#pragma once

#include <QThread>

#include <memory>

class COMThread;

// The link on a thread of its own, started and stopped the way the main
// window does it: process() on started(), finished() quits the thread, stop()
// called directly from this thread.
class LinkRunner
{
public:
    // Takes the link; by default the real one (system ports, real clock).
    explicit LinkRunner(COMThread *link = nullptr);
    ~LinkRunner();

    LinkRunner(const LinkRunner &) = delete;
    LinkRunner &operator=(const LinkRunner &) = delete;

    COMThread &link() { return *m_link; }
    QThread &thread() { return m_thread; }

    void start();
    // Stops the loop and waits for its thread; false when it did not end.
    bool stop(int waitMs = 30000);

private:
    std::unique_ptr<COMThread> m_link;
    QThread m_thread;
};
