#pragma once

#include "link/CommandParameters.h"
#include "link/DeviceIdentity.h"
#include "link/PortInfo.h"
#include "status/StatusSnapshot.h"

#include <QDateTime>
#include <QMetaType>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

// The values a view and the core exchange. Each is a whole copy of plain
// values (texts, numbers, times, and the records, which write themselves in
// the instrument's byte layout with toPayload()), holding no pointer into
// either side: it crosses a thread in a queued signal, and can be written
// field by field for a connection to another process.

// A line for the message log, stamped when the core said it.
struct Message {
    QDateTime time;  // the core's local time
    QString text;
    QString colour;  // "black", "red", "blue"

    bool operator==(const Message &o) const
    {
        return time == o.time && text == o.text && colour == o.colour;
    }
};

enum class LinkStatus { NotConnected, Connected };

// What runs on the operator's command in the instrument: the window says so
// below its mode.
enum class Progress { None, SmoothSteering, PhaseCorrection };

// Which measurement a copy of LinkResults brings new.
enum class ResultKind { TimeDifference, PpsOffset, FrequencyLimit, Ave };

// What a view needs to show a core it begins to follow.
struct CoreState {
    static constexpr int RecentLines = 500;

    LinkStatus link = LinkStatus::NotConnected;
    QString titleItem;  // the port and the instrument the title names
    DeviceInfo device;
    Progress progress = Progress::None;
    QStringList channelNames;
    QString journalFolder;  // where downloads go unless the operator chooses another
    StatusSnapshot status;  // the records read since the link last connected
    LinkResults results;
    QVector<Message> recentLines;  // oldest first, at most RecentLines
};

// What the window keeps in the configuration when the program exits.
struct ViewSettings {
    QPoint mainWindowPos;
    QPoint controlWindowPos;
    QString language;  // "RU", "EN", or empty: not written
};

Q_DECLARE_METATYPE(Message)
Q_DECLARE_METATYPE(LinkStatus)
Q_DECLARE_METATYPE(Progress)
Q_DECLARE_METATYPE(ResultKind)
Q_DECLARE_METATYPE(LinkResults)
Q_DECLARE_METATYPE(CommandParameters)
Q_DECLARE_METATYPE(StatusSnapshot)
Q_DECLARE_METATYPE(CoreState)
