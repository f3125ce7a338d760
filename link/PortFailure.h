#pragma once

#include <QCoreApplication>
#include <QString>

// Why a port could not be opened, as the port found out, and how the
// operator is told.
class PortFailure
{
    Q_DECLARE_TR_FUNCTIONS(PortFailure)

public:
    enum Cause { None, PermissionDenied, Busy, NotPresent, Other };

    PortFailure() = default;
    explicit PortFailure(Cause cause, const QString &group = QString(),
                         const QString &systemText = QString())
        : cause(cause), group(group), systemText(systemText)
    {
    }

    Cause cause = None;
    QString group;       // PermissionDenied: the group that may read and write the device, if any
    QString systemText;  // Other: the system's own words

    // The line for the message log, with the remedy where there is one.
    QString message(const QString &port) const;
    // A few words to show beside the port in a list: "permission denied".
    static QString shortText(Cause cause);
};
