#pragma once

#include "CommandParameters.h"
#include "Guarded.h"
#include "LinkFeed.h"
#include "Records.h"

// The records the link keeps for the GUI. Written by the link thread, read by
// the GUI thread as whole copies.
struct LinkRecords {
    Guarded<ADJ_CMD_STATE> cmdState;
    Guarded<DETECT> detect;
    Guarded<ADJ_STATE> adjState;
    Guarded<VAR_STRUCT> varState;
    Guarded<LinkResults> results;
    Guarded<LinkCounters> counters;
};
