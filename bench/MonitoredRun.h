#pragma once

#include "MonitorProcess.h"
#include "SimProcess.h"

#include <QString>
#include <QTemporaryDir>

// ksr583-monitor connected to ksr583-sim over a pseudo-terminal: the
// simulator with a request trace, the program in a fresh folder.
class MonitoredRun
{
public:
    // Starts both and waits for the program's first poll; false with the
    // reason in error(). A metrics port turns the program's endpoint on.
    bool start(const QString &name, const QStringList &simOptions, int monitorInterval, int metricsPort = 0,
               MonitorProcess::Mode mode = MonitorProcess::Mode::Window);
    qint64 pid() const { return m_monitor.pid(); }
    QString error() const { return m_error; }
    // Polls the program has sent so far.
    int polls() const;

private:
    QTemporaryDir m_dir;
    SimProcess m_sim;
    MonitorProcess m_monitor;
    QString m_trace;
    QString m_error;
};
