#pragma once

#include "HistoryData.h"
#include "HistoryItem.h"

#include "link/Records.h"

#include <QVector>

// The state bands and the markers that follow from them, worked out from
// the stored rows alone: link events, the DETECT and ADJ_CMD_STATE rows (kept
// when they change) and the imported parameter log statuses.
class StateTimeline
{
public:
    struct Event {
        qint64 timeMs = 0;
        EventKind kind = EventKind::SessionStarted;
        qint64 code = 0;
        QString text;
    };
    template <typename Record>
    struct Row {
        qint64 timeMs = 0;
        Record record;
        // The last poll that said the same (a row stands for a run of them);
        // before that was stored, the row's own time.
        qint64 lastMs = -1;
        qint64 lastSeenMs() const { return lastMs >= timeMs ? lastMs : timeMs; }
    };
    struct ImportedRun {
        qint64 startMs = 0;
        qint64 endMs = 0;  // the last row, inclusive
    };
    struct ImportedStatus {
        qint64 timeMs = 0;
        int mode = 0;  // 1 averaging, 2 switching
        int status[4] = {};
    };

    // Each list in time order. Rows and events before the range give the
    // state it begins with; only what lies inside it makes markers.
    struct Input {
        QVector<Event> events;  // the kinds that break a stretch
        QVector<Row<DETECT>> detect;
        QVector<Row<ADJ_CMD_STATE>> cmd;
        QVector<ImportedRun> runs;
        QVector<ImportedStatus> statuses;
    };
    struct Output {
        QVector<LinkInterval> link;
        QVector<ChannelInterval> channels[4];
        QVector<Marker> markers;  // connection, synchronisation, reference, gaps
    };

    static Output build(const Input &input, TimeRange range);

    // The band of channel 1..4 as the main window would show it.
    static ChannelBand band(const DETECT &detect, const ADJ_CMD_STATE &cmd, int channel);
    // The band of an imported status (3, 5, 11..13, LoggedStatus) in mode 1 or 2.
    static ChannelBand importedBand(int status, int mode);
};
