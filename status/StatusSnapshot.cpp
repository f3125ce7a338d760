#include "StatusSnapshot.h"

namespace {

bool isChannel(int channel)
{
    return channel >= 1 && channel <= StatusSnapshot::Channels;
}

}  // namespace

bool StatusSnapshot::hearsInstrument(qint64 nowMs) const
{
    if (!connected || heardMs < 0)
        return false;
    // An interval below a second still polls once a second.
    const qint64 silenceMs = 2000 * qint64(qMax(1, monitorIntervalS));
    return nowMs - heardMs < silenceMs;
}

void StatusSnapshot::dropReadings()
{
    detect.reset();
    cmd.reset();
    adj.reset();
    var.reset();
}

void StatusSnapshot::linkConnected()
{
    connected = everConnected = true;
    dropReadings();
    serialNumber.clear();
    firmware.clear();
}

void StatusSnapshot::linkLost()
{
    connected = false;
    dropReadings();
}

void StatusSnapshot::take(const PollReading &r)
{
    lastAnswerUtc = r.utc;
    switch (r.record) {
    case PollReading::Detect:
        detect = r.detect;
        break;
    case PollReading::CmdState:
        cmd = r.cmdState;
        break;
    case PollReading::AdjState:
        adj = r.adjState;
        break;
    case PollReading::VarStruct:
        var = r.varState;
        break;
    }
}

std::optional<int> StatusSnapshot::channelState(int channel) const
{
    if (!detect || !cmd || !isChannel(channel))
        return std::nullopt;
    return ChannelState::of(*detect, *cmd, channel);
}

std::optional<bool> StatusSnapshot::signalDetected(int channel) const
{
    if (!detect || !isChannel(channel))
        return std::nullopt;
    return detect->detected(channel - 1);
}

std::optional<bool> StatusSnapshot::signalError(int channel) const
{
    if (!detect || !isChannel(channel))
        return std::nullopt;
    return detect->signalError(channel - 1);
}

std::optional<int> StatusSnapshot::referenceChannel() const
{
    if (!cmd || !detect || !cmd->switchingMode())
        return std::nullopt;
    for (int n = 1; n <= Channels; ++n) {
        if (ChannelState::of(*detect, *cmd, n) == ChannelState::InGroup)
            return n;
    }
    return 0;
}
