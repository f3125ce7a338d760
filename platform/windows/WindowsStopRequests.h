#pragma once

#include "platform/StopRequests.h"

// Ctrl+C, Ctrl+Break, the console closing, the user logging off and the
// system shutting down, from the console's control handler. Windows ends the
// process when the handler returns from a closing console, so for those the
// handler waits (a few seconds at most) until stopped() says the program has
// ended in order.
class WindowsStopRequests : public StopRequests
{
    Q_OBJECT

public:
    WindowsStopRequests();
    ~WindowsStopRequests() override;

    void stopped() override;
};
