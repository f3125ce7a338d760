#pragma once

#include <QString>

// The reference signal the program remembers from the last run, read from
// "CurRefSignal.stat" at start-up.
struct CurrentReference
{
    int index = 0;  // zero-based channel, always 0..3
    QString name;

    static QString fileName() { return QStringLiteral("CurRefSignal.stat"); }
    static CurrentReference read(const QString &path);
};
