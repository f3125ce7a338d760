#include "PhasePlan.h"

#include "FieldCheck.h"

#include <limits>

namespace {

// A correction shorter than 2 s would end before the device applied it.
constexpr int kShortestInterval = 2;

QString nanosecondStep(qint32 value)
{
    return value > 0 ? QStringLiteral("1e-9") : QStringLiteral("-1e-9");
}

}  // namespace

PhasePlan PhasePlan::make(qint32 value, Unit unit)
{
    PhasePlan plan;
    const qint64 magnitude = qAbs(qint64(value));
    if (unit == Nanoseconds) {
        plan.firstStep = nanosecondStep(value);
        plan.firstSeconds = magnitude;
        plan.interval = int(magnitude);
    } else if (magnitude <= 999) {
        plan.firstStep = FieldCheck::number(value * 1e-12);
        plan.firstSeconds = 1;
        plan.interval = kShortestInterval;
    } else {
        // Integer division truncates toward zero and keeps the sign in the
        // remainder, as the device expects.
        const qint64 whole = qAbs(qint64(value / 1000));
        const qint32 rest = value % 1000;
        plan.split = true;
        plan.fraction = rest / 1000.0;
        plan.firstStep = nanosecondStep(value);
        plan.firstSeconds = whole;
        plan.interval = int(whole);
        if (rest != 0) {
            plan.remainderStep = FieldCheck::number(rest * 1e-12);
            plan.interval += 1;
        }
    }
    plan.interval = qMax(plan.interval, kShortestInterval);
    return plan;
}

qint64 PhasePlan::picoseconds(qint32 value, Unit unit)
{
    return unit == Nanoseconds ? qint64(value) * 1000 : qint64(value);
}

qint32 PhasePlan::maxNanoseconds()
{
    return std::numeric_limits<qint32>::max() / 1000;
}

bool PhasePlan::fitsDevice(qint32 value, Unit unit)
{
    return unit == Picoseconds || qAbs(qint64(value)) <= maxNanoseconds();
}

QDateTime PhasePlan::endTime(const QDateTime &nowUtc, int interval)
{
    return nowUtc.toUTC().addSecs(interval);
}
