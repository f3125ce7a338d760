#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// ksr583-sim as a child process: a simulated instrument on a real
// pseudo-terminal, reached through a symbolic link. POSIX only.
class SimProcess
{
public:
    // The simulator to run: $KSR_SIM, else the one built with this tree.
    static QString program();
    // Whether this machine can give out pseudo-terminals at all.
    static bool ptysAvailable();

    SimProcess() = default;
    ~SimProcess();

    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts the simulator with a link at `link` and the extra options, and
    // waits until it names its terminal. False with the reason in error().
    bool start(const QString &link, const QStringList &options = QStringList());
    // SIGTERM: the simulator removes its link and ends.
    void terminate();

    bool isRunning() const;
    qint64 pid() const;
    QString terminal() const { return m_terminal; }
    QString error() const { return m_error; }

private:
    void waitForEnd();

    std::unique_ptr<QProcess> m_process;
    QString m_terminal;
    QString m_error;
};
