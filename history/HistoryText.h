#pragma once

#include "HistoryData.h"

#include <QCoreApplication>
#include <QString>

// What the history's values are called on screen, in the interface language.
// Call on the GUI thread: the reader hands over plain values.
class HistoryText
{
    Q_DECLARE_TR_FUNCTIONS(HistoryText)

public:
    static QString linkState(LinkState state);
    static QString channelBand(ChannelBand band);
    static QString series(Series::Id series);
    // What a command code does, e.g. "Frequency offset".
    static QString command(int code);
    static QString outcome(Outcome outcome);
    // The line shown when the pointer rests on the marker.
    static QString marker(const Marker &marker);
};
