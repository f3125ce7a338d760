#include "JsonNumber.h"

#include <QString>

#include <cmath>
#include <cstring>

namespace {

constexpr double kExactIntegers = 9007199254740992.0;  // 2^53

bool isPlain(double v)
{
    return std::isfinite(v) && !(v == 0 && std::signbit(v));
}

template <typename Bits>
QJsonValue bitsText(Bits bits)
{
    return QStringLiteral("0x%1").arg(qulonglong(bits), int(2 * sizeof(Bits)), 16, QLatin1Char('0'));
}

// The bits of "0x" + exactly 2 * sizeof(Bits) lower-case hex digits.
template <typename Bits>
bool parseBits(const QJsonValue &v, Bits *bits)
{
    const QString t = v.toString();
    if (t.size() != 2 + int(2 * sizeof(Bits)) || !t.startsWith(QLatin1String("0x")))
        return false;
    for (int i = 2; i < t.size(); ++i) {
        const QChar c = t[i];
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    }
    bool ok = false;
    *bits = Bits(t.midRef(2).toULongLong(&ok, 16));
    return ok;
}

}  // namespace

namespace JsonNumber {

QJsonValue fromFloat(float value)
{
    if (isPlain(value))
        return double(value);
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bitsText(bits);
}

QJsonValue fromDouble(double value)
{
    if (isPlain(value))
        return value;
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bitsText(bits);
}

QJsonValue fromUInt64(quint64 value)
{
    if (double(value) < kExactIntegers)
        return double(value);
    return QString::number(value);
}

bool toFloat(const QJsonValue &v, float *out)
{
    if (v.isString()) {
        quint32 bits;
        if (!parseBits(v, &bits))
            return false;
        std::memcpy(out, &bits, sizeof bits);
        return !isPlain(*out);  // a plain value has one spelling only
    }
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    const float f = float(d);
    if (double(f) != d)
        return false;
    *out = f;
    return true;
}

bool toDouble(const QJsonValue &v, double *out)
{
    if (v.isString()) {
        quint64 bits;
        if (!parseBits(v, &bits))
            return false;
        std::memcpy(out, &bits, sizeof bits);
        return !isPlain(*out);
    }
    if (!v.isDouble())
        return false;
    *out = v.toDouble();
    return true;
}

bool toInteger(const QJsonValue &v, qint64 lowest, qint64 highest, qint64 *out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!(d >= double(lowest) && d <= double(highest)) || std::trunc(d) != d || std::fabs(d) >= kExactIntegers)
        return false;
    *out = qint64(d);
    return *out >= lowest && *out <= highest;
}

bool toUInt64(const QJsonValue &v, quint64 *out)
{
    if (v.isString()) {
        const QString t = v.toString();
        // Only the spelling fromUInt64 gives: digits, no sign, no blanks.
        if (t.isEmpty() || t.size() > 20 || t.startsWith(QLatin1Char('0')))
            return false;
        for (QChar c : t) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        bool ok = false;
        *out = t.toULongLong(&ok);
        return ok && double(*out) >= kExactIntegers;
    }
    qint64 n = 0;
    if (!toInteger(v, 0, qint64(kExactIntegers) - 1, &n))
        return false;
    *out = quint64(n);
    return true;
}

}  // namespace JsonNumber
