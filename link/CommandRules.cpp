#include "CommandRules.h"

#include "DateTimeShift.h"

#include <cmath>
#include <limits>

namespace {

using Verdict = CommandRules::Verdict;

Verdict refuse(const QString &reason)
{
    return {false, reason};
}

bool isChannel(qint32 n, bool noneAllowed)
{
    return (n >= 1 && n <= 4) || (noneAllowed && n == 0);
}

Verdict checkChannelList(const SyncControlInfo &s)
{
    const qint32 chosen[4] = {s.Ref_Chan, s.BackUp1_Chan, s.BackUp2_Chan, s.BackUp3_Chan};
    for (qint32 c : chosen) {
        if (!isChannel(c, true))
            return refuse(CommandRules::tr("A channel number must be 1 to 4, or 0 for none."));
    }
    // The page offers a backup only once the one before it is chosen.
    for (int i = 2; i < 4; ++i) {
        if (chosen[i] != 0 && chosen[i - 1] == 0)
            return refuse(CommandRules::tr("Backup %1 is chosen without backup %2.").arg(i).arg(i - 1));
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            if (chosen[i] != 0 && chosen[i] == chosen[j])
                return refuse(CommandRules::tr("Channel %1 is chosen twice.").arg(chosen[i]));
        }
    }
    return {};
}

Verdict checkPhase(const PhaseControlInfo &p)
{
    if (p.phaseOffset == 0)
        return refuse(CommandRules::tr("A phase correction of 0 changes nothing."));
    if (!CommandRules::isPhaseShift(p.phaseOffset))
        return refuse(CommandRules::tr("The Phase offset value range is:\nfrom %1 to %2 ns.")
                          .arg(-std::numeric_limits<qint32>::max() / 1000)
                          .arg(std::numeric_limits<qint32>::max() / 1000));
    // The link runs the correction for this long and reports its end then.
    if (p.timerInterval != CommandRules::phaseSeconds(p.phaseOffset))
        return refuse(CommandRules::tr("A phase correction of %1 ps lasts %2 s, not %3 s.")
                          .arg(p.phaseOffset)
                          .arg(CommandRules::phaseSeconds(p.phaseOffset))
                          .arg(p.timerInterval));
    return {};
}

QString offsetRange()
{
    return CommandRules::tr("The Frequency offset value range is:\n"
                            "from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.");
}

Verdict checkSmooth(const SmartControlInfo &s)
{
    if (!CommandRules::isSettable(s.freq_newValue, 1e-8))
        return refuse(offsetRange());
    // The page's spin box: up to 1e9 ns or ps.
    if (!(std::fabs(s.phase_newValue) <= 1.0))
        return refuse(CommandRules::tr("The phase shift of a smooth correction must lie between -1 s and 1 s."));
    if (s.timeInterval < 10 || s.timeInterval > 1000000)
        return refuse(CommandRules::tr("The step interval must be 10 to 1000000 s."));
    if (s.numOfControls < 1 || s.numOfControls > 1000000)
        return refuse(CommandRules::tr("The number of steps must be 1 to 1000000."));
    return {};
}

Verdict checkDateTime(const DateTimeShiftInfo &d, const QDateTime &nowLocal)
{
    // The page gives whole days plus the seconds within one day.
    if (d.timeDifference <= -86400 || d.timeDifference >= 86400)
        return refuse(CommandRules::tr("The time shift must be less than one day; whole days go into the date shift."));
    DateTimeShift shift;
    shift.days = d.dateDifference;
    shift.seconds = d.timeDifference;
    if (!shift.fitsDevice(nowLocal))
        return refuse(CommandRules::tr("The instrument's clock takes the years %1 to %2 only.")
                          .arg(CommandRules::FirstYear)
                          .arg(CommandRules::LastYear));
    return {};
}

Verdict checkIntervals(const QualIntervalInfo &q)
{
    const quint16 all[4] = {q.qual_Interval_chan1, q.qual_Interval_chan2, q.qual_Interval_chan3,
                            q.qual_Interval_chan4};
    for (quint16 v : all) {
        if (v < 600)
            return refuse(CommandRules::tr("A qualification interval must be 600 to 65535 s."));
    }
    return {};
}

}  // namespace

