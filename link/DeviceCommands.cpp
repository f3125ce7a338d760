#include "DeviceCommands.h"

#include "DateTimeShift.h"
#include "DeviceExchange.h"
#include "LinkClock.h"
#include "LinkRecords.h"
#include "PhaseStep.h"

#include <cmath>
#include <iterator>

namespace {

const QString kBlack = QStringLiteral("black");
const QString kRed = QStringLiteral("red");
const QString kBlue = QStringLiteral("blue");

// The instrument's answer to a master channel change, by its status digit.
const char *const kMasterOutcomes[] = {
    QT_TRANSLATE_NOOP("DeviceCommands", "Command SET_MASTER_CHAN OK"),
    QT_TRANSLATE_NOOP("DeviceCommands", "Command SET_MASTER_CHAN Error. There is no PLL"),
    QT_TRANSLATE_NOOP("DeviceCommands", "Command SET_MASTER_CHAN Error. There is no Reservation mode"),
    QT_TRANSLATE_NOOP("DeviceCommands",
                      "Command SET_MASTER_CHAN Error. The initial analysis of signals isn't ended"),
    QT_TRANSLATE_NOOP("DeviceCommands",
                      "Command SET_MASTER_CHAN Error. The new master isn't a reserve signal"),
    QT_TRANSLATE_NOOP("DeviceCommands", "Command SET_MASTER_CHAN Error. There is no master"),
    QT_TRANSLATE_NOOP("DeviceCommands",
                      "Command SET_MASTER_CHAN Error. Numbers of the old and new master are equal"),
    QT_TRANSLATE_NOOP("DeviceCommands",
                      "Command SET_MASTER_CHAN Error. Error in number of  a channel."),
};
constexpr int kWrongChannel = 7;

bool isChannel(qint32 n)
{
    return n >= 1 && n <= 4;
}

bool inUse(const ADJ_CMD_STATE &cmd, int channel)
{
    return cmd.chanWord[channel - 1] & 0x1;
}

char channelDigit(int channel)
{
    return char('0' + channel);
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

}  // namespace

// A command that writes one float and gets back the value the device applied.
struct DeviceCommands::ValueCommand {
    Request request;
    double zeroBand;          // applied values closer to 0 than this are 0
    float ADJ_STATE::*field;  // where the applied value is kept; null: not kept
    const char *applied;
    const char *failed;
};

DeviceCommands::DeviceCommands(DeviceExchange &io, LinkRecords &records, QObject *parent)
    : QObject(parent), m_io(io), m_records(records)
{
}

bool DeviceCommands::execute(int code, const CommandParameters &p)
{
    switch (code) {
    case COMMAND_SET_SYNC_CHLIST:
        return setChannels(p.syncControl_info);
    case COMMAND_SET_SYNC_STATUS:
        return setSyncStatus(p.syncControl_info.SyncIsOn);
    case COMMAND_PHASE_CORRECTION:
        return correctPhase(p.phaseControl_info);
    case COMMAND_SET_FREQ_OFFSET:
        return writeValue({Request::FreqOffset, 1e-20, &ADJ_STATE::freqOffset,
                           QT_TR_NOOP("New offset applied: "), QT_TR_NOOP("New offset command failed!")},
                          p.freq_newOffset);
    case COMMAND_SET_FREQ_DRIFT:
        return writeValue({Request::FreqDrift, 1e-25, &ADJ_STATE::freqDrift,
                           QT_TR_NOOP("New frequency drift applied: "),
                           QT_TR_NOOP("New frequency drift command failed!")},
                          p.drift_newOffset);
    case COMMAND_SET_FREQ_LIMIT:
        return writeValue({Request::FreqLimit, 0, nullptr, QT_TR_NOOP("New limit applied: "),
                           QT_TR_NOOP("New limit command failed!")},
                          p.freq_diffLimit_newValue);
    case COMMAND_1PPS_SYNC:
        return syncPps();
    case COMMAND_GET_DATETIME:
        return setGetDateTime(false, p.dateTime_info);
    case COMMAND_SET_DATETIME:
        return setGetDateTime(true, p.dateTime_info);
    case COMMAND_SET_QUAL_INTERVALS:
        return setQualIntervals(p.qualInterval_info);
    case COMMAND_SET_MODE:
        return setMode(p.syncControl_info.modeNew);
    case COMMAND_SET_CHAN_STAT:
        return setChannelStates(p.syncControl_info);
    case COMMAND_MASTER_CHAN:
        return setMasterChannel(p.syncControl_info.Ref_Chan);
    case COMMAND_SET_AVE:
        return setAve(p.ave_info);
    case COMMAND_GET_AVE:
        return getAve();
    case COMMAND_GET_AVE_ENABLED:
        return getAveEnabled();
    case COMMAND_SET_AVE_ENABLED:
        return setAveEnabled(p.ave_info.enabledNew);
    case COMMAND_GET_FREQ_LIMIT:
        return readLimit();
    default:
        return false;
    }
}

void DeviceCommands::checkPhaseCorrection()
{
    if (m_phaseDuration > 0 && m_io.clock().nowUtc() >= m_phaseEnd) {
        m_phaseDuration = 0;
        emit windowInfo(tr("Phase correction is finished"), kBlack);
    }
}

Frame::Result DeviceCommands::exchange(Request r, const QByteArray &payload, QByteArray *answer,
                                       char digit)
{
    // A late answer to an earlier request must not be read as this one's.
    m_io.drain();
    return m_io.transact(r, payload, answer, digit);
}

bool DeviceCommands::accepted(Request r, const QByteArray &payload, QByteArray *answer, char digit)
{
    return exchange(r, payload, answer, digit) == Frame::Result::Accepted;
}

// --- Channels ---------------------------------------------------------------

bool DeviceCommands::setChannels(const SyncControlInfo &sync)
{
    const ADJ_STATE adj = m_records.adjState.get();
    const ADJ_CMD_STATE cmd = m_records.cmdState.get();
    quint8 priority[4] = {};
    bool listed[4] = {};
    bool ok = true;

    if (isChannel(sync.Ref_Chan)) {
        const int r = sync.Ref_Chan;
        priority[r - 1] = 1;
        if (adj.coeff[r - 1] != 1.0f)
            ok &= includeChannel(r);
        listed[r - 1] = true;
        emit debugInfo(tr("setChannels Ref_Chan = ") + QString::number(r), kBlack);
    }
    const qint32 backups[3] = {sync.BackUp1_Chan, sync.BackUp2_Chan, sync.BackUp3_Chan};
    const char *const backupTrace[3] = {QT_TR_NOOP("setChannels BackUp1_Chan = "),
                                        QT_TR_NOOP("setChannels BackUp2_Chan = "),
                                        QT_TR_NOOP("setChannels BackUp3_Chan = ")};
    for (int k = 0; k < 3; ++k) {
        const int b = backups[k];
        if (!isChannel(b))
            continue;
        priority[b - 1] = quint8(k + 2);
        if (adj.coeff[b - 1] != 0.0f || !inUse(cmd, b))
            ok &= includeChannel(b);
        listed[b - 1] = true;
        emit debugInfo(tr(backupTrace[k]) + QString::number(b), kBlack);
    }
    quint8 next = 4;
    for (int i = 1; i <= 4; ++i) {
        if (listed[i - 1])
            continue;
        priority[i - 1] = next--;
        if (inUse(cmd, i))
            ok &= removeChannel(i);
    }
    // The priorities' answer does not decide the outcome.
    exchange(Request::Priorities, QByteArray(reinterpret_cast<const char *>(priority), 4));
    return reportChannels(ok);
}

bool DeviceCommands::setChannelStates(const SyncControlInfo &sync)
{
    bool ok = true;
    for (int i = 1; i <= 4; ++i) {
        const qint16 request = sync.stat[i - 1];
        const bool included = sync.chanIncluded[i - 1];
        if (request == 1 && included)
            ok &= includeChannel(i);
        else if (request != 0 && request != 1 && !included)
            ok &= removeChannel(i);
    }
    return reportChannels(ok);
}

bool DeviceCommands::includeChannel(int channel)
{
    const bool ok = accepted(Request::IncludeChannel, QByteArray(), nullptr, channelDigit(channel));
    if (ok)
        emit debugInfo(tr("OK include channel") + QLatin1Char(' ') + QString::number(channel), kBlack);
    else
        emit debugInfo(tr("Command failed! include channel") + QLatin1Char(' ') + QString::number(channel),
                       kRed);
    return ok;
}

bool DeviceCommands::removeChannel(int channel)
{
    const bool ok = accepted(Request::RemoveChannel, QByteArray(), nullptr, channelDigit(channel));
    if (!ok)
        emit debugInfo(tr("Command failed! remove channel") + QLatin1Char(' ') + QString::number(channel),
                       kRed);
    return ok;
}

bool DeviceCommands::reportChannels(bool ok)
{
    if (ok)
        emit debugInfo(tr("Channel status has been changed"), kBlack);
    else
        emit debugInfo(tr("Channel status command failed!"), kRed);
    return ok;
}

bool DeviceCommands::setSyncStatus(bool on)
{
    const bool current = m_records.cmdState.get().syncStatus != 0;
    if (on != current) {
        if (!accepted(on ? Request::SyncOn : Request::SyncOff)) {
            emit debugInfo(tr("Command failed!"), kRed);
            emit debugInfo(tr("Sync command failed!"), kRed);
            return false;
        }
        m_records.cmdState.update([on](ADJ_CMD_STATE &s) { s.syncStatus = on ? 1 : 0; });
        emit cmdStateRcvd();
        emit debugInfo(tr("Command has been applied"), kBlack);
    }
    emit debugInfo(tr("Sync command has been applied"), kBlack);
    return true;
}

bool DeviceCommands::setMode(char mode)
{
    // Only the two modes the instrument knows ever go out.
    if (mode != '1' && mode != '2')
        return false;
    if (!accepted(Request::Mode, QByteArray(), nullptr, mode))
        return false;
    emit debugInfo(tr("Command SET_MODE OK"), kBlack);
    return true;
}

bool DeviceCommands::setMasterChannel(qint32 channel)
{
    // Only a channel the instrument has may go out as the digit; anything else
    // would be read by the device as some other code.
    if (!isChannel(channel)) {
        emit debugInfo(tr(kMasterOutcomes[kWrongChannel]), kRed);
        return false;
    }
    QByteArray answer;
    if (!accepted(Request::MasterChannel, QByteArray(), &answer, channelDigit(channel)))
        return false;
    const int status = Frame::u8(answer, 3) - '0';
    if (status >= 0 && status < int(std::size(kMasterOutcomes)))
        emit debugInfo(tr(kMasterOutcomes[status]), kRed);
    // The instrument answered; only status 0 means it took the new master.
    return status == 0;
}

// --- Frequency --------------------------------------------------------------

bool DeviceCommands::writeValue(const ValueCommand &command, double value)
{
    QByteArray payload;
    Frame::appendF32(payload, float(value));
    QByteArray answer;
    if (!accepted(command.request, payload, &answer)) {
        emit debugInfo(tr(command.failed), kRed);
        return false;
    }
    float applied = Frame::f32(answer, 8);
    if (std::fabs(applied) < command.zeroBand)
        applied = 0;
    if (command.field) {
        m_records.adjState.update([&command, applied](ADJ_STATE &s) { s.*command.field = applied; });
        emit adjStateRcvd();
    }
    emit debugInfo(tr(command.applied) + number(applied), kBlack);
    return true;
}

bool DeviceCommands::readLimit()
{
    QByteArray answer;
    if (!accepted(Request::Parameters, QByteArray(), &answer))
        return false;
    const float limit = Frame::f32(answer, 24);
    m_records.results.update([limit](LinkResults &r) { r.currentLimit = limit; });
    emit updateCurrentFreqLimit();
    return true;
}

bool DeviceCommands::correctPhase(const PhaseControlInfo &phase)
{
    if (!accepted(Request::PhaseCorrection, PhaseStep::of(phase.phaseOffset).payload()))
        return false;
    emit windowInfo(tr("Phase correction is started"), kBlack);
    m_phaseDuration = phase.timerInterval;
    m_phaseEnd = m_io.clock().nowUtc().addSecs(phase.timerInterval);
    return true;
}

// --- Qualification, 1PPS, clock ----------------------------------------------

bool DeviceCommands::setQualIntervals(const QualIntervalInfo &intervals)
{
    QByteArray payload;
    Frame::appendU16(payload, intervals.qual_Interval_chan1);
    Frame::appendU16(payload, intervals.qual_Interval_chan2);
    Frame::appendU16(payload, intervals.qual_Interval_chan3);
    Frame::appendU16(payload, intervals.qual_Interval_chan4);
    const bool ok = accepted(Request::QualIntervals, payload);
    if (ok)
        emit windowInfo(tr("Command applied!"), kBlack);
    else
        emit windowInfo(tr("Command failed!"), kRed);
    return ok;
}

bool DeviceCommands::syncPps()
{
    QByteArray answer;
    if (!accepted(Request::PpsSync, QByteArray(), &answer)) {
        emit windowInfo(tr("Command failed!"), kRed);
        return false;
    }
    const qint16 status = Frame::i16(answer, 8);
    const qint64 delayNs = qint64(Frame::i32(answer, 10)) * 10;
    if (status == 0)
        emit debugInfo(tr("Syncronization is finished, delay is ") + QString::number(delayNs) + tr(" ns"),
                       kBlack);
    else if (status == 1)
        emit debugInfo(tr("Syncronization failed!"), kRed);
    if (Frame::u8(answer, 14) == 0)
        emit debugInfo(tr("External 1PPS is not available!"), kRed);
    return status == 0;
}

bool DeviceCommands::setGetDateTime(bool set, const DateTimeShiftInfo &shift)
{
    QByteArray request(6, '0');
    if (set) {
        DateTimeShift wanted;
        wanted.days = shift.dateDifference;
        wanted.seconds = shift.timeDifference;
        // The year goes out as year - 2000 in one byte: any other year would
        // set the instrument's clock to a date nobody chose.
        if (!wanted.fitsDevice(m_io.clock().now())) {
            emit debugInfo(tr("The instrument's clock takes the years 2000 to 2255 only."), kRed);
            emit debugInfo(tr("Time command failed!"), kRed);
            return false;
        }
        request = wanted.requestBytes(m_io.clock().now());
    }
    QByteArray answer;
    const bool ok = accepted(set ? Request::DateTimeSet : Request::DateTimeRead, request, &answer);
    const QString dateText = QString::fromLatin1(answer.mid(8, 10));
    const QString timeText = QString::fromLatin1(answer.mid(19, 8));
    const QDateTime readAt = m_io.clock().now();
    const DateTimeShift measured = DateTimeShift::measure(readAt, dateText, timeText);
    // An answer whose clock does not parse would give a meaningless shift.
    if (!ok || !measured.valid) {
        emit debugInfo(tr("Time command failed!"), kRed);
        return false;
    }
    m_records.results.update([&measured, &readAt](LinkResults &r) {
        r.dateDifference = measured.days;
        r.timeDifference = measured.seconds;
        r.lastTimeUpdate = readAt;
    });
    emit newTimeDifferenceIsReady();
    if (set) {
        emit debugInfo(tr("New date applied: ") + dateText, kBlack);
        emit debugInfo(tr("New time applied: ") + timeText, kBlack);
    } else if (m_debugLevel > 0) {
        emit debugInfo(tr("Date: ") + dateText, kBlack);
        emit debugInfo(tr("Time: ") + timeText, kBlack);
    }
    return true;
}

// --- AVE ----------------------------------------------------------------------

bool DeviceCommands::reportAve(Frame::Result result, const char *ok, const char *notOk,
                               const char *error, bool showOk)
{
    switch (result) {
    case Frame::Result::Accepted:
        if (showOk)
            emit debugInfo(tr(ok), kBlue);
        return true;
    case Frame::Result::Timeout:
        emit debugInfo(tr(error), kRed);
        return false;
    default:
        emit debugInfo(tr(notOk), kBlue);
        return false;
    }
}

bool DeviceCommands::setAve(const AveControlInfo &ave)
{
    QByteArray payload;
    for (float v : ave.aveNew)
        Frame::appendF32(payload, v);
    return reportAve(exchange(Request::AveWrite, payload), QT_TR_NOOP("New AVE OK "),
                     QT_TR_NOOP("New AVE NOT OK "), QT_TR_NOOP("New AVE ERROR "));
}

bool DeviceCommands::getAve()
{
    QByteArray answer;
    switch (exchange(Request::AveRead, QByteArray(16, '\0'), &answer)) {
    case Frame::Result::Accepted:
        break;
    case Frame::Result::WrongChecksum:
        emit debugInfo(tr("Get AVE NOT OK "), kBlue);
        return false;
    case Frame::Result::Timeout: {
        const qint64 waiting = m_io.bytesAvailable();
        const QByteArray partial = m_io.readAll();
        emit debugInfo(tr("(Get AVE ERROR port->bytesAvailable() = ") + QString::number(waiting)
                           + QStringLiteral(" ANSW:") + QString::fromLatin1(partial.toHex(' ')),
                       kRed);
        return false;
    }
    default:
        emit debugInfo(tr("Get AVE ERROR  bu"), kRed);
        return false;
    }
    float values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = Frame::f32(answer, 8 + 4 * i);
    m_records.results.update([&values](LinkResults &r) { std::copy(values, values + 4, r.aveValues); });
    emit aveStateRcvd();
    if (m_debugLevel > 0) {
        emit debugInfo(tr("Get AVE OK "), kBlue);
        for (int i = 0; i < 4; ++i)
            emit debugInfo(tr("AVE %1 ").arg(i) + number(values[i]), kBlue);
    }
    return true;
}

bool DeviceCommands::getAveEnabled()
{
    QByteArray answer;
    const Frame::Result result = exchange(Request::AvePermission, QByteArray(), &answer);
    if (result == Frame::Result::Accepted) {
        const bool enabled = Frame::u8(answer, 8) != 0;
        m_records.results.update([enabled](LinkResults &r) { r.setAveEnabled(enabled); });
        emit aveStateRcvd();
    }
    return reportAve(result, QT_TR_NOOP("Read AVE permission OK "),
                     QT_TR_NOOP("Read AVE permission NOT OK "), QT_TR_NOOP("Read AVE permission ERROR "),
                     m_debugLevel >= 1);
}

bool DeviceCommands::setAveEnabled(qint32 enabled)
{
    return reportAve(exchange(enabled != 0 ? Request::AveOn : Request::AveOff),
                     QT_TR_NOOP("New AVE stat OK "), QT_TR_NOOP("New AVE stat NOT OK "),
                     QT_TR_NOOP("New AVE stat ERROR "));
}
