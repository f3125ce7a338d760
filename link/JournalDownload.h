#pragma once

#include "CommandTable.h"
#include "Frame.h"
#include "LinkFeed.h"

#include <QObject>
#include <QString>

class DeviceExchange;

// Downloads the instrument's event journal into a text file, and clears it.
class JournalDownload : public QObject
{
    Q_OBJECT

public:
    explicit JournalDownload(DeviceExchange &io, QObject *parent = nullptr);

    // The most records the instrument's journal can hold.
    static constexpr int MaxRecords = 810;
    // Records missed one after another before the instrument counts as gone:
    // the rest are not asked for, each would only cost another wait.
    static constexpr int MissesBeforeGivingUp = 5;

    // `displayItem` is the connected port's display item, whose text after the
    // last '#' names the file. True when every record arrived and the file
    // was written (or the journal was empty); journalRead() tells the rest.
    bool download(const QString &folder, const QString &displayItem);
    bool clear();

signals:
    void setNumberOfJournalRec(int number);
    void setNumberOfReadyRec(int number);
    void windowInfo(const QString &text, const QString &colour);
    void debugInfo(const QString &text, const QString &colour);
    // Once per download, however it ended, with the records that arrived.
    void journalRead(const JournalReading &reading);

private:
    // Drops what a late answer left in the port, then runs one exchange.
    Frame::Result exchange(Request r, QByteArray *answer);
    // After a record that did not arrive in time.
    void settle();
    bool fail();
    // Ends a download: reports it and returns whether it was complete.
    bool finish(JournalReading &reading, JournalReading::Outcome outcome);

    DeviceExchange &m_io;
};
