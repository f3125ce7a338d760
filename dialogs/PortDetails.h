#pragma once

#include "link/PortInfo.h"

#include <QCoreApplication>
#include <QString>

// How the connection dialog tells what is known of a port: a line beside it
// in the list, and a fuller text for the port chosen.
class PortDetails
{
    Q_DECLARE_TR_FUNCTIONS(PortDetails)

public:
    // "FT232R USB UART, FTDI, serial number A10K, USB 0403:6001", or empty.
    static QString summary(const PortInfo &port);
    // The name, why it refused to open, the summary and the stable name, as
    // rich text; whatever comes from the system is escaped.
    static QString html(const PortInfo &port);
};
