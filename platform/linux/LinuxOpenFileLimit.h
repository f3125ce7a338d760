#pragma once

#include "platform/OpenFileLimit.h"

// The soft RLIMIT_NOFILE, raised up to the hard one. Sessions start with a
// soft limit of 1024 for the sake of programs that still use select(); this
// program polls, so it may go past it.
class LinuxOpenFileLimit : public OpenFileLimit
{
public:
    int raiseTo(int wanted) override;
};
