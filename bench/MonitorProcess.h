#pragma once

#include <QProcess>
#include <QString>

#include <memory>

// ksr583-monitor as a child process, started in a folder of its own whose
// fconn583.ini points it at one port, with no search at start: its window
// offscreen, or as a service with no display at all.
class MonitorProcess
{
public:
    enum class Mode { Window, Service };

    // The program to run: $KSR_MONITOR, else the one built with this tree.
    static QString program();

    MonitorProcess() = default;
    ~MonitorProcess();

    MonitorProcess(const MonitorProcess &) = delete;
    MonitorProcess &operator=(const MonitorProcess &) = delete;

    // Writes the configuration (0: leave MonitorInterval at its default; a
    // metrics port turns the endpoint on) and starts the program in `folder`.
    bool start(const QString &folder, const QString &port, int monitorInterval = 0, int metricsPort = 0,
               Mode mode = Mode::Window);
    void stop();

    qint64 pid() const;
    QString error() const { return m_error; }

private:
    std::unique_ptr<QProcess> m_process;
    QString m_error;
};
