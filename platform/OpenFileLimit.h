#pragma once

#include <memory>

// How many files and sockets this process may hold open at once. This class
// itself gives the neutral answer: the system sets no such count (Windows
// counts sockets against none), so there is nothing to raise.
class OpenFileLimit
{
public:
    virtual ~OpenFileLimit() = default;

    // Raises the limit towards `wanted` as far as the system lets this
    // process, never lowers it, and returns the limit then in force; 0 when
    // there is none.
    virtual int raiseTo(int wanted);

    static std::unique_ptr<OpenFileLimit> forThisSystem();
};
