#pragma once

#include "SoakEvent.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// A request as the simulator traced it, and which simulator run got it.
struct TraceEntry {
    qint64 ms = 0;
    int instance = 0;  // 1 for the first simulator started, 2 after a restart, ...
    QString code;      // "m10"
    QString payload;   // hex, empty for none
};

// A line of the program log.
struct LogLine {
    QString raw;
    bool wellFormed = false;  // "hh:mm:ss " and a text, ended by a line feed
    QString text;             // after the time stamp
};

// A file the program wrote: its name and what it holds.
struct RunFile {
    QString name;
    QByteArray bytes;
};

// Everything one soak run left in its folder: the driver's events, the
// script's events (faults, restarts, outages, samples), the simulator traces,
// the program log, the journal files and the parameter log files.
struct SoakRun {
    QString dir;
    QVector<SoakEvent> driver;
    QVector<SoakEvent> script;
    QVector<TraceEntry> trace;
    QVector<LogLine> log;
    QVector<RunFile> journals;
    QVector<RunFile> parameterLogs;  // by UTC day

    static SoakRun load(const QString &dir);

    static QVector<TraceEntry> parseTrace(const QByteArray &text, int instance);
    static QVector<LogLine> parseLog(const QByteArray &text);

    // When the operator started and closed the program (ms since the epoch).
    qint64 startMs() const;
    qint64 closingMs() const;
};
