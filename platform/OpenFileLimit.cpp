#include "OpenFileLimit.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include "linux/LinuxOpenFileLimit.h"
#endif

int OpenFileLimit::raiseTo(int)
{
    return 0;
}

std::unique_ptr<OpenFileLimit> OpenFileLimit::forThisSystem()
{
#ifdef Q_OS_LINUX
    return std::make_unique<LinuxOpenFileLimit>();
#else
    return std::make_unique<OpenFileLimit>();
#endif
}
