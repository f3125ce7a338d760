#pragma once

#include "CommandTable.h"
#include "Frame.h"
#include "LinkFeed.h"

#include <QObject>
#include <QString>

class DeviceExchange;
struct LinkRecords;

// The readings of the instrument's records: one exchange each. An accepted
// record is stored whole in LinkRecords before its signal goes out; a
// rejected one leaves the record as it was and reports the fault in red.
class StatusReader : public QObject
{
    Q_OBJECT

public:
    StatusReader(DeviceExchange &io, LinkRecords &records, QObject *parent = nullptr);

    void setDebugLevel(int level) { m_debugLevel = level; }

    // The four polled records, by poll step 0..3: DETECT, ADJ_CMD_STATE,
    // ADJ_STATE, VAR_STRUCT.
    static constexpr int RecordCount = 4;
    static Request recordRequest(int record);
    Frame::Result readRecord(int record);

    Frame::Result getDelayPPS();
    Frame::Result getDACcodes();
    Frame::Result getDeviceInfo();

signals:
    void detectRcvd();
    void cmdStateRcvd();
    void adjStateRcvd();
    void avarStateRcvd();
    // After the record's own signal: the reading as a whole copy.
    void pollAnswered(const PollReading &reading);
    void currentOffset_1PPS_isReady();
    void setDeviceInfo(const QString &softwareVersNumber, const QString &softwareVersDate,
                       const QString &serialNumber, const QString &comparatorVers,
                       const QString &outherComparatorVers, const QString &PLIS_CPUvers,
                       const QString &OSFvers);
    void debugInfo(const QString &text, const QString &colour);

private:
    // One exchange; reports a missing start byte or a wrong checksum under
    // the reading's name.
    Frame::Result read(Request request, const char *name, QByteArray *answer);

    DeviceExchange &m_io;
    LinkRecords &m_records;
    int m_debugLevel = 0;
    quint64 m_polls[RecordCount] = {};  // readRecord() calls per record, answered or not
};
