#pragma once

#include "link/SerialPort.h"

#include <QStringList>

#include <memory>
#include <mutex>

class LinkClock;

// Wraps another factory and records when its ports open and close, e.g.
// "12000 open COM1", so tests can see a port being reopened.
class TracingPortFactory : public PortFactory
{
public:
    TracingPortFactory(std::shared_ptr<PortFactory> inner, LinkClock &clock);

    std::unique_ptr<SerialPort> createPort() override;
    QStringList availablePorts() override { return m_inner->availablePorts(); }
    QList<PortInfo> describePorts(const QStringList &names) override
    {
        return m_inner->describePorts(names);
    }

    QStringList trace() const;
    void record(const QString &event);

private:
    std::shared_ptr<PortFactory> m_inner;
    LinkClock &m_clock;
    mutable std::mutex m_mutex;
    QStringList m_trace;
};
