#include "HistoryText.h"

#include "link/JournalFile.h"

#include <iterator>

QString HistoryText::linkState(LinkState state)
{
    switch (state) {
    case LinkState::NoConnection:
        return tr("No connection");
    case LinkState::Connected:
        return tr("Connected");
    case LinkState::Estimation:
        return tr("Initial signal estimation");
    case LinkState::Synchronised:
        return tr("Synchronization OK");
    case LinkState::NotSynchronised:
        return tr("No synchronization");
    case LinkState::ParameterLog:
        break;
    }
    return tr("From a parameter log");
}

QString HistoryText::channelBand(ChannelBand band)
{
    switch (band) {
    case ChannelBand::Unknown:
        return tr("Unknown");
    case ChannelBand::NoSignal:
        return tr("No signal");
    case ChannelBand::NotInGroup:
        return tr("Not in the group");
    case ChannelBand::Error:
        return tr("Signal error");
    case ChannelBand::Qualifying:
        return tr("Qualifying");
    case ChannelBand::InGroup:
        return tr("In the group");
    case ChannelBand::Reference:
        return tr("Reference");
    case ChannelBand::Backup1:
        return tr("Backup 1");
    case ChannelBand::Backup2:
        return tr("Backup 2");
    case ChannelBand::Backup3:
        return tr("Backup 3");
    case ChannelBand::Out:
        return tr("Not in the group or no signal");
    case ChannelBand::Other:
        break;
    }
    return tr("Other state");
}

QString HistoryText::series(Series::Id series)
{
    switch (series) {
    case Series::FreqOffset:
        return tr("Frequency offset");
    case Series::FreqTrend:
        return tr("Frequency trend");
    case Series::Offset1:
    case Series::Offset2:
    case Series::Offset3:
    case Series::Offset4:
        return tr("Offset, channel %1").arg(series - Series::Offset1 + 1);
    case Series::Adev1:
    case Series::Adev2:
    case Series::Adev3:
    case Series::Adev4:
        break;
    }
    return tr("ADEV@1s, channel %1").arg(series - Series::Adev1 + 1);
}

QString HistoryText::command(int code)
{
    static const char *const names[] = {
        QT_TR_NOOP("Channel list"),
        QT_TR_NOOP("Synchronization on or off"),
        QT_TR_NOOP("Phase correction"),
        QT_TR_NOOP("Frequency offset"),
        QT_TR_NOOP("Frequency trend"),
        QT_TR_NOOP("Smooth correction"),
        QT_TR_NOOP("Frequency difference limit"),
        QT_TR_NOOP("1PPS synchronization"),
        QT_TR_NOOP("1PPS offset reading"),
        QT_TR_NOOP("Date and time reading"),
        QT_TR_NOOP("Date and time setting"),
        QT_TR_NOOP("Qualification intervals"),
        QT_TR_NOOP("Journal download"),
        QT_TR_NOOP("Journal clearing"),
        QT_TR_NOOP("Mode"),
        QT_TR_NOOP("Channel in or out of the group"),
        QT_TR_NOOP("Reference channel"),
        QT_TR_NOOP("AVE values"),
        QT_TR_NOOP("AVE reading"),
        QT_TR_NOOP("AVE permission reading"),
        QT_TR_NOOP("AVE on or off"),
        QT_TR_NOOP("Device information"),
        QT_TR_NOOP("Frequency difference limit reading"),
    };
    if (code < 0 || code >= int(std::size(names)))
        return tr("Command %1").arg(code);
    return tr(names[code]);
}

QString HistoryText::outcome(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ok:
        return tr("done");
    case Outcome::Failed:
        return tr("failed");
    case Outcome::Unknown:
        break;
    }
    return tr("no outcome");
}

QString HistoryText::marker(const Marker &m)
{
    switch (m.kind) {
    case MarkerKind::Connected:
        return tr("Connected to %1").arg(m.text);
    case MarkerKind::ConnectionLost:
        return tr("Connection lost");
    case MarkerKind::SyncLost:
        return tr("Synchronization lost");
    case MarkerKind::SyncRestored:
        return tr("Synchronization restored");
    case MarkerKind::ReferenceChanged:
        return tr("Reference changed from channel %1 to channel %2").arg(m.previous).arg(m.channel);
    case MarkerKind::Command:
        return tr("Command: %1, %2").arg(command(m.code), outcome(m.outcome));
    case MarkerKind::JournalEvent:
        return tr("Journal record %1 (%2): %3, %4")
            .arg(m.number)
            .arg(m.text, JournalFile::eventText(m.code >> 8).trimmed(), JournalFile::causeText(m.code & 0xFF).trimmed());
    case MarkerKind::HistoryGap:
        break;
    }
    return tr("History not recorded here (%1 entries lost)").arg(m.code);
}
