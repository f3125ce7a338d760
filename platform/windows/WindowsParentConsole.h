#pragma once

#include "platform/ParentConsole.h"

// AttachConsole(ATTACH_PARENT_PROCESS): a program built as a GUI executable
// starts without a console, so without this "ksr583-monitor --version" typed
// in cmd.exe or PowerShell prints nothing.
class WindowsParentConsole : public ParentConsole
{
public:
    void attach() const override;
};
