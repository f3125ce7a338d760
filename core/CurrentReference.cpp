#include "CurrentReference.h"

#include <QSettings>

CurrentReference CurrentReference::read(const QString &path)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    CurrentReference ref;
    ref.name = ini.value(QStringLiteral("Status/RefName")).toString().simplified();
    bool ok = false;
    const int chan = ini.value(QStringLiteral("Status/RefChan"), QStringLiteral("1")).toString().toInt(&ok);
    // The index picks one of four channels: anything else means channel 1.
    ref.index = ok && chan >= 1 && chan <= 4 ? chan - 1 : 0;
    return ref;
}
