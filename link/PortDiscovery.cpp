#include "PortDiscovery.h"

#include "CommandTable.h"
#include "DeviceExchange.h"
#include "DeviceIdentity.h"
#include "Frame.h"
#include "SerialPort.h"

namespace {
const QString Black = QStringLiteral("black");
}

PortDiscovery::PortDiscovery(DeviceExchange &io, PortFactory &ports,
                             const std::atomic<bool> &running,
                             const std::atomic<bool> &connecting, QObject *parent)
    : QObject(parent), m_io(io), m_ports(ports), m_running(running), m_connecting(connecting)
{
}

void PortDiscovery::clear()
{
    m_names.clear();
    m_items.clear();
    m_foundIndexes.clear();
}

void PortDiscovery::refreshPortNames(const QString &configured)
{
    m_names = m_ports.availablePorts();
    if (!configured.isEmpty() && !m_names.contains(configured))
        m_names.append(configured);
}

void PortDiscovery::publish()
{
    m_published.set(m_names);
    emit updPorts(m_items, m_chosen);
}

QString PortDiscovery::identify(const QString &portName)
{
    SerialPort *port = m_io.port();
    if (!port)
        return QString();
    port->close();
    port->setPortName(portName);
    if (!port->open())
        return QString();
    QString text;
    if (m_io.send(Frame::request(Request::Identify)) > 0) {
        m_io.awaitBytes(DeviceIdentity::AnswerSize, CommandTable::IdentifyWaitMs);
        if (m_io.bytesAvailable() >= CommandTable::format(Request::Identify).minAnswer)
            text = DeviceIdentity::identificationText(m_io.readAll());
    }
    port->close();
    return DeviceIdentity::qualifies(text) ? text : QString();
}

bool PortDiscovery::automaticSearch(QString &portName)
{
    emit windowInfo(tr("Looking for devices..."), Black);
    m_foundIndexes.clear();
    m_items.clear();
    m_chosen = 0;
    refreshPortNames(portName);
    const int count = m_names.size();
    for (int k = 0; k < count && m_connecting; ++k) {
        if (!m_running)
            return false;
        const QString text = identify(m_names.at(k));
        if (!text.isEmpty())
            m_foundIndexes.append(k);
        m_items.append(DeviceIdentity::displayItem(m_names.at(k), text));
        emit com_status(count, k + 1);
    }
    publish();
    if (m_foundIndexes.isEmpty())
        return false;

    m_chosen = m_foundIndexes.first();
    for (int k : qAsConst(m_foundIndexes)) {
        if (m_names.at(k) == portName) {
            m_chosen = k;
            break;
        }
    }
    publish();
    // A search the user stopped must not connect after all.
    if (!m_connecting)
        return false;
    return openChosen(portName);
}

bool PortDiscovery::tryConfiguredPort(QString &portName)
{
    emit windowInfo(tr("Connecting to %1").arg(portName), Black);
    m_foundIndexes.clear();
    m_chosen = 0;
    refreshPortNames(portName);
    m_items = m_names;
    emit com_status(m_names.size(), 0);

    int found = -1;
    QString text = identify(portName);
    if (!text.isEmpty()) {
        found = m_names.indexOf(portName);
    } else {
        for (int k = 0; k < m_names.size() && searchGoesOn(); ++k) {
            if (m_names.at(k) == portName)
                continue;  // just tried
            text = identify(m_names.at(k));
            if (!text.isEmpty()) {
                found = k;
                break;
            }
        }
    }
    if (found >= 0) {
        m_chosen = found;
        m_items[found] = DeviceIdentity::displayItem(m_names.at(found), text);
        m_foundIndexes.append(found);
    }
    publish();
    return found >= 0 && searchGoesOn() && openChosen(portName);
}

bool PortDiscovery::openChosen(QString &portName)
{
    SerialPort *port = m_io.port();
    if (!m_running || !port)
        return false;
    portName = m_names.at(m_chosen);
    port->close();
    port->setPortName(portName);
    if (!port->open())
        return false;
    m_connectedItem = m_items.at(m_chosen);
    emit windowInfo(tr("Connected to %1").arg(m_connectedItem), Black);
    emit setWinTitle(m_connectedItem);
    return true;
}
