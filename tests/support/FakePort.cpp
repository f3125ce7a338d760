#include "FakePort.h"

#include "link/LinkClock.h"

void FakeLine::attach(const QString &port, FakeDevice device)
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_devices.insert(port, std::move(device));
}

void FakeLine::detach(const QString &port)
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_devices.remove(port);
}

void FakeLine::setOpenable(const QString &port, bool openable)
{
    setOpenFailure(port, openable ? PortFailure() : PortFailure(PortFailure::Other));
}

void FakeLine::setOpenFailure(const QString &port, const PortFailure &failure)
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_failures.insert(port, failure);
}

void FakeLine::describe(const PortInfo &port)
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_described.insert(port.name, port);
}

QList<FakeWrite> FakeLine::writes() const
{
    std::lock_guard<std::mutex> l(m_mutex);
    return m_writes;
}

QStringList FakeLine::codes() const
{
    QStringList out;
    const auto all = writes();
    for (const FakeWrite &w : all)
        out.append(QString::fromLatin1(w.frame.mid(1, 3)));
    return out;
}

void FakeLine::clearWrites()
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_writes.clear();
}

bool FakePort::open()
{
    std::lock_guard<std::mutex> l(m_line->m_mutex);
    m_failure = m_line->m_failures.value(m_name);
    m_open = m_failure.cause == PortFailure::None;
    return m_open;
}

void FakePort::close()
{
    m_open = false;
    m_buffer.clear();
    m_pending.clear();
}

void FakePort::deliverDue()
{
    const qint64 now = m_line->clock().monotonicMs();
    while (!m_pending.isEmpty() && m_pending.first().dueMs <= now)
        m_buffer.append(m_pending.takeFirst().bytes);
}

qint64 FakePort::bytesAvailable()
{
    if (!m_open)
        return 0;
    deliverDue();
    return m_buffer.size();
}

QByteArray FakePort::readAll()
{
    if (!m_open)
        return QByteArray();
    deliverDue();
    QByteArray out;
    out.swap(m_buffer);
    return out;
}

qint64 FakePort::write(const QByteArray &data)
{
    if (!m_open)
        return -1;
    FakeDevice device;
    {
        std::lock_guard<std::mutex> l(m_line->m_mutex);
        m_line->m_writes.append({m_name, data, m_line->clock().monotonicMs()});
        device = m_line->m_devices.value(m_name);
    }
    if (device) {
        const FakeReply reply = device(data);
        if (!reply.bytes.isEmpty())
            m_pending.append({reply.bytes, m_line->clock().monotonicMs() + reply.delayMs});
    }
    return data.size();
}

void FakePort::waitStep(int ms)
{
    const int before = m_buffer.size();
    deliverDue();
    if (m_buffer.size() > before)
        return;
    // Sleep the step, or only until the next delivery when that comes sooner;
    // every call lets virtual time move on.
    qint64 step = ms > 0 ? ms : 1;
    if (!m_pending.isEmpty()) {
        const qint64 until = m_pending.first().dueMs - m_line->clock().monotonicMs();
        if (until > 0 && until < step)
            step = until;
    }
    m_line->clock().sleepMs(int(step));
    deliverDue();
}

std::unique_ptr<SerialPort> FakePortFactory::createPort()
{
    return std::make_unique<FakePort>(m_line);
}

QStringList FakePortFactory::availablePorts()
{
    std::lock_guard<std::mutex> l(m_line->m_mutex);
    return m_line->m_listed;
}

QList<PortInfo> FakePortFactory::describePorts(const QStringList &names)
{
    std::lock_guard<std::mutex> l(m_line->m_mutex);
    QList<PortInfo> ports;
    for (const QString &name : names) {
        PortInfo port = m_line->m_described.value(name);
        port.name = name;
        ports.append(port);
    }
    return ports;
}
