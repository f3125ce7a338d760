#include "HistoryCsv.h"

#include <QDateTime>

#include <cmath>

QByteArray HistoryCsv::header()
{
    QByteArray line = "time_utc";
    for (int s = 0; s < Series::Count; ++s)
        line += ',' + Series::column(Series::Id(s)).toLatin1();
    return line + "\r\n";
}

QByteArray HistoryCsv::line(const Reading &reading)
{
    QByteArray line = QDateTime::fromMSecsSinceEpoch(reading.timeMs, Qt::UTC)
                          .toString(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzzZ"))
                          .toLatin1();
    for (float value : reading.value) {
        line += ',';
        if (std::isnan(value))
            continue;
        // Qt writes -0 as 0; the sign is part of the value.
        line += value == 0 && std::signbit(value) ? QByteArray("-0") : QByteArray::number(double(value), 'g', 9);
    }
    return line + "\r\n";
}
