#pragma once

#include "link/Records.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The status file other programs on this computer read: "SupervisInfo.ini",
// rewritten key by key every minute. Its words are fixed ASCII and never
// translated, since programs, not people, read them.
class SupervisInfoWriter
{
public:
    struct Snapshot {
        ADJ_CMD_STATE cmd;
        DETECT detect;
        ADJ_STATE adj;
        QStringList names;  // the four name fields as shown
    };

    // False when the file could not be written.
    static bool write(const QString &path, const Snapshot &s, const QDateTime &localNow);

    // "NOSYNC", "INIT" or "OK".
    static QString syncWord(const ADJ_CMD_STATE &cmd);
    // The status word of a channel state code; empty for codes that have none.
    static QString statusWord(int code);
    // Switching mode: the first channel (1..4) in the group, 0 when none.
    static int referenceChannel(const Snapshot &s);
};
