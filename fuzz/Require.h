#pragma once

#include <cstdio>
#include <cstdlib>

// A property the input broke: say which and abort, so that libFuzzer keeps
// the input as a finding (and a replay fails on it).
inline void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz property broken: %s\n", what);
        std::abort();
    }
}
