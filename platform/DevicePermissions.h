#pragma once

#include <QString>

#include <memory>

// Who may open a serial port. This class itself gives the neutral answers:
// any port counts as open to this user and no group owns it, which is what
// Windows means, where a port that refuses to open is held by another
// program.
class DevicePermissions
{
public:
    virtual ~DevicePermissions() = default;

    // The name of the group that owns the port's device file ("dialout"),
    // empty when the system has no such notion or the file is gone.
    virtual QString owningGroup(const QString &port) const;
    // Whether this process may open the port for reading and writing, as far
    // as file permissions go.
    virtual bool mayReadWrite(const QString &port) const;

    static std::unique_ptr<DevicePermissions> forThisSystem();
};
