#include "SilentTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

SilentTerminal::SilentTerminal()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
        m_path = QString::fromLocal8Bit(::ptsname(m_master));
}

SilentTerminal::~SilentTerminal()
{
    if (m_master >= 0)
        ::close(m_master);
}
