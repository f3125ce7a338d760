#pragma once

#include "PortFailure.h"
#include "PortInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The port the link talks through, in polling style: the link asks for the
// number of waiting bytes itself and waits in steps of at most 50 ms.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    virtual void setPortName(const QString &name) = 0;
    virtual QString portName() const = 0;

    // Opens for reading and writing with 115200 8N1, no flow control.
    virtual bool open() = 0;
    // Why the last open() failed; no cause after one that succeeded.
    virtual PortFailure openFailure() const = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual qint64 bytesAvailable() = 0;
    virtual QByteArray readAll() = 0;
    // Returns the number of bytes written, below 1 on failure.
    virtual qint64 write(const QByteArray &data) = 0;
    virtual void flush() = 0;

    // Waits up to `ms` (at most 50) for more bytes; returns early when some
    // arrive.
    virtual void waitStep(int ms) = 0;
};

// Creates ports and lists the ports the system reports.
class PortFactory
{
public:
    virtual ~PortFactory() = default;
    virtual std::unique_ptr<SerialPort> createPort() = 0;
    virtual QStringList availablePorts() = 0;
    // What the system knows of these ports, one entry per name in the same
    // order. Without more to go on, only their names.
    virtual QList<PortInfo> describePorts(const QStringList &names);
};
