#include "DisplayAccess.h"

#ifdef Q_OS_LINUX
#include "linux/LinuxDisplayAccess.h"
#endif

bool DisplayAccess::available(const QString &) const
{
    return true;
}

std::unique_ptr<DisplayAccess> DisplayAccess::forThisSystem()
{
#ifdef Q_OS_LINUX
    return std::make_unique<LinuxDisplayAccess>();
#else
    return std::make_unique<DisplayAccess>();
#endif
}
