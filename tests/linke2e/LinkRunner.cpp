#include "LinkRunner.h"

#include "link/COMThread.h"

LinkRunner::LinkRunner(COMThread *link) : m_link(link ? link : new COMThread)
{
    m_link->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::started, m_link.get(), &COMThread::process);
    QObject::connect(m_link.get(), &COMThread::finished, &m_thread, &QThread::quit,
                     Qt::DirectConnection);
}

LinkRunner::~LinkRunner()
{
    // A loop that never ended still uses the link: leave it rather than
    // pull it from under the thread.
    if (!stop())
        (void)m_link.release();
}

void LinkRunner::start()
{
    m_thread.start(QThread::HighestPriority);
}

bool LinkRunner::stop(int waitMs)
{
    if (!m_thread.isRunning())
        return true;
    m_link->stop();
    return m_thread.wait(static_cast<unsigned long>(waitMs));
}
