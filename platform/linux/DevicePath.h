#pragma once

#include <QString>

// The device file behind a port name, as Qt's serial port opens it: a path
// stays as it is, a bare name ("ttyUSB0") lives in /dev.
inline QString devicePath(const QString &port)
{
    return port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
}
