#include "QtSerialPort.h"

#include "platform/DevicePermissions.h"
#include "platform/StablePortNames.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSerialPortInfo>
#include <QThread>

#include <algorithm>

namespace {

// The name the program configures and opens a port by.
QString nameOf(const QSerialPortInfo &info)
{
#ifdef Q_OS_WIN
    return info.portName();        // "COM3"
#else
    return info.systemLocation();  // "/dev/ttyS0"
#endif
}

}  // namespace

QtSerialPort::QtSerialPort() : m_permissions(DevicePermissions::forThisSystem())
{
}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::setPortName(const QString &name)
{
    m_port.setPortName(name);
}

QString QtSerialPort::portName() const
{
    return m_port.portName();
}

bool QtSerialPort::open()
{
    if (m_port.isOpen())
        return true;
    m_failure = PortFailure();
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_failure = failureOf(m_port.error());
        return false;
    }
    const bool configured = m_port.setBaudRate(QSerialPort::Baud115200)
                            && m_port.setDataBits(QSerialPort::Data8)
                            && m_port.setParity(QSerialPort::NoParity)
                            && m_port.setStopBits(QSerialPort::OneStop)
                            && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_failure = PortFailure(PortFailure::Other, QString(), m_port.errorString());
        m_port.close();
        return false;
    }
    return true;
}

// Qt reports a port that another program holds (its lock file, or the
// exclusive mode it set) and a device file this user may not open alike, as
// a permission error; the file's own permissions tell them apart.
PortFailure QtSerialPort::failureOf(QSerialPort::SerialPortError error) const
{
    const QString name = m_port.portName();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortFailure(PortFailure::NotPresent);
    case QSerialPort::PermissionError:
        if (m_permissions->mayReadWrite(name))
            return PortFailure(PortFailure::Busy);
        return PortFailure(PortFailure::PermissionDenied, m_permissions->groupThatMayReadWrite(name));
    default:
        return PortFailure(PortFailure::Other, QString(), m_port.errorString());
    }
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

qint64 QtSerialPort::bytesAvailable()
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialPort::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

qint64 QtSerialPort::write(const QByteArray &data)
{
    if (!m_port.isOpen())
        return -1;
    const qint64 written = m_port.write(data);
    // Without an event loop on this thread the bytes leave only here.
    if (written > 0)
        m_port.waitForBytesWritten(100);
    return written;
}

void QtSerialPort::flush()
{
    if (m_port.isOpen())
        m_port.flush();
}

void QtSerialPort::waitStep(int ms)
{
    const int step = std::clamp(ms, 0, 50);
    QElapsedTimer timer;
    timer.start();
    if (m_port.isOpen() && m_port.waitForReadyRead(step))
        return;
    // A closed port or a port in error returns at once: never spin.
    const qint64 left = step - timer.elapsed();
    if (left > 0 && (!m_port.isOpen() || m_port.error() != QSerialPort::TimeoutError))
        QThread::msleep(static_cast<unsigned long>(left));
}

QtPortFactory::QtPortFactory() : m_stableNames(StablePortNames::forThisSystem())
{
}

QtPortFactory::~QtPortFactory() = default;

std::unique_ptr<SerialPort> QtPortFactory::createPort()
{
    return std::make_unique<QtSerialPort>();
}

QStringList QtPortFactory::availablePorts()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(nameOf(info));
    return names;
}

QList<PortInfo> QtPortFactory::describePorts(const QStringList &names)
{
    QHash<QString, QSerialPortInfo> known;
    const auto system = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : system)
        known.insert(nameOf(info), info);

    QList<PortInfo> ports;
    for (const QString &name : names) {
        PortInfo port;
        port.name = name;
        const QSerialPortInfo info = known.value(name);
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        port.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            port.usbId = QStringLiteral("%1:%2")
                             .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                             .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        port.stableName = m_stableNames->forPort(name);
        ports.append(port);
    }
    return ports;
}
