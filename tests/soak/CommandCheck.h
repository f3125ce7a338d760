#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct SoakRun;
class SoakReport;

// Follows the operator's commands from the control window to the instrument
// and back into the program log. For each kind of command with one outcome
// line per command:
//  - every command queued got exactly one outcome line, in queue order;
//  - a line saying a value was applied names the value the operator set;
//  - the instrument received each value at most once, in the order set, and
//    only values the operator set (or, for the offset, finite ones within the
//    instrument's range that the smooth steering computed, and which may be
//    the offset the operator set last);
//  - every request the instrument received has its outcome line, and every
//    success line a request the instrument received.
namespace CommandCheck {

struct Kind {
    QString name;
    QVector<int> codes;     // command codes queued by the control window
    QStringList requests;   // request codes as the simulator traces them
    QStringList applied;    // beginnings of the success lines
    QStringList failed;     // beginnings of the failure lines
    bool valueInPayload;    // the request carries the operator's value(s)
    bool valueInText;       // the success line ends with the applied value
    bool onlyMeantValues;   // nothing but the operator sends this request
};

QVector<Kind> kinds();

void run(const SoakRun &run, SoakReport &report);
void checkKind(const Kind &kind, const SoakRun &run, SoakReport &report);

// "New offset applied: " + the value, as the program writes it.
QString appliedText(const QString &prefix, const QString &payloadHex);

}  // namespace CommandCheck
