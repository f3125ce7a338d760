#include "StatusFields.h"

StatusFields::StatusFields() : m_overall{StatusDisplay::noConnectionText(), FieldStyle::Grey} {}

void StatusFields::instrumentFound()
{
    m_connected = true;
}

void StatusFields::instrumentLost()
{
    m_connected = false;
    greyAll();
}

void StatusFields::serviceLost()
{
    m_serviceLost = true;
    instrumentLost();
    // Numbers the service can no longer vouch for; its next records paint them again.
    for (Channel &c : m_channels)
        c.values = TextStyle::Grey;
    m_outputTexts = TextStyle::Grey;
}

void StatusFields::serviceFound()
{
    m_serviceLost = false;
    m_outputTexts = TextStyle::Black;
    if (!m_connected)
        greyAll();
}

void StatusFields::showDetect(const DETECT &detect)
{
    for (int i = 0; i < 4; ++i) {
        Channel &c = m_channels[i];
        if (detect.detected(i)) {
            c.name = FieldStyle::Green;
        } else {
            c.name = FieldStyle::Grey;
            c.values = TextStyle::Grey;
        }
        c.error = detect.signalError(i);
    }
}

void StatusFields::showCmdState(const ADJ_CMD_STATE &cmd, const DETECT &detect)
{
    m_lastCmd = cmd;
    m_lastDetect = detect;
    const StatusDisplay::Overall state = StatusDisplay::overall(cmd, m_connected);
    m_overall = {StatusDisplay::overallText(state, cmd), StatusDisplay::overallStyle(state)};
    for (int i = 0; i < 4; ++i) {
        Channel &c = m_channels[i];
        const StatusDisplay::ChannelLook look = StatusDisplay::channelLook(
            ChannelState::of(detect, cmd, i + 1), cmd.qualTimeLeft[i], c.error, c.status.text);
        if (!look.changes)
            continue;
        c.status = {look.statusText, look.statusStyle};
        c.values = look.valueStyle;
        if (look.greyName)
            c.name = FieldStyle::Grey;
    }
    // A redraw without an instrument (a language switch) keeps its look.
    if (state == StatusDisplay::Overall::NoConnection)
        greyAll();
    m_mode = StatusDisplay::modeText(cmd.switchingMode());
}

void StatusFields::redraw()
{
    showCmdState(m_lastCmd, m_lastDetect);
}

void StatusFields::greyAll()
{
    for (Channel &c : m_channels) {
        c.status.style = FieldStyle::Grey;
        c.name = FieldStyle::Grey;
    }
    m_overall = {m_serviceLost ? StatusDisplay::noServiceText() : StatusDisplay::noConnectionText(), FieldStyle::Grey};
}
