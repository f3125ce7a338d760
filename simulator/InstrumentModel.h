#pragma once

#include "SimIdentity.h"
#include "EventJournal.h"

#include "link/Records.h"

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

#include <random>

// The simulated instrument's live state: four input channels, the output
// loop's settings, its clock, 1PPS, AVE and journal. Commands change it at
// once; advance() moves it on in time (countdowns, noise, and in lively mode
// channels that come and go). Randomness comes from one seeded generator, so
// the same seed and the same calls give the same instrument.
class InstrumentModel
{
public:
    static constexpr int Channels = 4;
    static constexpr double MaxOffset = 1e-6;  // the loop's steering range
    static constexpr double MaxDrift = 1e-9;

    InstrumentModel(quint64 seed, const QDateTime &deviceClock);

    void advance(qint64 ms);

    // --- records as the instrument reports them ---------------------------
    DETECT detect() const;
    ADJ_CMD_STATE cmdState() const;
    ADJ_STATE adjState() const;
    VAR_STRUCT varState() const;
    PPS_DELAY ppsRecord() const;  // delay in 10 ns units, as on the wire
    quint16 dacCoarse() const;
    quint16 dacFine() const;
    QByteArray parameterBlock() const;  // 44 bytes, the limit at offset 16

    // --- commands ----------------------------------------------------------
    void setSync(bool on);
    void includeChannel(int channel);
    void removeChannel(int channel);
    void setPriorities(const quint8 priorities[Channels]);
    // Returns the outcome character '0'..'7' of the master-channel command.
    char setMaster(char digit);
    bool setMode(char modeChar);  // '1' averaging, '2' switching
    // Each returns the value applied, which the answer confirms.
    float setFreqOffset(float value);
    float setFreqDrift(float value);
    float setFreqLimit(float value);
    void applyPhaseStep(float nanoseconds, float seconds);
    void setQualIntervals(const quint16 seconds[Channels]);

    struct PpsSyncResult {
        qint16 status;    // 0 done, 1 failed
        qint32 delay;     // 10 ns units
        bool external;
    };
    PpsSyncResult syncPps();

    QDateTime deviceTime() const;
    void setDeviceTime(const QDateTime &time);

    QByteArray aveValues() const { return m_ave; }  // 16 raw bytes
    void setAveValues(const QByteArray &raw16);
    bool aveEnabled() const { return m_aveEnabled; }
    void setAveEnabled(bool on);

    EventJournal &journal() { return m_journal; }
    const EventJournal &journal() const { return m_journal; }
    // Replaces the journal by a history of `count` events.
    void fillJournal(int count, int startSlot);

    SimIdentity &identity() { return m_identity; }
    const SimIdentity &identity() const { return m_identity; }

    // --- state for tests, the demo and the control FIFO --------------------
    void setChannelDetected(int channel, bool detected);
    void setChannelError(int channel, quint8 error);
    void setExternalPps(bool available) { m_externalPps = available; }
    void setEstimationLeftMs(qint64 ms) { m_estimationLeftMs = qMax<qint64>(0, ms); }
    void setLively(bool on) { m_lively = on; }
    // A channel whose standard ages: its offset moves by `perDay` a day.
    void setChannelDrift(int channel, double perDay) { m_ch[index(channel)].driftPerDay = perDay; }
    // Without measurement noise every reading repeats what was set, so a
    // test can compare what the program publishes with what was answered.
    void setSteady(bool on) { m_steady = on; }
    // Whether events of the running instrument are added to the journal.
    void setJournalLive(bool on) { m_journalLive = on; }

    bool syncOn() const { return m_syncOn; }
    bool switchingMode() const { return m_switching; }
    int master() const { return m_master; }
    float freqOffset() const { return m_offsetSet; }
    float freqDrift() const { return m_drift; }
    float freqLimit() const { return m_limit; }
    quint16 qualInterval(int channel) const { return m_ch[index(channel)].qualInterval; }
    quint8 priority(int channel) const { return m_ch[index(channel)].priority; }
    bool channelInUse(int channel) const { return m_ch[index(channel)].inUse; }
    bool channelQualifying(int channel) const { return m_ch[index(channel)].qualifying; }
    int backupRole(int channel) const { return m_ch[index(channel)].role; }
    double phaseTotal() const { return m_phaseTotal; }
    qint32 ppsDelay() const { return m_ppsDelay; }

private:
    struct Channel {
        bool detected = false;
        quint8 error = 0;
        bool wanted = true;  // the operator wants it in the group
        bool inUse = false;
        bool qualifying = false;
        qint64 qualLeftMs = 0;
        quint16 qualInterval = 600;
        quint8 priority = 0;
        int role = 0;  // backup number 1..3 in switching mode, else 0
        double baseOffset = 0;
        double offset = 0;
        double baseAdev = 0;
        double driftPerDay = 0;
        double adev = 0;
    };

    static int index(int channel) { return qBound(1, channel, Channels) - 1; }
    static bool valid(int channel) { return channel >= 1 && channel <= Channels; }

    void tick();
    void livelyTick();
    void startQualification(Channel &c, int channel);
    void dropFromGroup(Channel &c, int channel, quint8 cause);
    void updateRoles();
    quint16 channelFlags() const;
    void note(quint8 event, quint8 cause);
    double gauss() { return m_normal(m_rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_rng) < p; }

    std::mt19937_64 m_rng;
    std::normal_distribution<double> m_normal{0.0, 1.0};

    Channel m_ch[Channels];
    bool m_syncOn = true;
    bool m_switching = true;
    int m_master = 1;
    qint64 m_estimationLeftMs = 120000;
    float m_offsetSet = 0;    // what the loop steers to
    float m_offsetShown = 0;  // what it measures, with noise
    float m_drift = 0;        // per day
    float m_limit = 1e-10f;
    double m_phaseTotal = 0;  // seconds
    qint32 m_ppsDelay = 37;   // 10 ns units
    bool m_externalPps = true;
    QByteArray m_ave = QByteArray(16, '\0');
    bool m_aveEnabled = false;
    bool m_lively = false;
    bool m_steady = false;
    bool m_journalLive = false;

    QDateTime m_clockAtStart;  // device clock when elapsed was 0
    qint64 m_elapsedMs = 0;
    qint64 m_tickCarryMs = 0;

    EventJournal m_journal;
    SimIdentity m_identity;
};
