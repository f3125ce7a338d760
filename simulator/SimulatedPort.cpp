#include "SimulatedPort.h"

#include "link/CommandTable.h"
#include "link/LinkClock.h"

#include <algorithm>

void SimulatedLine::addPort(const QString &name, std::shared_ptr<ProtocolEngine> engine)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_names.contains(name))
        m_names.append(name);
    m_engines.insert(name, std::move(engine));
}

void SimulatedLine::removePort(const QString &name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_names.removeAll(name);
    m_engines.remove(name);
}

QStringList SimulatedLine::names() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_names;
}

bool SimulatedLine::has(const QString &name) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_engines.contains(name);
}

std::shared_ptr<ProtocolEngine> SimulatedLine::engine(const QString &name) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_engines.value(name);
}

bool SimulatedPort::open()
{
    if (isOpen())
        return true;
    m_failure = m_line->has(m_name) ? PortFailure::None : PortFailure::NotPresent;
    if (m_failure != PortFailure::None)
        return false;
    m_engine = m_line->engine(m_name);
    m_openSilent = !m_engine;
    return true;
}

void SimulatedPort::close()
{
    // Whatever was still on its way is lost with the connection.
    m_engine.reset();
    m_openSilent = false;
    m_received.clear();
    m_inFlight.clear();
}

void SimulatedPort::deliverDue()
{
    m_received.append(m_inFlight.takeDue(m_line->clock().monotonicMs()));
}

qint64 SimulatedPort::bytesAvailable()
{
    deliverDue();
    return m_received.size();
}

QByteArray SimulatedPort::readAll()
{
    deliverDue();
    QByteArray out;
    out.swap(m_received);
    return out;
}

qint64 SimulatedPort::write(const QByteArray &data)
{
    if (!isOpen())
        return -1;
    if (m_engine)
        m_inFlight.add(m_engine->feed(data));
    return data.size();
}

void SimulatedPort::waitStep(int ms)
{
    const int before = m_received.size();
    deliverDue();
    if (m_received.size() > before)
        return;
    // Sleep the step, or less when an answer falls due sooner.
    qint64 sleep = std::clamp(ms, 1, CommandTable::StepMs);
    if (!m_inFlight.isEmpty())
        sleep = std::clamp<qint64>(m_inFlight.nextDueMs() - m_line->clock().monotonicMs(), 1, sleep);
    m_line->clock().sleepMs(int(sleep));
    deliverDue();
}

SimulatedPortFactory::SimulatedPortFactory(std::shared_ptr<LinkClock> clock)
    : m_line(std::make_shared<SimulatedLine>(std::move(clock)))
{
}

std::shared_ptr<ProtocolEngine> SimulatedPortFactory::addInstrument(const QString &name, quint64 seed)
{
    auto engine = std::make_shared<ProtocolEngine>(m_line->sharedClock(), seed);
    m_line->addPort(name, engine);
    return engine;
}

void SimulatedPortFactory::addSilentPort(const QString &name)
{
    m_line->addPort(name, nullptr);
}

std::unique_ptr<SerialPort> SimulatedPortFactory::createPort()
{
    return std::make_unique<SimulatedPort>(m_line);
}

QStringList SimulatedPortFactory::availablePorts()
{
    return m_line->names();
}
