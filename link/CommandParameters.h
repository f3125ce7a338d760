#pragma once

#include "Records.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The command parameter block. A view owns it: the tabs write the
// "requested" fields before they raise a command code, the main window writes
// the "device" fields from the decoded records. The link never reads it
// directly: a command is queued with a whole copy of the block, under the
// queue mutex together with the code, and the link executes the command from
// that copy. What the link measures comes back as LinkResults (below) and is
// copied into the block by takeResults().

struct SyncControlInfo {
    // requested
    qint32 Ref_Chan = 1;
    qint32 BackUp1_Chan = 0;
    qint32 BackUp2_Chan = 0;
    qint32 BackUp3_Chan = 0;
    bool SyncIsOn = false;
    bool chanIncluded[4] = {};
    char modeNew = '1';
    // device (written by the main window)
    char modeCur = '1';
    qint16 syncStatus = 0;
    qint16 chanAvailable[4] = {};  // raw DETECT words
    qint16 stat[4] = {};           // derived channel state codes
};

struct PhaseControlInfo {
    qint32 phaseOffset = 0;    // picoseconds
    qint32 timerInterval = 0;  // seconds
    QDateTime endTime;         // UTC
};

struct SmartControlInfo {
    double freq_newValue = 0;
    double phase_newValue = 0;  // seconds
    qint32 timeInterval = 10;   // seconds between steps
    qint32 numOfControls = 0;
};

struct DateTimeShiftInfo {
    qint32 timeDifference = 0;  // seconds, device minus PC
    qint32 dateDifference = 0;  // days, device minus PC
    QDateTime lastUpdate;       // when the link last measured the shift
};

struct QualIntervalInfo {
    quint16 qual_Interval_chan1 = 600;
    quint16 qual_Interval_chan2 = 600;
    quint16 qual_Interval_chan3 = 600;
    quint16 qual_Interval_chan4 = 600;
};

struct AveControlInfo {
    // requested
    qint32 enabledNew = 0;
    float aveNew[4] = {};
    // device
    bool enabledCur = false;
    float aveCur[4] = {};
};

// What the link measures for the tabs (AVE, limit, clock shift, 1PPS).
struct LinkResults {
    bool aveEnabled = false;
    // Counts the AVE permission readings, so that the GUI copies a reading
    // once and a newer flag from a status poll is not undone by it.
    quint64 aveEnabledReadings = 0;
    float aveValues[4] = {};
    float currentLimit = 0;
    qint32 timeDifference = 0;
    qint32 dateDifference = 0;
    QDateTime lastTimeUpdate;
    PPS_DELAY pps;

    void setAveEnabled(bool enabled)
    {
        aveEnabled = enabled;
        ++aveEnabledReadings;
    }
};

struct CommandParameters {
    SyncControlInfo syncControl_info;
    PhaseControlInfo phaseControl_info;
    double freq_newOffset = 0;
    double drift_newOffset = 0;
    SmartControlInfo smartControl_info;
    double freq_diffLimit_newValue = 0;
    float currentLimit = 0;
    DateTimeShiftInfo dateTime_info;
    QualIntervalInfo qualInterval_info;
    QString journalFolder;
    AveControlInfo ave_info;
    PPS_DELAY pps_info;

    // The device fields, refreshed from what the link read.
    void takeDetect(const DETECT &detect);
    void takeCmdState(const ADJ_CMD_STATE &cmd, const DETECT &detect);
    // What the link measured. `aveReadingsTaken` counts the AVE permission
    // readings copied before: a status poll also reports the flag, and only
    // a reading newer than the last one copied may replace what it wrote.
    void takeResults(const LinkResults &results, quint64 &aveReadingsTaken);
};

// Command codes raised by the tabs and executed by the link loop.
enum CommandCode {
    COMMAND_SET_SYNC_CHLIST = 0,
    COMMAND_SET_SYNC_STATUS = 1,
    COMMAND_PHASE_CORRECTION = 2,
    COMMAND_SET_FREQ_OFFSET = 3,
    COMMAND_SET_FREQ_DRIFT = 4,
    COMMAND_SMART_CONTROL = 5,
    COMMAND_SET_FREQ_LIMIT = 6,
    COMMAND_1PPS_SYNC = 7,
    COMMAND_GET_1PPS_OFFSET = 8,
    COMMAND_GET_DATETIME = 9,
    COMMAND_SET_DATETIME = 10,
    COMMAND_SET_QUAL_INTERVALS = 11,
    COMMAND_GET_JOURNAL = 12,
    COMMAND_CLEAR_JOURNAL = 13,
    COMMAND_SET_MODE = 14,
    COMMAND_SET_CHAN_STAT = 15,
    COMMAND_MASTER_CHAN = 16,
    COMMAND_SET_AVE = 17,
    COMMAND_GET_AVE = 18,
    COMMAND_GET_AVE_ENABLED = 19,
    COMMAND_SET_AVE_ENABLED = 20,
    COMMAND_GET_DEVICE_INFO = 21,
    COMMAND_GET_FREQ_LIMIT = 22,
};
