#include "WindowsParentConsole.h"

#include <cstdio>

#include <windows.h>

namespace {

// Output redirected to a file or a pipe is already where the user wants it.
bool goesSomewhere(DWORD stream)
{
    const HANDLE handle = ::GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE
           && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void WindowsParentConsole::attach() const
{
    const bool out = goesSomewhere(STD_OUTPUT_HANDLE);
    const bool err = goesSomewhere(STD_ERROR_HANDLE);
    if ((out && err) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out)
        std::freopen("CONOUT$", "w", stdout);
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
}
