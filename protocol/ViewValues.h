#pragma once

#include "link/CommandParameters.h"
#include "link/DeviceIdentity.h"
#include "link/LinkFeed.h"
#include "link/Records.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// What a window shows of an instrument besides its records, as whole values
// that a service sends and an attached window receives.

// One line of the message log.
struct ServiceLine {
    QDateTime time;  // local time of the service when the line was made
    QString text;
    QString colour;  // a colour name: "black", "red", "blue", ...
};

// The link to the instrument as the main window and the connection form show it.
struct LinkView {
    enum Phase { Searching = 0, Connected = 1, NoConnection = 2, Stopped = 3 };
    static constexpr int PhaseCount = 4;

    Phase phase = Searching;
    QString port;         // the port in use or being tried
    int searchTotal = 0;  // ports to try in this search
    int searchDone = 0;   // of those, tried
};

// Work that runs for a while: a smooth steering or phase correction, and a
// journal download.
struct WorkProgress {
    enum Steering { None = 0, SmoothSteering = 1, PhaseCorrection = 2 };
    static constexpr int SteeringCount = 3;

    Steering steering = None;
    int journalTotal = -1;  // records of the download running; -1: none runs
    int journalDone = 0;
};

// Everything a window needs on attaching, before the live messages.
struct ServiceSnapshot {
    static constexpr int MaxLines = 500;

    QString serviceName;  // the computer the service runs on
    QString titleItem;    // "COM3 KSR-583 #0042"; empty while not connected
    LinkView link;
    std::optional<DeviceInfo> deviceInfo;
    std::optional<DETECT> detect;  // each record once it has been read
    std::optional<ADJ_CMD_STATE> cmdState;
    std::optional<ADJ_STATE> adjState;
    std::optional<VAR_STRUCT> varState;
    LinkResults results;
    CommandParameters parameters;
    LinkCounters counters;
    WorkProgress progress;
    QVector<ServiceLine> lines;  // oldest first, at most MaxLines
    // The instrument answered within the last two poll intervals when the
    // snapshot was made; a link can stay connected a while after it fell silent.
    bool instrumentHeard = false;
    // The history database's absolute path on the service's computer; empty:
    // not told. A window there may read it, read-only.
    QString historyDatabase;
    // The names of channels 1..4 in the service's configuration; empty from
    // a service that does not tell them.
    QStringList channelNames;
};

Q_DECLARE_METATYPE(ServiceLine)
Q_DECLARE_METATYPE(LinkView)
Q_DECLARE_METATYPE(WorkProgress)
Q_DECLARE_METATYPE(ServiceSnapshot)
