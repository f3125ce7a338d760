#pragma once

#include <QString>
#include <QtGlobal>

// Helpers for reading the simulator's options, faults and commands.
namespace SimText {

// Stores `text` as the reason a parse failed; returns false for `return fail(...)`.
inline bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// A whole decimal number within min..max.
template <typename T>
bool toInteger(const QString &text, qint64 min, qint64 max, T *out)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return false;
    *out = T(v);
    return true;
}

}  // namespace SimText
