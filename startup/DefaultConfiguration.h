#pragma once

#include <QString>

// A first "fconn583.ini" for a new working folder: every documented key with
// its default, so the operator finds them all in one place to edit. Outside
// Windows it names no port, so the program searches for the instrument.
class DefaultConfiguration
{
public:
    static QString fileName() { return QStringLiteral("fconn583.ini"); }
    // False when the file could not be written.
    static bool write(const QString &file);
};
