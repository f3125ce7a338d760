#include "LinuxStopRequests.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT};
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void onStopSignal(int)
{
    const char byte = 1;
    if (writeEnd >= 0)
        (void)!::write(writeEnd, &byte, 1);
}

}  // namespace

LinuxStopRequests::LinuxStopRequests()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_sockets) != 0)
        return;
    writeEnd = m_sockets[0];
    m_notifier = new QSocketNotifier(m_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LinuxStopRequests::readRequest);
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // A blocking call the signal interrupts goes on where it was.
    action.sa_flags = SA_RESTART;
    for (int s : Signals)
        ::sigaction(s, &action, nullptr);
}

LinuxStopRequests::~LinuxStopRequests()
{
    if (m_sockets[0] < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int s : Signals)
        ::sigaction(s, &action, nullptr);
    writeEnd = -1;
    delete m_notifier;
    ::close(m_sockets[0]);
    ::close(m_sockets[1]);
}

void LinuxStopRequests::readRequest()
{
    char bytes[16];
    if (::read(m_sockets[1], bytes, sizeof bytes) > 0)
        emit stopRequested();
}
