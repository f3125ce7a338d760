#pragma once

#include "CommandParameters.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The rules a command's parameters must keep before the command may be
// queued: the ranges the control window's pages allow. Pure, so that a page,
// the service (which never trusts a client) and a test ask the same function.
class CommandRules
{
    Q_DECLARE_TR_FUNCTIONS(CommandRules)

public:
    struct Verdict {
        bool ok = true;
        QString reason;  // for the operator, when not ok
    };

    // `nowLocal` is the computer's clock: a new instrument date must stay
    // within the years its clock holds.
    static Verdict check(int code, const CommandParameters &p, const QDateTime &nowLocal);

    // An offset or trend the instrument can be set to: 0, or a magnitude from
    // 1e-18 up to `largest` (finer steps are below its resolution).
    static bool isSettable(double value, double largest);
    // An AVE value: -1e-9 to 1e-9 in steps of 1e-21.
    static bool isValidAve(float value);
    // How long a phase correction of `picoseconds` lasts: whole seconds at
    // 1 ns/s, one more for a remainder, never under 2 s.
    static qint64 phaseSeconds(qint64 picoseconds);
    // The largest shift a page can ask for: 1e9 ps, or whole nanoseconds
    // whose picoseconds still fit the device's 32-bit count.
    static bool isPhaseShift(qint32 picoseconds);

    // The instrument's clock keeps the year as year - 2000 in one byte.
    static constexpr int FirstYear = 2000;
    static constexpr int LastYear = 2255;
};
