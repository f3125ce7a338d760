#pragma once

#include <QVariant>

#include <cmath>
#include <limits>

// The instrument's float32 values as SQLite REAL: every float is exactly a
// double, so a value reads back bit for bit and other programs read plain
// numbers. SQLite keeps no NaN (it stores NULL) and no negative zero (REAL
// holds it as 0).
namespace SqlReal {

inline QVariant of(float value)
{
    return std::isnan(value) ? QVariant(QVariant::Double) : QVariant(double(value));
}

inline float toFloat(const QVariant &value)
{
    return value.isNull() ? std::numeric_limits<float>::quiet_NaN() : float(value.toDouble());
}

}  // namespace SqlReal
