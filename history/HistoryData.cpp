#include "HistoryData.h"

QString Series::column(Id series)
{
    switch (series) {
    case FreqOffset:
        return QStringLiteral("freq_offset");
    case FreqTrend:
        return QStringLiteral("freq_trend");
    case Offset1:
    case Offset2:
    case Offset3:
    case Offset4:
        return QStringLiteral("chan%1_offset").arg(series - Offset1 + 1);
    case Adev1:
    case Adev2:
    case Adev3:
    case Adev4:
        break;
    }
    return QStringLiteral("chan%1_adev").arg(series - Adev1 + 1);
}
