#include "PhaseStep.h"

#include "Frame.h"

#include <cmath>

PhaseStep PhaseStep::of(qint32 picoseconds)
{
    // In 64 bits, so that the most negative value has a magnitude too. The
    // instrument expects the sign on the whole part even when it is zero.
    const qint64 x = picoseconds;
    const double whole = std::floor(double(x < 0 ? -x : x) / 1000.0);
    const double sign = x < 1 ? -1.0 : 1.0;
    PhaseStep step;
    step.nanoseconds = float(whole * sign);
    step.remainderS = float((double(x) - double(step.nanoseconds) * 1000.0) * 1e-12);
    return step;
}

QByteArray PhaseStep::payload() const
{
    QByteArray p;
    Frame::appendF32(p, nanoseconds);
    Frame::appendF32(p, remainderS);
    return p;
}
