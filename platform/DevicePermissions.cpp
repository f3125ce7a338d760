#include "DevicePermissions.h"

#ifdef Q_OS_LINUX
#include "linux/LinuxDevicePermissions.h"
#endif

QString DevicePermissions::groupThatMayReadWrite(const QString &) const
{
    return QString();
}

bool DevicePermissions::mayReadWrite(const QString &) const
{
    return true;
}

std::unique_ptr<DevicePermissions> DevicePermissions::forThisSystem()
{
#ifdef Q_OS_LINUX
    return std::make_unique<LinuxDevicePermissions>();
#else
    return std::make_unique<DevicePermissions>();
#endif
}
