#pragma once

#include "SerialPort.h"

#include <QSerialPort>

#include <memory>

class DevicePermissions;
class StablePortNames;

// SerialPort on QSerialPort. Lives and is used on the link thread only.
class QtSerialPort : public SerialPort
{
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setPortName(const QString &name) override;
    QString portName() const override;
    bool open() override;
    PortFailure openFailure() const override { return m_failure; }
    void close() override;
    bool isOpen() const override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    qint64 write(const QByteArray &data) override;
    void flush() override;
    void waitStep(int ms) override;

private:
    PortFailure failureOf(QSerialPort::SerialPortError error) const;

    QSerialPort m_port;
    std::unique_ptr<DevicePermissions> m_permissions;
    PortFailure m_failure;
};

class QtPortFactory : public PortFactory
{
public:
    QtPortFactory();
    ~QtPortFactory() override;

    std::unique_ptr<SerialPort> createPort() override;
    QStringList availablePorts() override;
    QList<PortInfo> describePorts(const QStringList &names) override;

private:
    std::unique_ptr<StablePortNames> m_stableNames;
};
