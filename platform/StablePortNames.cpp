#include "StablePortNames.h"

#ifdef Q_OS_LINUX
#include "linux/LinuxStablePortNames.h"
#endif

QString StablePortNames::forPort(const QString &) const
{
    return QString();
}

std::unique_ptr<StablePortNames> StablePortNames::forThisSystem()
{
#ifdef Q_OS_LINUX
    return std::make_unique<LinuxStablePortNames>();
#else
    return std::make_unique<StablePortNames>();
#endif
}
