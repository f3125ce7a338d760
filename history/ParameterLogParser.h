#pragma once

#include "HistoryData.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

// One row of a parameter log ("Logs/Parameters/yyyyMMdd.log").
struct LoggedRow {
    qint64 timeMs = 0;        // UTC, from the file's date and the row's time
    int mode = 0;             // 1 averaging, 2 switching, 0 none: written before the first status
    int status[4] = {};       // 3, 5, 11..13, LoggedStatus::Out or LoggedStatus::Error
    int qualSeconds[4] = {};  // for status 5
    float value[Series::Count] = {};  // as written: 6, 4 and 3 significant digits
};

// Reads the fixed-width rows the program writes into its daily parameter
// logs, in English or in Russian, by earlier versions and by this one. Widths
// count UTF-8 bytes; a text longer than its field shifts the rest of the row,
// and older versions wrote a value that fills its field without a blank
// after it. A row that does not match the layout exactly is not read: no
// value is ever guessed.
class ParameterLogParser
{
public:
    struct Result {
        QVector<LoggedRow> rows;  // in file order, rows written before the first status included
        int unreadable = 0;       // lines that are neither a row, a header nor empty
    };

    // The UTC date of a file named "yyyyMMdd.log"; invalid for any other name.
    static QDate dateOf(const QString &fileName);
    static Result parse(const QByteArray &content, const QDate &utcDate);
    static std::optional<LoggedRow> parseRow(const QByteArray &line, const QDate &utcDate);
    static bool isHeader(const QByteArray &line);
};
