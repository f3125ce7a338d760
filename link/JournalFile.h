#pragma once

#include "JournalRecord.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// The journal as a fixed-width text file: one header line, then one line per
// record, oldest first. Texts are translated into the interface language.
class JournalFile
{
    Q_DECLARE_TR_FUNCTIONS(JournalFile)

public:
    // The download's slots in arrival order; a record that did not arrive
    // leaves its slot empty.
    using Slots = std::vector<std::optional<JournalRecord>>;

    static QString eventText(int code);
    static QString causeText(int code);
    // " + C", " - ", " * " ... for channels 1 to 4.
    static QString channelsText(quint16 flags);
    // "dd.MM.yyyy  hh:mm:ss" from the record's own fields.
    static QString dateTimeText(const JournalRecord &r);

    static QString header();
    static QString line(const JournalRecord &r);

    // The instrument fills its journal as a ring: the slot holding record
    // number 1 and those below it come first, newest to oldest, then the rest
    // from the end back.
    static QVector<int> slotOrder(const Slots &entries);
    static QString text(const Slots &entries);

    // The serial part of the connected port's display item (after its last
    // '#'), made safe to stand inside one file name.
    static QString safeSerial(const QString &displayItem);
    // "yyyyMMdd_hhmmss[#serial].log" for the given UTC time.
    static QString fileName(const QDateTime &utc, const QString &displayItem);

    // Writes header and records as UTF-8 text, replacing the file.
    static bool write(const QString &path, const Slots &entries);
};
