#include "HistorySettings.h"

#include <QSettings>

HistorySettings HistorySettings::read(const QString &iniFile)
{
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    HistorySettings s;
    bool ok = false;
    const int days = ini.value(QStringLiteral("History/KeepDays"), 0).toString().trimmed().toInt(&ok);
    s.keepDays = ok && days > 0 ? days : 0;
    return s;
}
