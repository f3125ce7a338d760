#pragma once

#include "CommandParameters.h"
#include "CommandTable.h"
#include "Frame.h"

#include <QDateTime>
#include <QObject>

class DeviceExchange;
struct LinkRecords;

// The instrument's setting commands, run on the link thread from a queued
// code and a copy of the parameter block. Outcomes go out as coloured lines.
class DeviceCommands : public QObject
{
    Q_OBJECT

public:
    DeviceCommands(DeviceExchange &io, LinkRecords &records, QObject *parent = nullptr);

    void setDebugLevel(int level) { m_debugLevel = level; }

    // Codes 0-4, 6, 7, 9-11, 14-20 and 22. Returns false for any other code.
    bool execute(int code, const CommandParameters &params);

    // Ends a running phase correction once its UTC end time is reached.
    void checkPhaseCorrection();

signals:
    void debugInfo(const QString &text, const QString &colour);
    void windowInfo(const QString &text, const QString &colour);
    void cmdStateRcvd();
    void adjStateRcvd();
    void newTimeDifferenceIsReady();
    void updateCurrentFreqLimit();
    void aveStateRcvd();

private:
    struct ValueCommand;

    // Drops what a late answer left in the port, then runs one exchange.
    Frame::Result exchange(Request r, const QByteArray &payload = QByteArray(),
                           QByteArray *answer = nullptr, char digit = '0');
    bool accepted(Request r, const QByteArray &payload = QByteArray(),
                  QByteArray *answer = nullptr, char digit = '0');

    bool setChannels(const SyncControlInfo &sync);
    bool setChannelStates(const SyncControlInfo &sync);
    bool includeChannel(int channel);
    bool removeChannel(int channel);
    bool reportChannels(bool ok);
    bool setSyncStatus(bool on);
    bool setMode(char mode);
    bool setMasterChannel(qint32 channel);
    bool writeValue(const ValueCommand &command, double value);
    bool readLimit();
    bool correctPhase(const PhaseControlInfo &phase);
    bool setQualIntervals(const QualIntervalInfo &intervals);
    bool syncPps();
    bool setGetDateTime(bool set, const DateTimeShiftInfo &shift);
    bool setAve(const AveControlInfo &ave);
    bool getAve();
    bool getAveEnabled();
    bool setAveEnabled(qint32 enabled);
    // Reports an AVE exchange: OK and NOT OK in blue, no answer in red.
    bool reportAve(Frame::Result result, const char *ok, const char *notOk, const char *error,
                   bool showOk = true);

    DeviceExchange &m_io;
    LinkRecords &m_records;
    int m_debugLevel = 0;
    qint32 m_phaseDuration = 0;
    QDateTime m_phaseEnd;  // UTC
};
