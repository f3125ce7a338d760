#pragma once

#include "status/StatusSnapshot.h"

// Snapshots the tests of what is published start from.
namespace StatusSamples {

// Connected, switching mode, synchronised: channel 1 the reference, channel 2
// backup 1, signals on channels 1 to 3.
inline StatusSnapshot switchingSynchronised()
{
    StatusSnapshot s;
    s.connected = s.everConnected = true;
    s.heardMs = 0;
    DETECT detect;
    detect.chan[0] = detect.chan[1] = detect.chan[2] = 1;
    ADJ_CMD_STATE cmd;
    cmd.syncStatus = 1;
    cmd.flags = 0x1000;
    cmd.chanWord[0] = 0x0001;
    cmd.chanWord[1] = 0x0011;
    s.detect = detect;
    s.cmd = cmd;
    return s;
}

}  // namespace StatusSamples
