#pragma once

#include <QJsonValue>
#include <QtGlobal>

// Numbers that must come back bit for bit. JSON has no NaN, no infinity and
// no negative zero, and its numbers are doubles: those values travel as a
// string of the IEEE-754 bits ("0x7fc00000"), and integers beyond 2^53 as a
// decimal string. Every other value is a plain JSON number, so scripts read
// it as it is.
namespace JsonNumber {

QJsonValue fromFloat(float value);
QJsonValue fromDouble(double value);
QJsonValue fromUInt64(quint64 value);

// False when `v` is neither form, or (for a float) a number that single
// precision cannot hold exactly.
bool toFloat(const QJsonValue &v, float *out);
bool toDouble(const QJsonValue &v, double *out);
// A whole number within [lowest, highest].
bool toInteger(const QJsonValue &v, qint64 lowest, qint64 highest, qint64 *out);
bool toUInt64(const QJsonValue &v, quint64 *out);

}  // namespace JsonNumber
