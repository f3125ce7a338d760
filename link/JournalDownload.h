#pragma once

#include "CommandTable.h"
#include "Frame.h"

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
    // last '#' names the file.
    void download(const QString &folder, const QString &displayItem);
    void clear();

signals:
    void setNumberOfJournalRec(int number);
    void setNumberOfReadyRec(int number);
    void windowInfo(const QString &text, const QString &colour);
    void debugInfo(const QString &text, const QString &colour);

private:
    // Drops what a late answer left in the port, then runs one exchange.
    Frame::Result exchange(Request r, QByteArray *answer);
    // After a record that did not arrive in time.
    void settle();
    void fail();

    DeviceExchange &m_io;
};
