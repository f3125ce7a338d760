#include "PlotLooks.h"

using namespace PlotLooks;

namespace {

const QColor ChannelColours[4] = {QColor(31, 119, 180), QColor(255, 127, 14), QColor(44, 160, 44),
                                  QColor(148, 103, 189)};
const QColor Green(0, 170, 0);
const QColor Blue(40, 80, 230);
const QColor Red(220, 0, 0);
const QColor Grey(150, 150, 150);

const MarkerLook Looks[MarkerLookCount] = {
    {ConnectionRow, QCPScatterStyle::ssTriangle, Green},         // connected
    {ConnectionRow, QCPScatterStyle::ssTriangleInverted, Red},   // connection lost
    {ConnectionRow, QCPScatterStyle::ssCross, Grey},             // history not recorded
    {SyncRow, QCPScatterStyle::ssDisc, Green},                   // synchronisation restored
    {SyncRow, QCPScatterStyle::ssDisc, Red},                     // synchronisation lost
    {SyncRow, QCPScatterStyle::ssDiamond, QColor(150, 0, 150)},  // reference changed
    {CommandRow, QCPScatterStyle::ssSquare, Blue},               // command done
    {CommandRow, QCPScatterStyle::ssSquare, Red},                // command failed
    {CommandRow, QCPScatterStyle::ssSquare, Grey},               // command without outcome
    {JournalRow, QCPScatterStyle::ssStar, QColor(200, 110, 0)},  // journal record
};

}  // namespace

QColor PlotLooks::bandColour(ChannelBand band)
{
    switch (band) {
    case ChannelBand::Reference:
        return QColor(0, 110, 0);
    case ChannelBand::InGroup:
        return Green;
    case ChannelBand::Backup1:
        return QColor(0, 140, 140);
    case ChannelBand::Backup2:
        return QColor(70, 175, 175);
    case ChannelBand::Backup3:
        return QColor(140, 210, 210);
    case ChannelBand::Qualifying:
        return Blue;
    case ChannelBand::NotInGroup:
        return Grey;
    case ChannelBand::NoSignal:
        return QColor(210, 210, 210);
    case ChannelBand::Error:
        return Red;
    case ChannelBand::Out:
        return QColor(185, 185, 160);
    case ChannelBand::Other:
        return QColor(230, 160, 0);
    case ChannelBand::Unknown:
        break;
    }
    return Qt::transparent;
}

QColor PlotLooks::linkColour(LinkState state)
{
    switch (state) {
    case LinkState::Synchronised:
        return Green;
    case LinkState::Estimation:
        return Blue;
    case LinkState::NotSynchronised:
        return Red;
    case LinkState::Connected:
        return QColor(150, 210, 150);
    case LinkState::ParameterLog:
        return QColor(210, 180, 140);
    case LinkState::NoConnection:
        break;
    }
    return QColor(100, 100, 100);
}

int PlotLooks::lookOf(const Marker &m)
{
    switch (m.kind) {
    case MarkerKind::Connected:
        return 0;
    case MarkerKind::ConnectionLost:
        return 1;
    case MarkerKind::HistoryGap:
        return 2;
    case MarkerKind::SyncRestored:
        return 3;
    case MarkerKind::SyncLost:
        return 4;
    case MarkerKind::ReferenceChanged:
        return 5;
    case MarkerKind::Command:
        return m.outcome == Outcome::Ok ? 6 : m.outcome == Outcome::Failed ? 7 : 8;
    case MarkerKind::JournalEvent:
        break;
    }
    return 9;
}

QColor PlotLooks::channelColour(int channel)
{
    return ChannelColours[qBound(1, channel, 4) - 1];
}

const MarkerLook &PlotLooks::markerLook(int look)
{
    return Looks[qBound(0, look, MarkerLookCount - 1)];
}
