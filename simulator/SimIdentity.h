#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the instrument says about itself: the identification text (FN0) and
// the device information block (7N0).
struct SimIdentity {
    static constexpr int IdentificationSize = 16;
    static constexpr int VersionSize = 8;   // software version field
    static constexpr int DateSize = 11;     // software date field
    static constexpr int SerialSize = 8;    // serial number field
    static constexpr int InfoSize = 32;

    QString identification = QStringLiteral("KSR-583 #0042");
    QString softwareVersion = QStringLiteral("3.07");
    QString softwareDate = QStringLiteral("14.03.2019");
    QString serialNumber = QStringLiteral("0042");
    quint8 comparatorVersion = 5;
    quint8 otherComparatorVersion = 3;
    quint8 plisCpuVersion = 2;
    quint8 osfMajor = 1;
    quint8 osfMinor = 7;

    // The 16-byte identification field, Windows-1251, zero-padded.
    QByteArray identificationField() const;
    // The 32-byte device information block: three zero-padded texts, then the
    // five version bytes.
    QByteArray infoBlock() const;

    // Empty when the text fits its field; otherwise why it does not.
    static QString checkIdentification(const QString &text);
    static QString checkSerial(const QString &text);
};
