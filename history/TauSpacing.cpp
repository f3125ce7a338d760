#include "TauSpacing.h"

#include <cmath>

QVector<qint64> TauSpacing::factors(Spacing spacing, qint64 longest)
{
    QVector<qint64> list;
    for (int k = 0;; ++k) {
        qint64 m = 0;
        if (spacing == Octave) {
            m = qint64(1) << k;
        } else if (spacing == Decade) {
            static const int steps[] = {1, 2, 5};
            m = steps[k % 3] * qint64(std::llround(std::pow(10.0, k / 3)));
        } else {
            m = std::llround(std::pow(10.0, k / 10.0));
        }
        if (m > longest || k > 600)
            break;
        if (list.isEmpty() || m > list.last())
            list << m;
    }
    return list;
}

const char *TauSpacing::key(Spacing spacing)
{
    switch (spacing) {
    case Octave:
        return "octave";
    case Decade:
        return "decade";
    case Dense:
        return "dense";
    }
    return "octave";
}
