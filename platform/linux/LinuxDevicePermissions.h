#pragma once

#include "platform/DevicePermissions.h"

// Device file ownership and access as the kernel sees them for this process,
// with the groups it had when the user logged in.
class LinuxDevicePermissions : public DevicePermissions
{
public:
    QString groupThatMayReadWrite(const QString &port) const override;
    bool mayReadWrite(const QString &port) const override;
};
