#include "InstrumentModel.h"

#include "link/Frame.h"

#include <algorithm>
#include <cmath>

namespace {

// Journal event codes (high byte of the event word).
enum Event : quint8 {
    TestingSignal1 = 2,
    PllOn = 6,
    SignalInUse1 = 7,
    SignalRemoved1 = 12,
    PllOff = 16,
    OffsetChanged = 17,
    DateTimeBefore = 20,
    DateTimeAfter = 21,
    PpsSyncStart = 31,
    PpsSyncFinish = 32,
    TrendChanged = 33,
    LimitChanged = 34,
    ChangePriorities = 40,
    StartPhaseCorrection = 47,
    ChangeMode = 51,
    ChangeMaster = 54,
};

// Journal cause codes (low byte).
enum Cause : quint8 {
    RemotePc = 2,
    ErrorSignal = 5,
    NoInputSignal = 6,
    UserCommand = 18,
    InclusionStarted = 20,
    InclusionFinished = 21,
};

// Longest stretch of per-second noise one advance() replays: a test that
// jumps days ahead must not spin through every second of them.
constexpr int MaxTicksPerAdvance = 3600;

quint16 tenMsUnits(qint64 ms)
{
    return quint16(std::clamp<qint64>((ms + 9) / 10, 0, 0xFFFF));
}

quint16 dacCode(double value)
{
    return quint16(std::clamp<double>(std::round(value), 0, 0xFFFF));
}

float clampFinite(float value, float current, double limit)
{
    if (!std::isfinite(value))
        return current;
    return float(std::clamp<double>(value, -limit, limit));
}

}  // namespace

InstrumentModel::InstrumentModel(quint64 seed, const QDateTime &deviceClock)
    : m_rng(seed), m_clockAtStart(deviceClock)
{
    // Channels 1 and 2 locked, 3 still in its qualification interval, no
    // signal on 4: a display with something in every state.
    for (int i = 0; i < Channels; ++i) {
        Channel &c = m_ch[i];
        c.priority = quint8(i + 1);
        c.baseOffset = (i % 2 ? -1.0 : 1.0) * (1.5 + i) * 1e-12;
        c.offset = c.baseOffset;
        c.baseAdev = (2.0 + 1.5 * i) * 1e-12;
    }
    m_ch[0].detected = m_ch[1].detected = m_ch[2].detected = true;
    m_ch[0].inUse = m_ch[1].inUse = true;
    m_ch[2].qualifying = true;
    m_ch[2].qualLeftMs = 450000;
    for (Channel &c : m_ch)
        c.adev = c.detected ? c.baseAdev : 0;
    updateRoles();
}

// --- time ---------------------------------------------------------------

void InstrumentModel::advance(qint64 ms)
{
    if (ms <= 0)
        return;
    m_elapsedMs += ms;
    m_estimationLeftMs = qMax<qint64>(0, m_estimationLeftMs - ms);
    for (int i = 0; i < Channels; ++i) {
        Channel &c = m_ch[i];
        if (!c.qualifying)
            continue;
        c.qualLeftMs -= ms;
        if (c.qualLeftMs <= 0) {
            c.qualifying = false;
            c.qualLeftMs = 0;
            c.inUse = true;
            note(quint8(SignalInUse1 + i), InclusionFinished);
        }
    }
    m_tickCarryMs += ms;
    const qint64 ticks = m_tickCarryMs / 1000;
    m_tickCarryMs %= 1000;
    for (qint64 t = std::max<qint64>(0, ticks - MaxTicksPerAdvance); t < ticks; ++t)
        tick();
    updateRoles();
}

void InstrumentModel::tick()
{
    const double scale = m_steady ? 0.0 : m_lively ? 5.0 : 1.0;
    m_offsetSet = float(std::clamp<double>(m_offsetSet + m_drift / 86400.0, -MaxOffset, MaxOffset));
    m_offsetShown = float(m_offsetSet + 2e-16 * scale * gauss());
    for (Channel &c : m_ch) {
        c.baseOffset += c.driftPerDay / 86400.0;
        if (!c.detected) {
            c.offset = 0;
            c.adev = 0;
            continue;
        }
        // A random walk held near the channel's own offset.
        c.offset += 0.02 * (c.baseOffset - c.offset) + 3e-15 * scale * gauss();
        c.adev = c.baseAdev * std::exp(0.1 * scale * gauss());
    }
    if (m_lively)
        livelyTick();
}

