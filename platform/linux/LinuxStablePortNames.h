#pragma once

#include "platform/StablePortNames.h"

// The links udev makes under /dev/serial/by-id, named after the adapter's
// maker, model and serial number, so they follow the adapter from one
// /dev/ttyUSBn to the next.
class LinuxStablePortNames : public StablePortNames
{
public:
    explicit LinuxStablePortNames(const QString &folder = QStringLiteral("/dev/serial/by-id"));

    QString forPort(const QString &port) const override;

private:
    QString m_folder;
};