bool CommandRules::isSettable(double value, double largest)
{
    const double magnitude = std::fabs(value);
    return value == 0.0 || (magnitude >= 1e-18 && magnitude <= largest);
}

bool CommandRules::isValidAve(float value)
{
    const double v = value;
    if (!(v >= -1e-9 && v <= 1e-9))  // also refuses NaN
        return false;
    // The step is taken on the magnitude, so -4e-22 is refused like 4e-22.
    return v == 0 || std::fabs(std::trunc(1e-21 / v)) <= 1;
}

qint64 CommandRules::phaseSeconds(qint64 picoseconds)
{
    const qint64 magnitude = picoseconds < 0 ? -picoseconds : picoseconds;
    return qMax<qint64>(2, (magnitude + 999) / 1000);
}

bool CommandRules::isPhaseShift(qint32 picoseconds)
{
    const qint64 magnitude = std::llabs(qint64(picoseconds));
    return magnitude <= 1000000000 || magnitude % 1000 == 0;
}

CommandRules::Verdict CommandRules::check(int code, const CommandParameters &p, const QDateTime &nowLocal)
{
    switch (code) {
    case COMMAND_SET_SYNC_CHLIST:
        return checkChannelList(p.syncControl_info);
    case COMMAND_PHASE_CORRECTION:
        return checkPhase(p.phaseControl_info);
    case COMMAND_SET_FREQ_OFFSET:
        return isSettable(p.freq_newOffset, 1e-8) ? Verdict{} : refuse(offsetRange());
    case COMMAND_SMART_CONTROL:
        return checkSmooth(p.smartControl_info);
    case COMMAND_SET_FREQ_DRIFT:
        if (isSettable(p.drift_newOffset, 1e-11))
            return {};
        return refuse(tr("The Drift offset value range is:\n"
                         "from -1.0e-11 to -1.0e-18, 0, from 1.0e-18 to 1.0e-11."));
    case COMMAND_SET_FREQ_LIMIT:
        if (p.freq_diffLimit_newValue >= 1e-13 && p.freq_diffLimit_newValue <= 1e-8)
            return {};
        return refuse(tr("Frequency difference limit value should be between 1e-13 and 1e-8."));
    case COMMAND_SET_DATETIME:
        return checkDateTime(p.dateTime_info, nowLocal);
    case COMMAND_SET_QUAL_INTERVALS:
        return checkIntervals(p.qualInterval_info);
    case COMMAND_SET_MODE:
        if (p.syncControl_info.modeNew == '1' || p.syncControl_info.modeNew == '2')
            return {};
        return refuse(tr("The mode must be averaging (1) or switching (2)."));
    case COMMAND_MASTER_CHAN:
        if (isChannel(p.syncControl_info.Ref_Chan, false))
            return {};
        return refuse(tr("The reference channel must be 1 to 4."));
    case COMMAND_SET_AVE:
        for (float v : p.ave_info.aveNew) {
            if (!isValidAve(v))
                return refuse(tr("AVE should be between -1.0e-9 and 1.0e-9 with step 1.0e-21."));
        }
        return {};
    case COMMAND_SET_AVE_ENABLED:
        if (p.ave_info.enabledNew == 0 || p.ave_info.enabledNew == 1)
            return {};
        return refuse(tr("AVE is either on (1) or off (0)."));
    case COMMAND_SET_SYNC_STATUS:
    case COMMAND_1PPS_SYNC:
    case COMMAND_GET_1PPS_OFFSET:
    case COMMAND_GET_DATETIME:
    case COMMAND_GET_JOURNAL:
    case COMMAND_CLEAR_JOURNAL:
    case COMMAND_SET_CHAN_STAT:
    case COMMAND_GET_AVE:
    case COMMAND_GET_AVE_ENABLED:
    case COMMAND_GET_DEVICE_INFO:
    case COMMAND_GET_FREQ_LIMIT:
        return {};  // nothing to choose but what the page's switches give
    default:
        return refuse(tr("There is no command %1.").arg(code));
    }
}
