#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The instrument's clock as the computer's local clock plus whole days and
// seconds. Both clocks are compared as wall-clock readings, so daylight
// saving changes on the computer never bend the arithmetic.
struct DateTimeShift {
    qint32 days = 0;
    qint32 seconds = 0;
    bool valid = false;

    // The shift from the computer's clock to the instrument's, read from the
    // instrument's "dd.MM.yyyy" and "hh:mm:ss" texts. Invalid when they do not
    // parse.
    static DateTimeShift measure(const QDateTime &pcNow, const QString &dateText,
                                 const QString &timeText);

    // The six bytes that set the instrument's clock to the computer's clock
    // plus this shift: year - 2000, month, day, hour, minute, second.
    QByteArray requestBytes(const QDateTime &pcNow) const;
    // The instrument keeps the years 2000 to 2255 only.
    bool fitsDevice(const QDateTime &pcNow) const;
};
