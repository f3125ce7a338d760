#pragma once

#include "link/SerialPort.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class LinkClock;

// What a fake device does with one request: the bytes it answers (empty for
// silence) and how many milliseconds later they arrive.
struct FakeReply {
    QByteArray bytes;
    int delayMs = 0;
};
using FakeDevice = std::function<FakeReply(const QByteArray &request)>;

// One request as the fake port saw it.
struct FakeWrite {
    QString port;
    QByteArray frame;
    qint64 atMs;  // clock's monotonic time
};

// Shared between the factory, its ports and the test: the devices behind each
// port name and the log of every write.
class FakeLine
{
public:
    explicit FakeLine(LinkClock &clock) : m_clock(clock) {}

    void attach(const QString &port, FakeDevice device);
    void detach(const QString &port);
    void setOpenable(const QString &port, bool openable);
    // The port refuses to open for this reason; no cause makes it openable.
    void setOpenFailure(const QString &port, const PortFailure &failure);
    // What the system tells of a port besides its name.
    void describe(const PortInfo &port);
    void setListed(const QStringList &ports) { std::lock_guard<std::mutex> l(m_mutex); m_listed = ports; }

    QList<FakeWrite> writes() const;
    // Only the three code bytes of each write, e.g. "FN0", "P10".
    QStringList codes() const;
    void clearWrites();

    LinkClock &clock() { return m_clock; }

private:
    friend class FakePort;
    friend class FakePortFactory;

    LinkClock &m_clock;
    mutable std::mutex m_mutex;
    QHash<QString, FakeDevice> m_devices;
    QHash<QString, PortFailure> m_failures;
    QHash<QString, PortInfo> m_described;
    QStringList m_listed;
    QList<FakeWrite> m_writes;
};

class FakePort : public SerialPort
{
public:
    explicit FakePort(std::shared_ptr<FakeLine> line) : m_line(std::move(line)) {}

    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool open() override;
    PortFailure openFailure() const override { return m_failure; }
    void close() override;
    bool isOpen() const override { return m_open; }
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    qint64 write(const QByteArray &data) override;
    void flush() override {}
    void waitStep(int ms) override;

private:
    struct Pending {
        QByteArray bytes;
        qint64 dueMs;
    };
    void deliverDue();

    std::shared_ptr<FakeLine> m_line;
    QString m_name;
    bool m_open = false;
    PortFailure m_failure;
    QByteArray m_buffer;
    QList<Pending> m_pending;
};

class FakePortFactory : public PortFactory
{
public:
    explicit FakePortFactory(std::shared_ptr<FakeLine> line) : m_line(std::move(line)) {}
    std::unique_ptr<SerialPort> createPort() override;
    QStringList availablePorts() override;
    QList<PortInfo> describePorts(const QStringList &names) override;

private:
    std::shared_ptr<FakeLine> m_line;
};
