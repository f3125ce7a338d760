#pragma once

#include "Deviation.h"
#include "ReadingRun.h"
#include "StabilityAnalysis.h"

#include <QByteArray>
#include <QVector>

// The stability analysis as files other tools read.
class StabilityCsv
{
public:
    // The table: "tau_s", then for each statistic in the order OADEV, MDEV,
    // TDEV, OHDEV (ADEV, HDEV after them) its value, "_low", "_high" and "_n",
    // the terms the value rests on; one row per tau, an empty cell where a
    // statistic has no value there. Numbers with 9 significant digits.
    static QByteArray table(const QVector<StabilityCurve> &curves);
    static QByteArray header(const QVector<Deviation::Kind> &kinds);
    // "oadev", "mdev", ...
    static const char *key(Deviation::Kind kind);

    // The analysed readings as two columns, MJD and fractional frequency,
    // as Stable32, TimeLab and allantools read them: each run's readings at
    // its first stamp plus whole intervals; the gaps between runs show in
    // the dates.
    // Readings from .. from + count - 1 of `run`.
    static QByteArray series(const ReadingRun &run, int from, int count);
    static double mjd(qint64 utcMs);
};
