#pragma once

#include "status/StatusSnapshot.h"

#include <QDateTime>
#include <QString>

// The status file other programs on this computer read: "SupervisInfo.ini",
// rewritten key by key every minute. Its words are fixed ASCII and never
// translated, since programs, not people, read them.
//
// It tells only what was read during the present connection. Until the
// three records it draws on (DETECT, ADJ_CMD_STATE, ADJ_STATE) have all been
// read again, it says NOCONNECTION and NOSYNC and leaves the instrument's
// keys as an earlier write left them, as it does without the instrument;
// `Connection` says YES as soon as the link has it. The file is replaced
// whole (a copy written beside it takes its place), so a reader never sees
// half.
class SupervisInfoWriter
{
public:
    // False when the file could not be written.
    static bool write(const QString &path, const StatusSnapshot &s, const QDateTime &localNow);

    // "NOSYNC", "INIT" or "OK".
    static QString syncWord(const ADJ_CMD_STATE &cmd);
    // The status word of a channel state code; empty for codes that have none.
    static QString statusWord(int code);
};
