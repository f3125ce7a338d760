#include "FloatCode.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace FloatCode {

// Positive floats keep their bits; a negative one with magnitude bits m
// becomes -1 - m, so larger magnitudes sort lower and -0 sits just below +0.
qint64 encode(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const qint64 magnitude = bits & 0x7FFFFFFFu;
    return (bits & 0x80000000u) ? -1 - magnitude : magnitude;
}

float decode(qint64 code)
{
    const quint32 bits = code < 0 ? quint32(0x80000000u | quint32((-1 - code) & 0x7FFFFFFF))
                                  : quint32(code & 0x7FFFFFFF);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QVariant toSql(float value)
{
    if (std::isnan(value))
        return QVariant(QVariant::LongLong);
    return QVariant(encode(value));
}

float fromSql(const QVariant &value)
{
    if (value.isNull())
        return std::numeric_limits<float>::quiet_NaN();
    return decode(value.toLongLong());
}

}  // namespace FloatCode
