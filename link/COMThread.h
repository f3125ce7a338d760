#pragma once

#include "CommandParameters.h"
#include "LinkRecords.h"
#include "PortInfo.h"

#include <QDateTime>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class DeviceCommands;
class DeviceExchange;
class JournalDownload;
class LinkClock;
class PortDiscovery;
class PortFactory;
class SerialPort;
class SmoothSteering;
class StatusPoller;
class StatusReader;

// The link to the instrument. Lives on its own thread and runs process(), a
// loop that never returns to the thread's event loop until stop(). It is the
// only code that touches the serial port.
//
// Thread rules:
//  - The connection flags are atomics; the port name is under m_nameLock.
//  - The command queue (codes with a copy of the parameter block) is under
//    m_queueLock, held for one append or one removal, and while the loop's
//    idle pause checks it; m_commandQueued wakes that pause.
//  - Records and results are Guarded: readers get whole copies.
//  - params() belongs to the GUI thread alone.
class COMThread : public QObject
{
    Q_OBJECT

public:
    explicit COMThread(QObject *parent = nullptr);
    // For tests: a port factory and a clock of their own.
    COMThread(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> clock,
              QObject *parent = nullptr);
    ~COMThread() override;

    // --- Called from the GUI thread ---------------------------------------
    void setPortName(const QString &name);
    QString portName() const;
    void setSearchAllPorts(bool all);
    void setDebugLevel(int level);
    void setMonitorInterval(int seconds);
    int monitorInterval() const { return m_monitorInterval; }

    void startAutomaticSearch();     // ConnectDialog::reconnect
    void connectToPort(int index);   // ConnectDialog::connectToSelPort
    void stopConnecting();           // AutoConnectForm::stopConnecting

    // Appends the code with a copy of params() to the command queue.
    void queueCommand(int code);
    // Appends the code with a copy of a block the caller owns. Returns the
    // ticket (counted from 1) that ticketFinished() names once it has run.
    quint64 queueCommand(int code, const CommandParameters &params);

    bool isConnected() const;

    // The link's own command parameter block (GUI thread only), for callers
    // that keep none of their own.
    CommandParameters &params() { return m_params; }
    // Copies what the link measured (AVE, limit, clock shift, 1PPS) into
    // params().
    void publishResults();

    // Whole copies of the records, safe from any thread.
    ADJ_CMD_STATE cmdState() const;
    DETECT detect() const;
    ADJ_STATE adjState() const;
    VAR_STRUCT varState() const;
    LinkResults results() const;
    LinkCounters counters() const;

    // The command's verb for programs that count commands, e.g.
    // "set_freq_offset" for COMMAND_SET_FREQ_OFFSET; empty outside 0..22.
    static QString commandVerb(int code);

    // The records themselves. The link thread writes them; tests of the
    // windows fill them before emitting the matching signal.
    LinkRecords &records() { return m_records; }

public slots:
    void process();
    void stop();              // direct call from the GUI thread
    void stopSmartControl();  // direct call from the GUI thread; applied at the next pass

signals:
    void cmdStateRcvd();
    void adjStateRcvd();
    void detectRcvd();
    void avarStateRcvd();
    void newTimeDifferenceIsReady();
    void currentOffset_1PPS_isReady();
    void aveStateRcvd();  // AVE values or permission read
    void setNumberOfJournalRec(int number);
    void setNumberOfReadyRec(int number);
    void debugInfo(const QString &text, const QString &colour);
    void windowInfo(const QString &text, const QString &colour);
    void setWinTitle(const QString &item);
    void updPorts(const QStringList &items, int index);
    // Just before each updPorts(): what is known of each listed port.
    void portsDescribed(const QList<PortInfo> &ports);
    void noConnection();
    void com_status(int total, int done);
    void connected();
    void finished();
    void setDeviceInfo(const QString &softwareVersNumber, const QString &softwareVersDate,
                       const QString &serialNumber, const QString &comparatorVers,
                       const QString &outherComparatorVers, const QString &PLIS_CPUvers,
                       const QString &OSFvers);
    void updateCurrentFreqLimit();

    // The feed for subscribers that keep their own account (whole copies).
    void pollAnswered(const PollReading &reading);
    void countersChanged(const LinkCounters &counters);  // after each poll and connection
    void commandFinished(int code, bool ok);             // each queued code 0..22 that ran
    // Each queued command as it leaves the queue, whether it ran or not.
    void ticketFinished(quint64 ticket, int code, bool ok);
    void journalRead(const JournalReading &reading);
    void searchStarted();  // once as the link starts looking for the instrument
    // The instrument answered something (a poll, a command, a journal record):
    // the first answer of each second, with its UTC time. Long exchanges that
    // hold up the polls still show that the instrument is there.
    void answered(const QDateTime &utc);
    void connectedTo(const QString &port, const QString &identification);  // with setWinTitle()

private:
    struct QueuedCommand {
        int code;
        CommandParameters params;
        quint64 ticket;
    };

    // One pass of the loop and its parts (link thread).
    void runPass();
    void attemptConnection();
    void connectedPass();
    void tick(const QDateTime &now);
    bool takeCommand(QueuedCommand &command);
    // The connected loop's idle pause, ended early by a queued command.
    void pause();
    void execute(const QueuedCommand &command);
    bool runHandler(const QueuedCommand &command);
    void publishCounters();
    void noteAnswer();
    // Stores the port a search found, unless the GUI chose another meanwhile.
    void adoptPortName(const QString &searched, const QString &found);

    friend class COMThreadTest;

    std::shared_ptr<PortFactory> m_ports;
    std::shared_ptr<LinkClock> m_clock;

    // connection state, written by the GUI thread, read once per pass
    mutable std::mutex m_nameLock;
    QString m_portName = QStringLiteral("COM1");
    std::atomic<bool> m_searchAll{false};
    std::atomic<bool> m_connectNeeded{true};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_running{false};
    std::atomic<int> m_debugLevel{0};
    std::atomic<int> m_monitorInterval{10};
    std::atomic<bool> m_abortSteering{false};

    mutable std::mutex m_queueLock;
    std::condition_variable m_commandQueued;
    QQueue<QueuedCommand> m_queue;
    quint64 m_lastTicket = 0;  // under m_queueLock

    CommandParameters m_params;  // GUI thread only
    quint64 m_aveEnabledReadingsPublished = 0;  // GUI thread only
    LinkRecords m_records;

    // Set by stop() even before process() runs, so an early stop is not lost.
    std::atomic<bool> m_stopRequested{false};
    // Set last thing by process(). Owners delete the link only after its
    // thread has ended (QThread::wait); the destructor reads this flag so that
    // order is visible to ThreadSanitizer, which cannot see Qt's own locks.
    std::atomic<bool> m_loopEnded{false};

    // Link thread only. The helpers are children of this object and use
    // m_io, which carries the port that process() creates.
    std::unique_ptr<DeviceExchange> m_io;
    std::unique_ptr<SerialPort> m_port;
    StatusReader *m_reader = nullptr;
    StatusPoller *m_poller = nullptr;
    PortDiscovery *m_discovery = nullptr;
    DeviceCommands *m_commands = nullptr;
    JournalDownload *m_journal = nullptr;
    SmoothSteering *m_steering = nullptr;
    bool m_wasConnected = true;  // so that a failed first attempt is reported
    bool m_searching = false;    // searchStarted() was emitted for this search
    quint64 m_connections = 0;
    QDateTime m_lastTick;
    qint64 m_lastPollMs = 0;  // monotonic
    qint64 m_lastAnswerSecond = -1;
};
