#pragma once

#include "Configuration.h"
#include "CurrentReference.h"
#include "LogWriter.h"
#include "MonitorCore.h"
#include "ParameterLog.h"
#include "WriteWatch.h"
#include "status/StatusFields.h"
#include "link/LinkFeed.h"

#include <deque>
#include <memory>

class COMThread;
class HistoryHub;
class LinkClock;
class MetricsServer;
class PortFactory;
class QThread;
class QTimer;
class QTranslator;
class StatusPublisher;

// The program's work in this process: it reads "fconn583.ini" from the
// current folder, runs the link on its thread, writes the status file, the
// parameter log and the program log, records the history, serves the
// metrics, downloads the journal once a day at 01:00 UTC, and writes the
// configuration back when it is destroyed. All of it runs on the thread
// that made the core, except the link's loop.
class LocalCore : public MonitorCore
{
    Q_OBJECT

public:
    struct Options {
        // Nobody watches (the service): program log lines also go to standard
        // error, red lines also to the program log, and start() gives up on a
        // folder that cannot be written.
        bool unattended = false;
        // For tests: the link's port factory and clock, and the clock of the
        // core itself (log days, stamps, the 01:00 UTC check). Null: the
        // system's ports and clock.
        std::shared_ptr<PortFactory> ports;
        std::shared_ptr<LinkClock> linkClock;
        std::shared_ptr<LinkClock> clock;
    };

    explicit LocalCore(QObject *parent = nullptr);
    explicit LocalCore(Options options, QObject *parent = nullptr);
    ~LocalCore() override;

    Configuration configuration() const override { return m_config; }
    CoreState state() const override;
    void start() override;
    void close() override;
    void submitCommand(int code, const CommandParameters &params) override;
    void abortSmoothSteering() override;
    void searchAllPorts() override;
    void connectToPort(int index) override;
    void stopSearching() override;
    void setChannelNames(const QStringList &names) override;
    void setAnalyseAtStart(int value) override;
    void setLanguage(bool russian) override;
    void keepViewSettings(const ViewSettings &settings) override;
    QString historyDatabase() const override;
    void importParameterLogs(const QString &folder) override;

    // submitCommand() that returns the link's ticket, which commandDone() names.
    quint64 submitTracked(int code, const CommandParameters &params);
    // The block the last command was sent with: a client's command is laid over it.
    CommandParameters parameters() const { return m_lastParams; }
    // A line of the service's own for every view and the program log.
    void announce(const QString &text, const QString &colour);
    // The instrument answered within the last two poll intervals.
    bool hearsInstrument() const;
    // A line for the program log alone.
    void note(const QString &text);

    // After start(): false when a folder under Path_local cannot be written
    // and the core is unattended; the link then never started.
    bool started() const { return m_started; }

    // For tests.
    COMThread *link() const { return m_link; }
    QThread *linkThread() const { return m_linkThread; }
    HistoryHub *history() const { return m_history.get(); }
    StatusPublisher *statusPublisher() const { return m_publisher; }
    CurrentReference rememberedReference() const { return m_reference; }

public slots:
    void write_superviseInfo();
    void writeCurrentInfo_file();
    void loadHistoryEveryDay();

signals:
    // The daily download is due; the core queues it itself.
    void loadHistory();
    // Each submitted command as it has run (or was given up): its ticket.
    void commandDone(quint64 ticket, int code, bool ok);
    void pollAnswered(const PollReading &reading);
    void countersChanged(const LinkCounters &counters);

private:
    void connectLink();
    void installLanguage(bool russian);
    void checkAccounts();
    void startLink();
    void startMetrics();
    QTimer *makeTimer(const QString &name, void (LocalCore::*slot)());
    void stopLink();

    void onCmdState();
    void onDetect();
    void onLinkStatus(LinkStatus state);
    void onTitleItem(const QString &item);
    void followReference(const ADJ_CMD_STATE &cmd, const DETECT &detect);
    void followProgress(const QString &text);
    void setProgress(Progress progress);

    // A message line for the views; `logged` ones also go to the program log.
    void say(const QString &text, const QString &colour, bool logged);
    void logLine(const QString &text);
    void reportWrite(WriteWatch::Target target, const QString &path, bool ok);
    void showWatchLine(const WriteWatch::Line &line);
    QString logsDir() const;

    const bool m_unattended;
    std::shared_ptr<LinkClock> m_clock;
    Configuration m_config;
    QTranslator *m_translator = nullptr;
    LogWriter m_log;
    ParameterLog m_parameterLog;
    WriteWatch m_writeWatch;
    StatusFields m_fields;
    CurrentReference m_reference;

    QStringList m_channelNames;
    int m_analyseAtStart = 1;
    ViewSettings m_viewSettings;
    // Of the last command: the daily download takes its folder. Whoever submits
    // a block chooses it so; a window attached from elsewhere must not choose a
    // folder of the service's computer.
    CommandParameters m_lastParams;
    LinkStatus m_linkStatus = LinkStatus::NotConnected;
    QString m_titleItem;
    DeviceInfo m_device;
    Progress m_progress = Progress::None;
    std::deque<Message> m_recentLines;
    bool m_started = false;
    bool m_closed = false;

    QThread *m_linkThread = nullptr;
    COMThread *m_link = nullptr;
    std::unique_ptr<HistoryHub> m_history;
    StatusPublisher *m_publisher = nullptr;
    std::unique_ptr<MetricsServer> m_metrics;
    QTimer *m_supervisionTimer = nullptr;
    QTimer *m_parameterTimer = nullptr;
    QTimer *m_historyTimer = nullptr;
};
