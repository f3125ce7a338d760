#pragma once

#include "CommandParameters.h"

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
    DeviceExchange &m_io;
    LinkRecords &m_records;
    int m_debugLevel = 0;
    qint32 m_phaseDuration = 0;
    QDateTime m_phaseEnd;  // UTC
};
