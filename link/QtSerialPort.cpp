#include "QtSerialPort.h"

#include <QElapsedTimer>
#include <QSerialPortInfo>
#include <QThread>

#include <algorithm>

QtSerialPort::QtSerialPort() = default;

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
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    const bool configured = m_port.setBaudRate(QSerialPort::Baud115200)
                            && m_port.setDataBits(QSerialPort::Data8)
                            && m_port.setParity(QSerialPort::NoParity)
                            && m_port.setStopBits(QSerialPort::OneStop)
                            && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_port.close();
        return false;
    }
    return true;
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

std::unique_ptr<SerialPort> QtPortFactory::createPort()
{
    return std::make_unique<QtSerialPort>();
}

QStringList QtPortFactory::availablePorts()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
#ifdef Q_OS_WIN
        names.append(info.portName());        // "COM3"
#else
        names.append(info.systemLocation());  // "/dev/ttyS0", as configured
#endif
    }
    return names;
}
