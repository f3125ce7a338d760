#pragma once

#include "protocol/ViewValues.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

// What --status prints of a service's snapshot: the texts of the main
// window's status fields, as text for a person or JSON for a script.
class StatusReport
{
    Q_DECLARE_TR_FUNCTIONS(StatusReport)

public:
    enum Exit { Answering = 0, InstrumentSilent = 1, NoService = 2 };

    // Answering only while the service's link is connected and the instrument
    // was heard from within two poll intervals.
    static Exit exitOf(const ServiceSnapshot &s);
    static QString text(const ServiceSnapshot &s);
    static QJsonObject json(const ServiceSnapshot &s);
};
