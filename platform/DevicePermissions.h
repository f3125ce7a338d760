#pragma once

#include <QString>

#include <memory>

// Who may open a serial port. This class itself gives the neutral answers:
// any port counts as open to this user and no group grants it, which is what
// Windows means, where a port that refuses to open is held by another
// program.
class DevicePermissions
{
public:
    virtual ~DevicePermissions() = default;

    // The group whose members may read and write the port's device file
    // ("dialout"); empty when no group may do both, the system has no such
    // notion or the file is gone. A group that may only write, as "tty" may
    // on a terminal, is none: joining it would not open the port, and would
    // let the user write on other people's terminals.
    virtual QString groupThatMayReadWrite(const QString &port) const;
    // Whether this process may open the port for reading and writing, as far
    // as file permissions go.
    virtual bool mayReadWrite(const QString &port) const;

    static std::unique_ptr<DevicePermissions> forThisSystem();
};
