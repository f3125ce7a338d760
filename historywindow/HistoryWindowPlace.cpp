#include "HistoryWindowPlace.h"

#include <QList>
#include <QSettings>

namespace {

const QString Group = QStringLiteral("Windows_Position/History_Window_");
const char *const Keys[] = {"x", "y", "width", "height"};

}  // namespace

QRect HistoryWindowPlace::read(const QString &iniFile)
{
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = ini.value(Group + QLatin1String(Keys[i])).toString().trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

void HistoryWindowPlace::write(const QString &iniFile, const QRect &geometry)
{
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    const int values[4] = {geometry.x(), geometry.y(), geometry.width(), geometry.height()};
    for (int i = 0; i < 4; ++i)
        ini.setValue(Group + QLatin1String(Keys[i]), values[i]);
}

QRect HistoryWindowPlace::placed(const QRect &stored, const QList<QRect> &screens, const QSize &minimum,
                                 const QSize &preferred)
{
    const bool large = stored.width() >= minimum.width() && stored.height() >= minimum.height();
    for (const QRect &screen : screens) {
        // A title bar's worth must be reachable to move the window back.
        if (large && screen.intersected(stored).height() >= 40 && screen.intersected(stored).width() >= 100)
            return stored;
    }
    QRect rect(QPoint(), screens.isEmpty() ? preferred : preferred.boundedTo(screens.first().size()));
    if (!screens.isEmpty())
        rect.moveCenter(screens.first().center());
    return rect;
}
