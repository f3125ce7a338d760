#pragma once

#include "link/JournalRecord.h"
#include "link/Records.h"

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <variant>

// The kinds of rows in the table event; the numbers are stored.
enum class EventKind : int {
    SessionStarted = 1,   // the history began recording
    SessionEnded = 2,     // code 1: closed at the next start, the program had stopped without closing it
    SearchStarted = 3,    // code: message lines the search's attempts repeated, not stored again
    Connected = 4,        // text: port, detail: identification; code 1: still connected when recording began again
    DeviceInfo = 5,       // detail: the seven device information texts, one per line
    ConnectionLost = 6,
    Message = 7,          // text, detail: colour name
    CommandQueued = 8,    // code: command code
    CommandFinished = 9,  // code: command code, text: "ok" or "failed"
    WritesDropped = 10,   // at the first entry lost; code: entries lost, the queue being full
};

// After one of these, readings are not joined to those before: the
// connection or the recording was interrupted.
inline bool isBreak(EventKind kind)
{
    switch (kind) {
    case EventKind::SessionStarted:
    case EventKind::SessionEnded:
    case EventKind::SearchStarted:
    case EventKind::Connected:
    case EventKind::ConnectionLost:
    case EventKind::WritesDropped:
        return true;
    default:
        return false;
    }
}

struct HistoryEvent {
    EventKind kind = EventKind::Message;
    qint64 code = 0;
    QString text;
    QString detail;
};

// One entry of the writer's queue: what happened and when (UTC ms).
struct HistoryItem {
    qint64 timeMs = 0;
    std::variant<DETECT, ADJ_CMD_STATE, ADJ_STATE, VAR_STRUCT, HistoryEvent, QVector<JournalRecord>> data;
    quint64 poll = 0;  // a record: the link's number of the poll (PollReading::number), 0 when not known
};
