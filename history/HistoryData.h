#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// What the history hands to its readers: plain values, times in UTC
// milliseconds since the epoch.

// The measured series, in the order of their columns.
namespace Series {
enum Id : int {
    FreqOffset,
    FreqTrend,
    Offset1,
    Offset2,
    Offset3,
    Offset4,
    Adev1,
    Adev2,
    Adev3,
    Adev4,
};
constexpr int Count = 10;
// FreqOffset .. Offset4 come from ADJ_STATE, Adev1 .. Adev4 from VAR_STRUCT.
constexpr int FromAdjState = 6;
constexpr int FromVarStruct = 4;

inline Id offset(int channel) { return Id(Offset1 + channel - 1); }  // channel 1..4
inline Id adev(int channel) { return Id(Adev1 + channel - 1); }
// The column that holds the series: "freq_offset", "chan2_adev", ...
QString column(Id series);
}  // namespace Series

// Channel statuses read from a parameter log that have no state code of
// their own ("+", "BACKUP n" and "N s" keep the codes 3, 11..13 and 5).
namespace LoggedStatus {
constexpr int Out = -1;    // "-": not in the group, or no signal: the log cannot tell
constexpr int Error = -2;  // "E"
}  // namespace LoggedStatus

// [fromMs, toMs)
struct TimeRange {
    qint64 fromMs = 0;
    qint64 toMs = 0;

    bool isEmpty() const { return toMs <= fromMs; }
    qint64 length() const { return toMs - fromMs; }
    bool contains(qint64 ms) const { return ms >= fromMs && ms < toMs; }
};

// One bucket of a decimated series: the extremes of the readings that fell
// in it. A bucket never holds readings from both sides of a break (a lost
// connection, a program stop, a stretch the history could not record).
struct SeriesBucket {
    qint64 firstMs = 0;  // the first and the last reading in the bucket
    qint64 lastMs = 0;
    float min = 0;
    float max = 0;
    int readings = 0;          // read from summaries: the polls of both kinds in them
    bool breakBefore = false;  // never join this bucket to the one before
};

// Synchronisation and connection, for the state band.
enum class LinkState {
    NoConnection,
    Connected,        // connected, the synchronisation not read yet
    Estimation,       // synchronised, initial signal estimation running
    Synchronised,
    NotSynchronised,
    ParameterLog,     // imported from a parameter log: connection unknown
};

// A channel's role, for its band.
enum class ChannelBand {
    Unknown,      // no connection, or not read yet
    NoSignal,
    NotInGroup,   // a signal, not in the group
    Error,        // the instrument reports an error on the signal
    Qualifying,
    InGroup,      // in the group (averaging mode)
    Reference,    // in the group in switching mode
    Backup1,
    Backup2,
    Backup3,
    Out,          // "-" in a parameter log: not in the group or no signal
    Other,        // a state code without a name (2, 4, 6..10, 14..16)
};

template <typename State>
struct StateInterval {
    qint64 fromMs = 0;
    qint64 toMs = 0;
    State state{};
};
using LinkInterval = StateInterval<LinkState>;
using ChannelInterval = StateInterval<ChannelBand>;

enum class MarkerKind {
    Connected,         // text: the port
    ConnectionLost,
    SyncLost,
    SyncRestored,
    ReferenceChanged,  // channel: the new reference, previous: the one before
    Command,           // code: command code, outcome
    JournalEvent,      // code: event word, number: record number, text: the instrument's date and time
    HistoryGap,        // code: writes the history could not store
};

enum class Outcome { Unknown, Ok, Failed };

struct Marker {
    qint64 timeMs = 0;
    MarkerKind kind = MarkerKind::Connected;
    int code = 0;
    int channel = 0;
    int previous = 0;
    int number = 0;
    Outcome outcome = Outcome::Unknown;
    QString text;
};

// One answered poll at full precision; NaN where the poll does not carry a
// series (an ADJ_STATE poll has no ADEV, a VAR_STRUCT poll no offsets).
struct Reading {
    qint64 timeMs = 0;
    float value[Series::Count];
};

struct Sample {
    qint64 timeMs = 0;
    double value = 0;
};

struct MessageLine {
    qint64 timeMs = 0;
    QString colour;
    QString text;
};

// Everything a window draws for one range.
struct HistoryView {
    TimeRange range;
    QVector<SeriesBucket> series[Series::Count];
    QVector<LinkInterval> link;
    QVector<ChannelInterval> channels[4];
    QVector<Marker> markers;  // in time order
};
