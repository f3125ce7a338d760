#pragma once

#include "JournalRecord.h"
#include "Records.h"

#include <QDateTime>
#include <QMetaType>
#include <QVector>
#include <QtGlobal>

// What the link hands to subscribers that keep their own account of the
// instrument (the metrics endpoint, the history): whole copies that travel in
// queued signals, so a subscriber never reads a record the link is writing.

// One answered status poll: which record, its decoded value and the UTC time
// of the answer. Only the member named by `record` is filled.
struct PollReading {
    enum Record { Detect = 0, CmdState = 1, AdjState = 2, VarStruct = 3 };

    Record record = Detect;
    QDateTime utc;
    // Polls of this record sent since the link was made, this one included:
    // a number skipped is a poll of it that went unanswered.
    quint64 number = 0;
    DETECT detect;
    ADJ_CMD_STATE cmdState;
    ADJ_STATE adjState;
    VAR_STRUCT varState;
};

// Running totals since the link object was made. Kept on the link thread.
struct LinkCounters {
    quint64 polls = 0;            // status polls sent
    quint64 pollTimeouts = 0;     // of those, unanswered in time
    quint64 rejectedAnswers = 0;  // answers with a wrong checksum or no start byte
    quint64 connections = 0;      // connection attempts that found the instrument
};

// A journal download as it ended. `records` holds those that arrived, in
// arrival order; `expected` is the size the instrument gave.
struct JournalReading {
    enum Outcome { Complete = 0, Incomplete = 1, Failed = 2 };
    static constexpr int OutcomeCount = 3;

    Outcome outcome = Failed;
    QDateTime utc;
    int expected = 0;
    QVector<JournalRecord> records;
};

Q_DECLARE_METATYPE(PollReading)
Q_DECLARE_METATYPE(LinkCounters)
Q_DECLARE_METATYPE(JournalReading)
