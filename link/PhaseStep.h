#pragma once

#include <QByteArray>
#include <QtGlobal>

// The two floats of a phase correction request: the whole nanoseconds of the
// step, and what is left of it in seconds.
struct PhaseStep {
    float nanoseconds = 0;
    float remainderS = 0;

    static PhaseStep of(qint32 picoseconds);
    QByteArray payload() const;
};
