#include "SmoothPlan.h"

QVector<double> SmoothPlan::steps() const
{
    QVector<double> result;
    if (count < 1)
        return result;
    if (count == 1) {
        result.append(target);
        return result;
    }
    const double n = count;
    const double k = 6.0 / (n * (n + 1.0));
    const double difference = current - target;
    const double phaseRate = interval > 0 ? -phaseSeconds / interval : 0.0;
    double offset = current;
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        offset -= k * ((1.0 - 2.0 * i / (n - 1.0)) * phaseRate + ((2.0 * n - 1.0) / 3.0 - i) * difference);
        result.append(offset);
    }
    return result;
}

void SmoothPlan::curve(QVector<double> *times, QVector<double> *offsets) const
{
    times->clear();
    offsets->clear();
    const QVector<double> values = steps();
    for (int i = 0; i < values.size(); ++i) {
        times->append(double(i) * interval);
        times->append(double(i + 1) * interval);
        offsets->append(values[i]);
        offsets->append(values[i]);
    }
}
