#pragma once

#include "Deviation.h"
#include "StabilityJob.h"

#include <QCoreApplication>
#include <QString>

// What the stability analysis is called on screen, in the interface
// language. Call on the GUI thread.
class StabilityText
{
    Q_DECLARE_TR_FUNCTIONS(StabilityText)

public:
    static QString statistic(Deviation::Kind kind);  // "OADEV"
    static QString statisticName(Deviation::Kind kind);  // "Overlapping Allan deviation"
    static QString noise(int alpha);  // "white FM"
    static QString seconds(double s);  // "4 s", "0.5 s", "1.05e+06 s"
    static QString duration(qint64 ms);  // "40 min", "3.5 h", "12.0 d"
    // What the analysis took and left out, for the line above the plot.
    static QString info(const StabilityResult &result);
    // One value with its interval, for the read-out under the mouse.
    static QString point(Deviation::Kind kind, const StabilityPoint &p, double confidence);
};
