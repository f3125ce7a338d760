#include "LinkEvents.h"

#include "link/COMThread.h"

LinkEvents::LinkEvents(COMThread &link, QObject *parent) : QObject(parent)
{
    m_clock.start();
    connect(&link, &COMThread::connected, this, [this] { record("connected"); });
    connect(&link, &COMThread::noConnection, this, [this] { record("noConnection"); });
    connect(&link, &COMThread::detectRcvd, this, [this] { record("detectRcvd"); });
    connect(&link, &COMThread::setWinTitle, this, [this](const QString &item) { record("setWinTitle", {item}); });
    connect(&link, &COMThread::com_status, this, [this](int total, int done) {
        record("com_status", {QString::number(total), QString::number(done)});
    });
    connect(&link, &COMThread::updPorts, this, [this](const QStringList &items, int index) {
        record("updPorts", QStringList{QString::number(index)} + items);
    });
    const auto line = [this](const QString &text, const QString &colour) {
        record("line", {colour + QStringLiteral(": ") + text});
    };
    connect(&link, &COMThread::debugInfo, this, line);
    connect(&link, &COMThread::windowInfo, this, line);
    connect(&link, &COMThread::setDeviceInfo, this,
            [this](const QString &number, const QString &date, const QString &serial) {
                record("setDeviceInfo", {number, date, serial});
            });
}

void LinkEvents::record(const QString &name, const QStringList &args)
{
    m_events.append({name, args, m_clock.elapsed()});
}

QList<LinkEvents::Event> LinkEvents::events(const QString &name) const
{
    QList<Event> out;
    for (const Event &e : m_events) {
        if (e.name == name)
            out.append(e);
    }
    return out;
}

QStringList LinkEvents::lines() const
{
    QStringList out;
    for (const Event &e : m_events) {
        if (e.name == QLatin1String("line"))
            out.append(e.args.value(0));
    }
    return out;
}

int LinkEvents::indexOf(const QString &name) const
{
    for (int i = 0; i < m_events.size(); ++i) {
        if (m_events.at(i).name == name)
            return i;
    }
    return -1;
}
