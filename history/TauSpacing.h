#pragma once

#include <QVector>
#include <QtGlobal>

// The averaging factors m (tau = m tau0) a stability plot is computed at.
class TauSpacing
{
public:
    enum Spacing { Octave, Decade, Dense };
    static constexpr int SpacingCount = 3;

    // 1, 2, 4, 8 ...; 1, 2, 5, 10, 20, 50 ...; or about ten a decade
    // (1, 2, 3, 4, 5, 6, 8, 10, 13, 16 ...), none above `longest`.
    static QVector<qint64> factors(Spacing spacing, qint64 longest);
    // "octave", "decade", "dense"; the command line's words.
    static const char *key(Spacing spacing);
};
