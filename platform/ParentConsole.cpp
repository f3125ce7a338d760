#include "ParentConsole.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "windows/WindowsParentConsole.h"
#endif

void ParentConsole::attach() const
{
}

std::unique_ptr<ParentConsole> ParentConsole::forThisSystem()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsParentConsole>();
#else
    return std::make_unique<ParentConsole>();
#endif
}
