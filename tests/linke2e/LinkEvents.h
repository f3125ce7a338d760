#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class COMThread;

// What the link reports, as the GUI thread receives it (queued), with the
// time of arrival. Lives in the thread that creates it.
class LinkEvents : public QObject
{
    Q_OBJECT

public:
    struct Event {
        QString name;
        QStringList args;
        qint64 atMs;  // since this recorder was made
    };

    explicit LinkEvents(COMThread &link, QObject *parent = nullptr);

    QList<Event> events(const QString &name) const;
    int count(const QString &name) const { return events(name).size(); }
    // "colour: text" of every debugInfo and windowInfo line, in order.
    QStringList lines() const;
    // The index in events of the first event of that name, -1 when none.
    int indexOf(const QString &name) const;
    const QList<Event> &all() const { return m_events; }

private:
    void record(const QString &name, const QStringList &args = QStringList());

    QElapsedTimer m_clock;
    QList<Event> m_events;
};
