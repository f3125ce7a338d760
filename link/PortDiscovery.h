#pragma once

#include "Guarded.h"
#include "PortInfo.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>

class DeviceExchange;
class PortFactory;

// Finds the port behind which the instrument answers, and builds the port
// list that the connection dialog shows. Runs on the link thread; only
// publishedPorts() may be called from another thread.
class PortDiscovery : public QObject
{
    Q_OBJECT

public:
    // `running` and `connecting` are the link's flags: the search stops
    // between two ports once either is cleared.
    PortDiscovery(DeviceExchange &io, PortFactory &ports, const std::atomic<bool> &running,
                  const std::atomic<bool> &connecting, QObject *parent = nullptr);

    // Both return true when the device's port is open. `portName` is the
    // configured port on entry; it becomes the port of the device found.
    bool automaticSearch(QString &portName);  // every port, the configured one preferred
    bool tryConfiguredPort(QString &portName);  // the configured port, then the others

    // The identification text of the device on `port`, or an empty text
    // when nothing there qualifies. Leaves the port closed.
    QString identify(const QString &port);

    // The lists live from one connection attempt to the next.
    void clear();

    // The port names behind the display items of the last updPorts(), so
    // that an index chosen in the dialog names the port it showed. A port's
    // stable name stands for it where it has one: that is the name worth
    // keeping.
    QStringList publishedPorts() const { return m_published.get(); }

    // The display item of the port opened last ("COM3 KSR-583 #0042").
    QString connectedItem() const { return m_connectedItem; }

signals:
    void windowInfo(const QString &text, const QString &colour);
    void debugInfo(const QString &text, const QString &colour);
    void com_status(int total, int done);
    // Comes just before each updPorts(), one entry per display item.
    void portsDescribed(const QList<PortInfo> &ports);
    void updPorts(const QStringList &items, int index);
    void setWinTitle(const QString &item);
    // With setWinTitle(): the port opened, whole (a name may hold blanks),
    // and the identification the instrument gave.
    void connectedTo(const QString &port, const QString &identification);

private:
    bool searchGoesOn() const { return m_running && m_connecting; }
    // The system's ports, and the configured one when the system does not
    // list it (a pseudo-terminal or a symbolic link) under either of its
    // names.
    void refreshPortNames(const QString &configured);
    // The index of the port listed under this name or having it as its
    // stable name; -1 for none.
    int indexOfPort(const QString &name) const;
    // Opens the exchange's port; says why not, once per port and cause.
    bool openPort(const QString &name);
    // Forgets the port's failures: it was connected to, or left the list.
    void forgetFailures(const QString &name);
    void publish();
    bool openChosen(QString &portName);

    DeviceExchange &m_io;
    PortFactory &m_ports;
    const std::atomic<bool> &m_running;
    const std::atomic<bool> &m_connecting;

    QStringList m_names;        // as listed; the display items begin with them
    QList<PortInfo> m_details;  // one per name
    QStringList m_items;
    QList<int> m_foundIndexes;
    int m_chosen = 0;
    QString m_connectedItem;
    Guarded<QStringList> m_published;
    // Why each port last refused to open, kept across attempts for the list.
    QHash<QString, PortFailure::Cause> m_failing;
    // The causes already told per port (bit 1 << cause). A probe that opens
    // the port in between forgets nothing: a port that another program holds
    // now and then, while it searches too, is told about once, not at every
    // search. Only a connection on the port, or the port leaving the list,
    // makes its next failure news again.
    QHash<QString, unsigned> m_told;
};
