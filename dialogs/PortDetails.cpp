#include "PortDetails.h"

#include <QStringList>

QString PortDetails::summary(const PortInfo &port)
{
    QStringList parts;
    for (const QString &text : {port.description, port.manufacturer}) {
        if (!text.isEmpty())
            parts << text;
    }
    if (!port.serialNumber.isEmpty())
        parts << tr("serial number %1").arg(port.serialNumber);
    if (!port.usbId.isEmpty())
        parts << tr("USB %1").arg(port.usbId);
    return parts.join(QStringLiteral(", "));
}

QString PortDetails::html(const PortInfo &port)
{
    QString text = QStringLiteral("<b>") + port.name.toHtmlEscaped() + QStringLiteral("</b>");
    if (port.failure != PortFailure::None)
        text += QStringLiteral(": <span style=\"color:red;\">")
            + PortFailure::shortText(port.failure).toHtmlEscaped() + QStringLiteral("</span>");
    const QString known = summary(port);
    text += QStringLiteral("<br>")
        + (known.isEmpty() ? tr("The system tells nothing more of this port.") : known.toHtmlEscaped());
    if (!port.stableName.isEmpty())
        text += QStringLiteral("<br>") + tr("Stable name: %1").arg(port.stableName.toHtmlEscaped());
    return text;
}
