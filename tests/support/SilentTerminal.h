#pragma once

#include <QString>

// A pseudo-terminal nobody answers on; its far end stays open while it
// lives. POSIX only, like the tests and benchmarks that use it. path() is
// empty where the machine gives no pseudo-terminal.
class SilentTerminal
{
public:
    SilentTerminal();
    ~SilentTerminal();
    SilentTerminal(const SilentTerminal &) = delete;
    SilentTerminal &operator=(const SilentTerminal &) = delete;

    QString path() const { return m_path; }

private:
    int m_master = -1;
    QString m_path;
};
