#pragma once

#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>

class MainWindow;
class QTimer;

// Writes down, as they happen, what the running program tells its operator:
// every message line of the link, each connection gained or lost, each
// journal size, and every command code the control window queues with the
// values it carries. One line per event, written through at once, so that a
// crash leaves everything up to it on disk. It also touches a heartbeat file
// every second from the GUI thread: a stale heartbeat means a hung window.
class SoakRecorder : public QObject
{
    Q_OBJECT

public:
    SoakRecorder(MainWindow &window, const QString &eventsPath, const QString &heartbeatPath,
                 QObject *parent = nullptr);

    // An event of the driver's own (operator actions, start, close).
    void note(const QString &kind, const QStringList &fields = QStringList());

private:
    void commandQueued(int code);
    void beat();

    MainWindow &m_window;
    QFile m_events;
    QString m_heartbeatPath;
    QTimer *m_heartbeat;
};
