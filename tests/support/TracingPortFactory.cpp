#include "TracingPortFactory.h"

#include "link/LinkClock.h"

namespace {

class TracingPort : public SerialPort
{
public:
    TracingPort(std::unique_ptr<SerialPort> inner, TracingPortFactory &factory)
        : m_inner(std::move(inner)), m_factory(factory)
    {
    }

    void setPortName(const QString &name) override { m_inner->setPortName(name); }
    QString portName() const override { return m_inner->portName(); }
    bool open() override
    {
        const bool ok = m_inner->open();
        m_factory.record((ok ? QStringLiteral("open ") : QStringLiteral("cannot open ")) + portName());
        return ok;
    }
    PortFailure openFailure() const override { return m_inner->openFailure(); }
    void close() override
    {
        // Only real closings: the idle loop closes a closed port every pass.
        if (m_inner->isOpen())
            m_factory.record(QStringLiteral("close ") + portName());
        m_inner->close();
    }
    bool isOpen() const override { return m_inner->isOpen(); }
    qint64 bytesAvailable() override { return m_inner->bytesAvailable(); }
    QByteArray readAll() override { return m_inner->readAll(); }
    qint64 write(const QByteArray &data) override { return m_inner->write(data); }
    void flush() override { m_inner->flush(); }
    void waitStep(int ms) override { m_inner->waitStep(ms); }

private:
    std::unique_ptr<SerialPort> m_inner;
    TracingPortFactory &m_factory;
};

}  // namespace

TracingPortFactory::TracingPortFactory(std::shared_ptr<PortFactory> inner, LinkClock &clock)
    : m_inner(std::move(inner)), m_clock(clock)
{
}

std::unique_ptr<SerialPort> TracingPortFactory::createPort()
{
    return std::make_unique<TracingPort>(m_inner->createPort(), *this);
}

QStringList TracingPortFactory::trace() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_trace;
}

void TracingPortFactory::record(const QString &event)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trace.append(QString::number(m_clock.monotonicMs()) + QLatin1Char(' ') + event);
}
