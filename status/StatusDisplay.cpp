#include "StatusDisplay.h"

StatusDisplay::Overall StatusDisplay::overall(const ADJ_CMD_STATE &cmd, bool deviceConnected)
{
    // The last record of an instrument that is gone says nothing about now.
    if (!deviceConnected)
        return Overall::NoConnection;
    if (cmd.syncStatus == 1)
        return cmd.estimationTimeLeft != 0 ? Overall::Estimation : Overall::Synchronised;
    return Overall::NotSynchronised;
}

QString StatusDisplay::overallText(Overall state, const ADJ_CMD_STATE &cmd)
{
    switch (state) {
    case Overall::Estimation:
        return tr("Initial signal estimation, ") + QString::number(cmd.estimationTimeLeft / 100)
            + tr(" s");
    case Overall::Synchronised:
        return tr("Synchronization OK");
    case Overall::NotSynchronised:
        return tr("No synchronization!");
    case Overall::NoConnection:
        break;
    }
    return noConnectionText();
}

FieldStyle StatusDisplay::overallStyle(Overall state)
{
    switch (state) {
    case Overall::Estimation:
        return FieldStyle::Blue;
    case Overall::Synchronised:
        return FieldStyle::Green;
    case Overall::NotSynchronised:
        return FieldStyle::Red;
    case Overall::NoConnection:
        break;
    }
    return FieldStyle::Grey;
}

StatusDisplay::ChannelLook StatusDisplay::channelLook(int code, quint16 qualTimeLeft, bool error,
                                                      const QString &shownStatus)
{
    ChannelLook look;
    look.changes = true;
    look.statusStyle = FieldStyle::Green;
    look.valueStyle = TextStyle::Black;
    const QString errorOrDash = error ? QStringLiteral("E") : QStringLiteral("-");
    switch (code) {
    case ChannelState::Backup3:
        look.statusText = tr("BACKUP 3");
        break;
    case ChannelState::Backup2:
        look.statusText = tr("BACKUP 2");
        break;
    case ChannelState::Backup1:
        look.statusText = tr("BACKUP 1");
        break;
    case ChannelState::InGroup:
        look.statusText = QStringLiteral("+");
        break;
    case ChannelState::Qualifying:
        look.statusText = secondsText(qualTimeLeft);
        look.statusStyle = FieldStyle::Blue;
        break;
    case ChannelState::NotInGroup:
        look.statusText = errorOrDash;
        look.statusStyle = FieldStyle::Grey;
        look.valueStyle = TextStyle::Grey;
        break;
    case ChannelState::NotDetected:
        look.statusText = shownStatus == QLatin1String("-") ? shownStatus : errorOrDash;
        look.statusStyle = FieldStyle::Grey;
        look.valueStyle = TextStyle::Grey;
        look.greyName = true;
        break;
    default:
        return ChannelLook();
    }
    return look;
}

QString StatusDisplay::secondsText(quint16 hundredths)
{
    return QString::number(hundredths / 100) + tr(" s");
}

QString StatusDisplay::modeText(bool switching)
{
    return switching ? tr("SWITCHING mode") : tr("AVERAGING mode");
}

QString StatusDisplay::noConnectionText()
{
    return tr("No connection");
}

QString StatusDisplay::noServiceText()
{
    return tr("No connection to the service");
}

QString StatusDisplay::number(float value, int digits)
{
    return QString::number(double(value), 'g', digits);
}
