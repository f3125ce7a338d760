#include "PortFailure.h"

QString PortFailure::message(const QString &port) const
{
    switch (cause) {
    case PermissionDenied:
        if (group.isEmpty())
            return tr("Cannot open %1: permission denied, and no group may both read and write it. "
                      "The administrator can give it to a group such as \"dialout\" with a udev "
                      "rule and put the user in that group.")
                .arg(port);
        // No operator should be put in the superuser's group for a port.
        if (group == QLatin1String("root"))
            return tr("Cannot open %1: permission denied. The port belongs to the group \"root\"; "
                      "the administrator can give it to a group such as \"dialout\" with a udev "
                      "rule and put the user in that group.")
                .arg(port);
        return tr("Cannot open %1: permission denied. The user must be in the group \"%2\" "
                  "that owns the port (sudo usermod -aG %2 $USER) and log in again.")
            .arg(port, group);
    case Busy:
        return tr("Cannot open %1: the port is busy, another program holds it.").arg(port);
    case NotPresent:
        return tr("Cannot open %1: there is no such port now.").arg(port);
    case Other:
        if (systemText.isEmpty())
            return tr("Cannot open %1.").arg(port);
        return tr("Cannot open %1: %2").arg(port, systemText);
    case None:
        break;
    }
    return QString();
}

QString PortFailure::shortText(Cause cause)
{
    switch (cause) {
    case PermissionDenied:
        return tr("permission denied");
    case Busy:
        return tr("busy");
    case NotPresent:
        return tr("not present");
    case Other:
        return tr("cannot be opened");
    case None:
        break;
    }
    return QString();
}
