#include "SerialPort.h"

QList<PortInfo> PortFactory::describePorts(const QStringList &names)
{
    QList<PortInfo> ports;
    for (const QString &name : names) {
        PortInfo info;
        info.name = name;
        ports.append(info);
    }
    return ports;
}
