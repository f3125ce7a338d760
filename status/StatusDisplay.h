#pragma once

#include "link/Records.h"

#include <QCoreApplication>
#include <QString>

// The look of a line edit (base and text colour) and of a label (text colour).
enum class FieldStyle { Green, Grey, Blue, Red };
enum class TextStyle { Black, Grey, White };

// What the main window shows for the device records: the overall state, each
// channel's status field and the number texts. Pure decisions, so they are
// checked without a window.
class StatusDisplay
{
    Q_DECLARE_TR_FUNCTIONS(StatusDisplay)

public:
    enum class Overall { NoConnection, Estimation, Synchronised, NotSynchronised };

    static Overall overall(const ADJ_CMD_STATE &cmd, bool deviceConnected);
    static QString overallText(Overall state, const ADJ_CMD_STATE &cmd);
    static FieldStyle overallStyle(Overall state);

    // How a channel state code changes the channel's fields. Codes without a
    // display rule (2, 4, 6..10, 14..16) leave everything as it is.
    struct ChannelLook {
        bool changes = false;
        QString statusText;
        FieldStyle statusStyle = FieldStyle::Grey;
        TextStyle valueStyle = TextStyle::Grey;  // offset and ADEV labels
        bool greyName = false;                   // not detected: name field grey too
    };
    static ChannelLook channelLook(int code, quint16 qualTimeLeft, bool error,
                                   const QString &shownStatus);

    // Whole seconds from hundredths: 1234 -> "12 s".
    static QString secondsText(quint16 hundredths);
    static QString modeText(bool switching);
    static QString noConnectionText();
    // An attached window whose service is gone.
    static QString noServiceText();
    // Shortest of fixed and exponent notation with `digits` significant digits.
    static QString number(float value, int digits);
};
