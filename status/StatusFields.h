#pragma once

#include "StatusDisplay.h"

#include <QString>

#include <optional>

// What the main window's status fields show, kept without widgets. The
// window paints it, and the parameter log writes its texts, so the log says
// what the window said: a channel state without a display rule keeps the
// text it had, a lost instrument greys the fields but leaves their words.
class StatusFields
{
public:
    struct Field {
        QString text;
        FieldStyle style = FieldStyle::Grey;
    };
    struct Channel {
        Field status{QStringLiteral("-"), FieldStyle::Grey};
        FieldStyle name = FieldStyle::Grey;
        std::optional<TextStyle> values;  // offset and ADEV labels: none until a record says
        bool error = false;               // the DETECT word's error byte
    };

    StatusFields();

    void instrumentFound();
    void instrumentLost();
    // The service an attached window shows is gone: greyed, and said so,
    // until the service is reached again.
    void serviceLost();
    void serviceFound();
    void showDetect(const DETECT &detect);
    void showCmdState(const ADJ_CMD_STATE &cmd, const DETECT &detect);
    // The last command state again, in the language installed now.
    void redraw();

    const Field &overall() const { return m_overall; }
    const Channel &channel(int index) const { return m_channels[index]; }  // 0..3
    // Empty until the first command state is shown.
    const QString &mode() const { return m_mode; }
    // The output's offset and trend, the mode and the progress below it:
    // none until the service an attached window shows is lost; grey then,
    // until it is found again.
    const std::optional<TextStyle> &outputTexts() const { return m_outputTexts; }

private:
    void greyAll();

    Field m_overall;
    Channel m_channels[4];
    QString m_mode;
    std::optional<TextStyle> m_outputTexts;
    bool m_connected = false;
    bool m_serviceLost = false;
    ADJ_CMD_STATE m_lastCmd;
    DETECT m_lastDetect;
};
