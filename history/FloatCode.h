#pragma once

#include <QVariant>
#include <QtGlobal>

// How the history keeps the instrument's float32 values: the IEEE-754 bits
// as an integer, ordered like the floats themselves, so that the value reads
// back bit for bit, takes at most 4 bytes in SQLite, and SQL min()/max() pick
// the right extremes. NaN has no place in that order and is stored as NULL.
namespace FloatCode {

qint64 encode(float value);  // value must not be NaN
float decode(qint64 code);

// NULL for NaN, else the code.
QVariant toSql(float value);
// NaN for NULL.
float fromSql(const QVariant &value);

}  // namespace FloatCode
