#pragma once

#include "AnswerQueue.h"
#include "ProtocolEngine.h"

#include "link/SerialPort.h"

#include <QHash>
#include <QStringList>

#include <memory>
#include <mutex>

class LinkClock;

// The ports of a simulated machine: each name has a simulated instrument
// behind it, or nothing (a port that never answers). Shared by the factory
// and the ports it makes; the test thread may add ports while the link runs.
class SimulatedLine
{
public:
    explicit SimulatedLine(std::shared_ptr<LinkClock> clock) : m_clock(std::move(clock)) {}

    // A null engine makes a port that opens but never answers.
    void addPort(const QString &name, std::shared_ptr<ProtocolEngine> engine);
    void removePort(const QString &name);
    QStringList names() const;
    bool has(const QString &name) const;
    std::shared_ptr<ProtocolEngine> engine(const QString &name) const;

    LinkClock &clock() const { return *m_clock; }
    std::shared_ptr<LinkClock> sharedClock() const { return m_clock; }

private:
    std::shared_ptr<LinkClock> m_clock;
    mutable std::mutex m_mutex;
    QStringList m_names;
    QHash<QString, std::shared_ptr<ProtocolEngine>> m_engines;
};

// A SerialPort wired to a simulated instrument in the same process. Answers
// arrive at the times the engine gives, on the line's clock, so the link can
// run against the simulator in virtual time.
class SimulatedPort : public SerialPort
{
public:
    explicit SimulatedPort(std::shared_ptr<SimulatedLine> line) : m_line(std::move(line)) {}

    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool open() override;
    PortFailure openFailure() const override { return PortFailure(m_failure); }
    void close() override;
    bool isOpen() const override { return m_engine || m_openSilent; }
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    qint64 write(const QByteArray &data) override;
    void flush() override {}
    void waitStep(int ms) override;

private:
    void deliverDue();

    std::shared_ptr<SimulatedLine> m_line;
    QString m_name;
    std::shared_ptr<ProtocolEngine> m_engine;  // set while open on an instrument
    bool m_openSilent = false;
    // The only way a simulated port fails: nothing by that name on the line.
    PortFailure::Cause m_failure = PortFailure::None;
    QByteArray m_received;
    AnswerQueue m_inFlight;
};

class SimulatedPortFactory : public PortFactory
{
public:
    explicit SimulatedPortFactory(std::shared_ptr<LinkClock> clock);

    // A new instrument on port `name`, returned for the test to steer.
    std::shared_ptr<ProtocolEngine> addInstrument(const QString &name, quint64 seed = 1);
    void addSilentPort(const QString &name);
    SimulatedLine &line() { return *m_line; }

    std::unique_ptr<SerialPort> createPort() override;
    QStringList availablePorts() override;

private:
    std::shared_ptr<SimulatedLine> m_line;
};
