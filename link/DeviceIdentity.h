#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

// The seven texts of the device information (answer to 7N0).
struct DeviceInfo {
    QString softwareVersNumber;
    QString softwareVersDate;
    QString serialNumber;
    QString comparatorVers;
    QString outherComparatorVers;
    QString PLIS_CPUvers;
    QString OSFvers;
};

// Decoding of the identification (FN0) and device information (7N0) answers.
// Pure functions; nothing here touches a port.
class DeviceIdentity
{
public:
    // The identification text sits in answer bytes 8..23.
    static constexpr int TextOffset = 8;
    static constexpr int TextSize = 16;
    static constexpr int AnswerSize = TextOffset + TextSize;

    // The text in Windows-1251, cut at its first zero byte: the device
    // zero-pads the field, and the text ends up in window titles and file
    // names. Missing bytes of a short answer count as zeros.
    static QString identificationText(const QByteArray &answer);

    // Only a KSR-583 names its model number; other instruments on the same
    // kind of link never qualify.
    static bool qualifies(const QString &text);

    // "COM3" or "COM3 KSR-583 #0042".
    static QString displayItem(const QString &port, const QString &text);

    static DeviceInfo deviceInfo(const QByteArray &answer);
};

Q_DECLARE_METATYPE(DeviceInfo)
