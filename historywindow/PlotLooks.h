#pragma once

#include "CustomPlot.h"

#include "history/HistoryData.h"

#include <QColor>

// How the History window draws what it shows: the colour of each channel
// and of each state in the bands, and the row, shape and colour of each kind
// of marker.
namespace PlotLooks {

constexpr int ChannelBandCount = int(ChannelBand::Other) + 1;
constexpr int LinkStateCount = int(LinkState::ParameterLog) + 1;

// The rows of the marker plot.
enum EventRow { JournalRow = 1, CommandRow, SyncRow, ConnectionRow };

QColor channelColour(int channel);  // channel 1..4
QColor bandColour(ChannelBand band);  // transparent: not drawn
QColor linkColour(LinkState state);

struct MarkerLook {
    EventRow row;
    QCPScatterStyle::ScatterShape shape;
    QColor colour;
};
constexpr int MarkerLookCount = 10;
const MarkerLook &markerLook(int look);
// The look of `marker`, 0 .. MarkerLookCount - 1.
int lookOf(const Marker &marker);

}  // namespace PlotLooks
