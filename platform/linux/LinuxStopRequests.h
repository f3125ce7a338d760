#pragma once

#include "platform/StopRequests.h"

class QSocketNotifier;

// SIGTERM and SIGINT. The handler only writes a byte into a socket pair
// (all a signal handler may safely do); the notifier on its other end turns
// that byte into stopRequested() in the event loop.
class LinuxStopRequests : public StopRequests
{
    Q_OBJECT

public:
    LinuxStopRequests();
    ~LinuxStopRequests() override;

private:
    void readRequest();

    int m_sockets[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
