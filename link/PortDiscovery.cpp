#include "PortDiscovery.h"

#include "CommandTable.h"
#include "DeviceExchange.h"
#include "DeviceIdentity.h"
#include "Frame.h"
#include "SerialPort.h"

namespace {
const QString Black = QStringLiteral("black");
const QString Red = QStringLiteral("red");
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
    m_details.clear();
    m_items.clear();
    m_foundIndexes.clear();
}

void PortDiscovery::refreshPortNames(const QString &configured)
{
    m_names = m_ports.availablePorts();
    const bool unlisted = !configured.isEmpty() && !m_names.contains(configured);
    if (unlisted)
        m_names.append(configured);
    m_details = m_ports.describePorts(m_names);
    // Details that do not match the list one to one are worth nothing.
    if (m_details.size() != m_names.size())
        m_details = m_ports.PortFactory::describePorts(m_names);
    if (unlisted) {
        // The configured name is the stable name of a listed port: that port.
        for (int k = 0; k + 1 < m_names.size(); ++k) {
            if (m_details.at(k).stableName == configured) {
                m_names.removeLast();
                m_details.removeLast();
                break;
            }
        }
    }
    // A port gone from the list is reported afresh when it comes back.
    const QStringList told = m_told.keys() + m_failing.keys();
    for (const QString &name : told) {
        if (!m_names.contains(name))
            forgetFailures(name);
    }
}

void PortDiscovery::forgetFailures(const QString &name)
{
    m_failing.remove(name);
    m_told.remove(name);
}

int PortDiscovery::indexOfPort(const QString &name) const
{
    for (int k = 0; k < m_names.size(); ++k) {
        if (m_names.at(k) == name || (!name.isEmpty() && m_details.at(k).stableName == name))
            return k;
    }
    return -1;
}

void PortDiscovery::publish()
{
    QStringList lasting;
    for (PortInfo &port : m_details) {
        port.failure = m_failing.value(port.name, PortFailure::None);
        lasting.append(port.lastingName());
    }
    m_published.set(lasting);
    // A search stopped half way lists fewer items than ports.
    emit portsDescribed(m_details.mid(0, m_items.size()));
    emit updPorts(m_items, m_chosen);
}

bool PortDiscovery::openPort(const QString &name)
{
    SerialPort *port = m_io.port();
    port->close();
    port->setPortName(name);
    if (port->open()) {
        m_failing.remove(name);
        return true;
    }
    PortFailure failure = port->openFailure();
    if (failure.cause == PortFailure::None)
        failure.cause = PortFailure::Other;
    m_failing.insert(name, failure.cause);
    unsigned &told = m_told[name];
    const unsigned cause = 1u << failure.cause;
    if (!(told & cause)) {
        told |= cause;
        emit debugInfo(failure.message(name), Red);
    }
    return false;
}

QString PortDiscovery::identify(const QString &portName)
{
    SerialPort *port = m_io.port();
    if (!port || !openPort(portName))
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

    const int configured = indexOfPort(portName);
    m_chosen = m_foundIndexes.contains(configured) ? configured : m_foundIndexes.first();
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

    const int configured = indexOfPort(portName);
    int found = -1;
    QString text;
    if (configured >= 0) {
        text = identify(m_names.at(configured));
        if (!text.isEmpty())
            found = configured;
    }
    for (int k = 0; found < 0 && k < m_names.size() && searchGoesOn(); ++k) {
        if (k == configured)
            continue;  // just tried
        text = identify(m_names.at(k));
        if (!text.isEmpty())
            found = k;
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
    if (!m_running || !m_io.port())
        return false;
    portName = m_details.at(m_chosen).lastingName();
    if (!openPort(m_names.at(m_chosen)))
        return false;
    forgetFailures(m_names.at(m_chosen));
    m_connectedItem = m_items.at(m_chosen);
    emit windowInfo(tr("Connected to %1").arg(m_connectedItem), Black);
    emit setWinTitle(m_connectedItem);
    // The item is the port's name, a blank and the identification.
    const QString &name = m_names.at(m_chosen);
    emit connectedTo(name, m_connectedItem.mid(name.size() + 1));
    return true;
}
