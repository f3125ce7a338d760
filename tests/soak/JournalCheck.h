#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct SoakEvent;
struct SoakRun;
class SoakReport;

// Every journal download the operator asked for ended, and every one that
// reported success left a whole file: the header, then one complete line for
// each record the instrument announced, less those the program reported as
// not received.
namespace JournalCheck {

struct Download {
    int announced = 0;  // records the instrument said it holds
    int missing = 0;    // records the program reported as not received
};

struct Outcomes {
    QVector<Download> written;  // downloads that reported success
    int failed = 0;
    int empty = 0;
};

// The downloads' outcomes from the driver's events, in order.
Outcomes outcomes(const QVector<SoakEvent> &driverEvents);

// Empty when `bytes` is the whole file of `expectedRecords` records; else
// what is wrong with it.
QString checkFile(const QByteArray &bytes, int expectedRecords);

void run(const SoakRun &run, SoakReport &report);

}  // namespace JournalCheck
