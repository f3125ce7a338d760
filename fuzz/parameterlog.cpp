// A parameter log as an operator may have kept, cut or edited it, read for
// the import into the history.

#include "fuzz/Require.h"
#include "history/ParameterLogParser.h"

#include <QDateTime>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    const QDate day(2026, 1, 7);
    const qint64 dayStart = QDateTime(day, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();

    const ParameterLogParser::Result parsed = ParameterLogParser::parse(content, day);
    require(parsed.rows.size() + parsed.unreadable <= content.count('\n') + 1, "more rows than lines");
    for (const LoggedRow &row : parsed.rows) {
        require(row.timeMs >= dayStart && row.timeMs < dayStart + 86400000, "a row outside its file's day");
        require(row.mode >= 0 && row.mode <= 2, "a mode nobody writes");
        for (int ch = 0; ch < 4; ++ch) {
            const int s = row.status[ch];
            require(s == 3 || s == 5 || (s >= 11 && s <= 13) || s == LoggedStatus::Out || s == LoggedStatus::Error,
                    "a status nobody writes");
            require(s == 5 || row.qualSeconds[ch] == 0, "qualification seconds without qualification");
            require(row.qualSeconds[ch] >= 0 && row.qualSeconds[ch] <= 99999, "qualification seconds out of range");
        }
    }
    return 0;
}
