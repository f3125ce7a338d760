#pragma once

#include "FakePort.h"
#include "VirtualClock.h"
#include "link/DeviceExchange.h"

#include <memory>

// One fake port and an exchange over it, used on the test's own thread in
// virtual time: for the link's parts that need a port but no loop.
struct FakeExchange {
    FakeExchange();

    VirtualClock clock;
    std::shared_ptr<FakeLine> line;
    FakePortFactory factory;
    std::unique_ptr<SerialPort> port;
    DeviceExchange io;
};
