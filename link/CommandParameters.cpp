#include "CommandParameters.h"

#include <algorithm>
#include <iterator>

void CommandParameters::takeDetect(const DETECT &detect)
{
    std::copy(std::begin(detect.chan), std::end(detect.chan), std::begin(syncControl_info.chanAvailable));
}

void CommandParameters::takeCmdState(const ADJ_CMD_STATE &cmd, const DETECT &detect)
{
    for (int n = 1; n <= 4; ++n)
        syncControl_info.stat[n - 1] = qint16(ChannelState::of(detect, cmd, n));
    syncControl_info.syncStatus = cmd.syncStatus;
    syncControl_info.modeCur = cmd.switchingMode() ? '2' : '1';
    ave_info.enabledCur = cmd.avePermitted();
}

void CommandParameters::takeResults(const LinkResults &r, quint64 &aveReadingsTaken)
{
    if (r.aveEnabledReadings != aveReadingsTaken) {
        aveReadingsTaken = r.aveEnabledReadings;
        ave_info.enabledCur = r.aveEnabled;
    }
    std::copy(std::begin(r.aveValues), std::end(r.aveValues), std::begin(ave_info.aveCur));
    currentLimit = r.currentLimit;
    dateTime_info.timeDifference = r.timeDifference;
    dateTime_info.dateDifference = r.dateDifference;
    dateTime_info.lastUpdate = r.lastTimeUpdate;
    pps_info = r.pps;
}
