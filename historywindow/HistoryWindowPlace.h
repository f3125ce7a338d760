#pragma once

#include <QRect>
#include <QString>

// Where the History window was left, kept in the program's configuration
// file (group Windows_Position, keys History_Window_x, _y, _width, _height).
class HistoryWindowPlace
{
public:
    // An invalid rectangle when nothing usable is stored.
    static QRect read(const QString &iniFile);
    static void write(const QString &iniFile, const QRect &geometry);

    // `stored` when some of it lies on one of `screens` and it is at least
    // `minimum` large; otherwise `preferred` centred on the first screen.
    static QRect placed(const QRect &stored, const QList<QRect> &screens, const QSize &minimum,
                        const QSize &preferred);
};