void InstrumentModel::livelyTick()
{
    // Channel 1 stays, so the loop keeps a reference; the others come and go.
    for (int channel = 2; channel <= Channels; ++channel) {
        Channel &c = m_ch[channel - 1];
        if (chance(1.0 / 90))
            setChannelDetected(channel, !c.detected);
        else if (c.detected && c.error == 0 && chance(1.0 / 400))
            setChannelError(channel, 0x01);
        else if (c.error != 0 && chance(1.0 / 15))
            setChannelError(channel, 0);
    }
}

QDateTime InstrumentModel::deviceTime() const
{
    return m_clockAtStart.addMSecs(m_elapsedMs);
}

void InstrumentModel::setDeviceTime(const QDateTime &time)
{
    note(DateTimeBefore, RemotePc);
    m_clockAtStart = time.addMSecs(-m_elapsedMs);
    note(DateTimeAfter, RemotePc);
}

// --- records --------------------------------------------------------------

DETECT InstrumentModel::detect() const
{
    DETECT d;
    for (int i = 0; i < Channels; ++i) {
        const Channel &c = m_ch[i];
        d.chan[i] = c.detected ? qint16(quint16(c.error) << 8 | 1) : 0;
    }
    return d;
}

ADJ_CMD_STATE InstrumentModel::cmdState() const
{
    ADJ_CMD_STATE s;
    bool anyInUse = false;
    for (int i = 0; i < Channels; ++i) {
        const Channel &c = m_ch[i];
        s.qualState[i] = c.qualifying ? 1 : 0;
        s.chanWord[i] = qint16((c.inUse ? 1 : 0) | (c.role << 4));
        s.qualTimeLeft[i] = c.qualifying ? tenMsUnits(c.qualLeftMs) : 0;
        anyInUse = anyInUse || c.inUse;
    }
    // Switched on, the instrument reports synchronisation (its estimation
    // countdown runs meanwhile); with no signal in use it cannot lock (2).
    if (m_syncOn)
        s.syncStatus = anyInUse ? 1 : 2;
    s.estimationTimeLeft = tenMsUnits(m_estimationLeftMs);
    s.flags = quint16((m_switching ? 0x1000 : 0) | (m_aveEnabled ? 0x0100 : 0));
    return s;
}

ADJ_STATE InstrumentModel::adjState() const
{
    ADJ_STATE a;
    a.freqOffset = m_offsetShown;
    a.freqDrift = m_drift;
    int inUse = 0;
    for (const Channel &c : m_ch)
        inUse += c.inUse ? 1 : 0;
    for (int i = 0; i < Channels; ++i) {
        const Channel &c = m_ch[i];
        if (m_switching)
            a.coeff[i] = (c.inUse && i + 1 == m_master) ? 1.0f : 0.0f;
        else
            a.coeff[i] = c.inUse ? 1.0f / float(inUse) : 0.0f;
        a.chanOffset[i] = float(c.offset);
        a.reserved1[i] = float(c.offset - m_offsetShown);  // offset against the output
        a.reserved1[4 + i] = float(c.adev);
        a.reserved2[i] = c.priority;
    }
    return a;
}

VAR_STRUCT InstrumentModel::varState() const
{
    VAR_STRUCT v;
    for (int i = 0; i < Channels; ++i) {
        v.value[2 * i] = float(m_ch[i].adev);
        v.value[2 * i + 1] = float(m_ch[i].adev / std::sqrt(10.0));  // at 10 s
    }
    return v;
}

PPS_DELAY InstrumentModel::ppsRecord() const
{
    PPS_DELAY p;
    p.delay = quint32(m_ppsDelay);
    p.status = 0;
    p.external = m_externalPps ? 1 : 0;
    return p;
}

quint16 InstrumentModel::dacCoarse() const
{
    return dacCode(32768.0 + double(m_offsetSet) * 1e10);
}

