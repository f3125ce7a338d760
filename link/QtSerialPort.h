#pragma once

#include "SerialPort.h"

#include <QSerialPort>

// SerialPort on QSerialPort. Lives and is used on the link thread only.
class QtSerialPort : public SerialPort
{
public:
    QtSerialPort();

    void setPortName(const QString &name) override;
    QString portName() const override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    qint64 write(const QByteArray &data) override;
    void flush() override;
    void waitStep(int ms) override;

private:
    QSerialPort m_port;
};

class QtPortFactory : public PortFactory
{
public:
    std::unique_ptr<SerialPort> createPort() override;
    QStringList availablePorts() override;
};
