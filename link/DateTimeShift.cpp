#include "DateTimeShift.h"

namespace {

// The same wall-clock reading as a plain UTC value, free of time zone rules.
QDateTime wallClock(const QDateTime &t)
{
    return QDateTime(t.date(), t.time(), Qt::UTC);
}

}  // namespace

DateTimeShift DateTimeShift::measure(const QDateTime &pcNow, const QString &dateText,
                                     const QString &timeText)
{
    const QDate date = QDate::fromString(dateText.trimmed(), QStringLiteral("dd.MM.yyyy"));
    const QTime time = QTime::fromString(timeText.trimmed(), QStringLiteral("hh:mm:ss"));
    DateTimeShift shift;
    if (!date.isValid() || !time.isValid())
        return shift;
    const QDateTime pc = wallClock(pcNow);
    shift.days = qint32(pc.date().daysTo(date));
    shift.seconds = pc.time().secsTo(time);
    shift.valid = true;
    return shift;
}

QByteArray DateTimeShift::requestBytes(const QDateTime &pcNow) const
{
    const QDateTime t = wallClock(pcNow).addDays(days).addSecs(seconds);
    QByteArray b;
    b.append(char((t.date().year() - 2000) & 0xFF));
    b.append(char(t.date().month()));
    b.append(char(t.date().day()));
    b.append(char(t.time().hour()));
    b.append(char(t.time().minute()));
    b.append(char(t.time().second()));
    return b;
}

bool DateTimeShift::fitsDevice(const QDateTime &pcNow) const
{
    const int year = wallClock(pcNow).addDays(days).addSecs(seconds).date().year();
    return year >= 2000 && year <= 2255;
}
