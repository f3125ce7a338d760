#pragma once

#include "FakePort.h"
#include "SteppedClock.h"
#include "TracingPortFactory.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThread>

#include <memory>
#include <mutex>

class COMThread;

// Runs a COMThread on a real QThread against FakeLine ports in virtual time.
// The test lets time run in portions (runTo) and looks at what the link did
// while its loop is parked: every signal with its arguments and virtual time,
// every request on the line, every port opening and closing.
class LinkHarness : public QObject
{
    Q_OBJECT

public:
    struct Event {
        QString name;
        QStringList args;
        qint64 atMs;
    };

    LinkHarness();
    ~LinkHarness() override;

    SteppedClock &clock() { return *m_clock; }
    std::shared_ptr<SteppedClock> sharedClock() const { return m_clock; }
    FakeLine &line() { return *m_line; }
    COMThread &link() { return *m_link; }
    QStringList portTrace() const { return m_factory->trace(); }

    void start();
    // Lets the loop run until virtual time `ms` (since the start) and parks it.
    bool runTo(qint64 ms) { return m_clock->runTo(ms); }
    bool runFor(qint64 ms) { return m_clock->runTo(m_clock->monotonicMs() + ms); }
    // Stops the loop and waits for its thread to end.
    bool finish();

    QList<Event> events() const;
    QList<Event> events(const QString &name) const;
    int count(const QString &name) const { return events(name).size(); }
    // The first argument of each event of that name (the texts of message lines).
    QStringList texts(const QString &name) const;
    // Request codes written to the line, e.g. "FN0", "P10".
    QStringList codes() const { return m_line->codes(); }

private:
    void record(const QString &name, const QStringList &args = QStringList());
    void recordSignals();

    std::shared_ptr<SteppedClock> m_clock;
    std::shared_ptr<FakeLine> m_line;
    std::shared_ptr<TracingPortFactory> m_factory;
    COMThread *m_link;
    QThread m_thread;

    mutable std::mutex m_mutex;
    QList<Event> m_events;
};
