#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// How the link carries out a phase shift: a frequency step of 1e-9 held for
// whole seconds, and for picoseconds one more second at the remaining
// sub-nanosecond step. The operator sees this plan before confirming it.
struct PhasePlan
{
    enum Unit { Nanoseconds = 0, Picoseconds = 1 };

    QString firstStep;        // step of the first part, "1e-9", "-1e-9" or a smaller step
    qint64 firstSeconds = 0;  // how long the first step is held
    QString remainderStep;    // held for one more second; empty when there is none
    int interval = 0;         // seconds the whole correction lasts, at least 2
    bool split = false;       // picoseconds from 1000 up: split into ns and remainder
    double fraction = 0;      // signed fraction of value / 1000 when split

    static PhasePlan make(qint32 value, Unit unit);

    // The shift in picoseconds as the device takes it (a 32-bit count).
    static qint64 picoseconds(qint32 value, Unit unit);
    static bool fitsDevice(qint32 value, Unit unit);
    // The largest nanosecond value whose picosecond count still fits.
    static qint32 maxNanoseconds();

    static QDateTime endTime(const QDateTime &nowUtc, int interval);
};