quint16 InstrumentModel::dacFine() const
{
    return dacCode(32768.0 + std::fmod(double(m_offsetSet) * 1e13, 30000.0));
}

QByteArray InstrumentModel::parameterBlock() const
{
    using namespace Frame;
    QByteArray b;
    appendF32(b, m_offsetSet);
    appendF32(b, m_drift);
    for (const Channel &c : m_ch)
        appendU16(b, c.qualInterval);
    appendF32(b, m_limit);  // offset 16: what the program reads
    for (const Channel &c : m_ch)
        b.append(char(c.priority));
    b.append(m_switching ? '2' : '1');
    b.append(char(m_syncOn ? 1 : 0));
    b.append(char(m_aveEnabled ? 1 : 0));
    b.append(char(m_master));
    b.append(QByteArray(44 - b.size(), '\0'));
    return b;
}

// --- commands ---------------------------------------------------------------

void InstrumentModel::setSync(bool on)
{
    if (on != m_syncOn)
        note(on ? PllOn : PllOff, RemotePc);
    m_syncOn = on;
}

void InstrumentModel::startQualification(Channel &c, int channel)
{
    c.inUse = false;
    c.qualifying = true;
    c.qualLeftMs = qint64(c.qualInterval) * 1000;
    note(quint8(TestingSignal1 + channel - 1), InclusionStarted);
}

void InstrumentModel::dropFromGroup(Channel &c, int channel, quint8 cause)
{
    if (c.inUse || c.qualifying)
        note(quint8(SignalRemoved1 + channel - 1), cause);
    c.inUse = false;
    c.qualifying = false;
    c.qualLeftMs = 0;
}

void InstrumentModel::includeChannel(int channel)
{
    if (!valid(channel))
        return;
    Channel &c = m_ch[channel - 1];
    c.wanted = true;
    if (c.detected && c.error == 0 && !c.inUse && !c.qualifying)
        startQualification(c, channel);
    updateRoles();
}

void InstrumentModel::removeChannel(int channel)
{
    if (!valid(channel))
        return;
    Channel &c = m_ch[channel - 1];
    c.wanted = false;
    dropFromGroup(c, channel, RemotePc);
    updateRoles();
}

void InstrumentModel::setPriorities(const quint8 priorities[Channels])
{
    for (int i = 0; i < Channels; ++i)
        m_ch[i].priority = priorities[i];
    note(ChangePriorities, RemotePc);
    updateRoles();
}

char InstrumentModel::setMaster(char digit)
{
    const int channel = digit - '0';
    if (!valid(channel))
        return '7';
    if (!m_syncOn)
        return '1';
    if (!m_switching)
        return '2';
    if (m_estimationLeftMs > 0)
        return '3';
    if (m_master == 0)
        return '5';
    if (channel == m_master)
        return '6';
    if (m_ch[channel - 1].role == 0)
        return '4';
    m_master = channel;
    note(ChangeMaster, RemotePc);
    updateRoles();
    return '0';
}

bool InstrumentModel::setMode(char modeChar)
{
    if (modeChar != '1' && modeChar != '2')
        return false;
    const bool switching = modeChar == '2';
    if (switching != m_switching)
        note(ChangeMode, RemotePc);
    m_switching = switching;
    updateRoles();
    return true;
}

float InstrumentModel::setFreqOffset(float value)
{
    m_offsetSet = clampFinite(value, m_offsetSet, MaxOffset);
    m_offsetShown = m_offsetSet;
    note(OffsetChanged, RemotePc);
    return m_offsetSet;
}

float InstrumentModel::setFreqDrift(float value)
{
    m_drift = clampFinite(value, m_drift, MaxDrift);
    note(TrendChanged, RemotePc);
    return m_drift;
}

float InstrumentModel::setFreqLimit(float value)
{
    m_limit = std::fabs(clampFinite(value, m_limit, MaxOffset));
    note(LimitChanged, RemotePc);
    return m_limit;
}

