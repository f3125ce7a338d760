#pragma once

#include "HistoryData.h"

#include <QByteArray>

// Readings as CSV for a spreadsheet or a script: the UTC time, then one
// column per series. A float32 is written with 9 significant digits, which
// reads back to the very same float; a series the poll did not carry is an
// empty cell.
class HistoryCsv
{
public:
    static QByteArray header();
    static QByteArray line(const Reading &reading);
};
