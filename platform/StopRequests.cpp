#include "StopRequests.h"

#if defined(Q_OS_LINUX)
#include "linux/LinuxStopRequests.h"
#elif defined(Q_OS_WIN)
#include "windows/WindowsStopRequests.h"
#endif

std::unique_ptr<StopRequests> StopRequests::forThisSystem()
{
#if defined(Q_OS_LINUX)
    return std::make_unique<LinuxStopRequests>();
#elif defined(Q_OS_WIN)
    return std::make_unique<WindowsStopRequests>();
#else
    return std::unique_ptr<StopRequests>(new StopRequests);
#endif
}