void InstrumentModel::applyPhaseStep(float nanoseconds, float seconds)
{
    const double step = double(nanoseconds) * 1e-9 + double(seconds);
    if (!std::isfinite(step))
        return;
    m_phaseTotal += step;
    // The output moves, and the 1PPS delay with it (10 ns units).
    m_ppsDelay += qint32(std::clamp(std::round(step / 1e-8), -1e9, 1e9));
    note(StartPhaseCorrection, UserCommand);
}

void InstrumentModel::setQualIntervals(const quint16 seconds[Channels])
{
    for (int i = 0; i < Channels; ++i)
        m_ch[i].qualInterval = seconds[i];
}

InstrumentModel::PpsSyncResult InstrumentModel::syncPps()
{
    if (!m_externalPps)
        return {1, m_ppsDelay, false};
    note(PpsSyncStart, RemotePc);
    m_ppsDelay = std::uniform_int_distribution<qint32>(-2, 2)(m_rng);
    note(PpsSyncFinish, RemotePc);
    return {0, m_ppsDelay, true};
}

void InstrumentModel::setAveValues(const QByteArray &raw16)
{
    m_ave = raw16.left(16);
    m_ave.append(QByteArray(16 - m_ave.size(), '\0'));
}

void InstrumentModel::setAveEnabled(bool on)
{
    m_aveEnabled = on;
}

void InstrumentModel::fillJournal(int count, int startSlot)
{
    m_journal.clear();
    m_journal.fillHistory(count, deviceTime(), m_rng);
    m_journal.setStartSlot(startSlot);
}

// --- channels -----------------------------------------------------------------

void InstrumentModel::setChannelDetected(int channel, bool detected)
{
    if (!valid(channel))
        return;
    Channel &c = m_ch[channel - 1];
    if (c.detected == detected)
        return;
    c.detected = detected;
    c.error = 0;
    if (!detected) {
        dropFromGroup(c, channel, NoInputSignal);
    } else {
        c.offset = c.baseOffset;
        c.adev = c.baseAdev;
        if (c.wanted)
            startQualification(c, channel);
    }
    updateRoles();
}

void InstrumentModel::setChannelError(int channel, quint8 error)
{
    if (!valid(channel) || !m_ch[channel - 1].detected)
        return;
    Channel &c = m_ch[channel - 1];
    const bool cleared = c.error != 0 && error == 0;
    c.error = error;
    // A signal in error leaves the group; once clean it qualifies again.
    if (error != 0)
        dropFromGroup(c, channel, ErrorSignal);
    else if (cleared && c.wanted)
        startQualification(c, channel);
    updateRoles();
}

void InstrumentModel::updateRoles()
{
    for (Channel &c : m_ch)
        c.role = 0;
    if (!m_switching)
        return;
    int order[Channels] = {1, 2, 3, 4};
    std::stable_sort(std::begin(order), std::end(order),
                     [this](int a, int b) { return m_ch[a - 1].priority < m_ch[b - 1].priority; });
    if (m_master == 0 || !m_ch[m_master - 1].inUse) {
        m_master = 0;
        for (int channel : order) {
            if (m_ch[channel - 1].inUse) {
                m_master = channel;
                break;
            }
        }
    }
    int backup = 0;
    for (int channel : order) {
        Channel &c = m_ch[channel - 1];
        if (c.inUse && channel != m_master && backup < 3)
            c.role = ++backup;
    }
}

quint16 InstrumentModel::channelFlags() const
{
    quint16 flags = 0;
    for (int i = 0; i < Channels; ++i) {
        const Channel &c = m_ch[i];
        const int nibble = (c.detected ? 1 : 0) | (c.qualifying ? 2 : 0) | (c.inUse ? 4 : 0);
        flags = quint16(flags | (nibble << (4 * i)));
    }
    return flags;
}

void InstrumentModel::note(quint8 event, quint8 cause)
{
    if (!m_journalLive)
        return;
    JournalEvent e;
    e.event = event;
    e.cause = cause;
    e.when = deviceTime();
    e.offset = m_offsetShown;
    e.trend = m_drift;
    for (int i = 0; i < Channels; ++i)
        e.rfd[i] = float(m_ch[i].offset);
    e.dac1 = dacCoarse();
    e.dac2 = dacFine();
    e.channelFlags = channelFlags();
    m_journal.append(e);
}
