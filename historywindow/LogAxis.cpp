#include "LogAxis.h"

#include "CustomPlot.h"

#include <cmath>

namespace {

// About a decade and a half: the narrowest range QCustomPlot labels at the
// powers of ten.
constexpr double NarrowestRatio = 50;
constexpr double Room = 1.5;

}  // namespace

void LogAxis::setUp(QCPAxis *axis)
{
    axis->setScaleType(QCPAxis::stLogarithmic);
    axis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
    axis->setNumberFormat(QStringLiteral("eb"));
    axis->setNumberPrecision(0);
    axis->grid()->setSubGridVisible(true);
}

void LogAxis::fit(QCPAxis *axis)
{
    bool found = false;
    QCPRange range;
    for (const QCPAbstractPlottable *plottable : axis->plottables()) {
        if (!plottable->visible())
            continue;
        bool has = false;
        const QCPRange r = plottable->valueAxis() == axis ? plottable->getValueRange(has, QCP::sdPositive)
                                                           : plottable->getKeyRange(has, QCP::sdPositive);
        if (!has)
            continue;
        range = found ? QCPRange(qMin(range.lower, r.lower), qMax(range.upper, r.upper)) : r;
        found = true;
    }
    if (!found || !(range.lower > 0))
        return;
    const double middle = std::sqrt(range.lower * range.upper);
    const double half = qMax(std::sqrt(range.upper / range.lower) * Room, std::sqrt(NarrowestRatio));
    axis->setRange(middle / half, middle * half);
}
