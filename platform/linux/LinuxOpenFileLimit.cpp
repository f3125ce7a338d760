#include "LinuxOpenFileLimit.h"

#include <algorithm>
#include <climits>

#include <sys/resource.h>

int LinuxOpenFileLimit::raiseTo(int wanted)
{
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0)
        return 0;
    const rlim_t target = std::min(files.rlim_max, rlim_t(std::max(wanted, 0)));
    if (files.rlim_cur < target) {
        rlimit raised = files;
        raised.rlim_cur = target;
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            files = raised;
    }
    return int(std::min<rlim_t>(files.rlim_cur, INT_MAX));
}
