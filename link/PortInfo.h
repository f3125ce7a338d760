#pragma once

#include "PortFailure.h"

#include <QList>
#include <QMetaType>
#include <QString>

// What the system and the link know of one serial port. Travels to the
// connection dialog as a whole copy beside the port list.
struct PortInfo {
    QString name;          // as the system lists it: "/dev/ttyUSB0", "COM3"
    QString description;   // "FT232R USB UART"
    QString manufacturer;  // "FTDI"
    QString serialNumber;
    QString usbId;         // vendor:product, "0403:6001"; empty for other ports
    QString stableName;    // survives a replug: "/dev/serial/by-id/usb-FTDI_..."
    PortFailure::Cause failure = PortFailure::None;  // why it last refused to open

    // The name to keep in the configuration: the stable one where there is one.
    QString lastingName() const { return stableName.isEmpty() ? name : stableName; }
};

Q_DECLARE_METATYPE(PortInfo)
Q_DECLARE_METATYPE(QList<PortInfo>)
