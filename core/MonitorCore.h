#pragma once

#include "Configuration.h"
#include "CoreValues.h"

#include "history/HistoryLoader.h"

#include <QFileInfo>

#include <QObject>

#include <functional>

// What a view sees of the program's work: the instrument's records, the link
// state, message lines, the progress of downloads and steering, and a way to
// send commands. LocalCore does the work in this process; a view attached to
// a service would be given one that speaks to it over a connection. Every
// value crosses as a whole copy (CoreValues.h), and nothing here needs a
// widget or the caller's thread to be any other than the core's own.
class MonitorCore : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // --- read once, as a view begins to follow the core ------------------
    // The settings a view applies to itself (language, window places, the
    // "Control" button, the login's accounts file and limits).
    virtual Configuration configuration() const = 0;
    virtual CoreState state() const = 0;

    // --- lifetime ---------------------------------------------------------
    // Starts the work; a view connects to the signals first.
    virtual void start() = 0;
    // The orderly end: the link stops, queued work finishes, "Program is
    // closed." goes to the program log. The configuration is written back
    // when the core is destroyed.
    virtual void close() = 0;

    // --- commands ---------------------------------------------------------
    // A command code 0..22 with the parameter block it reads.
    virtual void submitCommand(int code, const CommandParameters &params) = 0;
    virtual void abortSmoothSteering() = 0;
    virtual void searchAllPorts() = 0;
    virtual void connectToPort(int index) = 0;  // of the last portsListed()
    virtual void stopSearching() = 0;

    // --- kept in the configuration at exit --------------------------------
    virtual void setChannelNames(const QStringList &names) = 0;
    virtual void setAnalyseAtStart(int value) = 0;
    // Installs the language's texts for everything the core says from now on.
    virtual void setLanguage(bool russian) = 0;
    virtual void keepViewSettings(const ViewSettings &settings) = 0;
    // Where the windows keep what is only theirs (the History window's place).
    virtual QString viewSettingsFile() const { return Configuration::fileName(); }

    // --- a core at the far end of a connection -----------------------------
    // A core at the far end of a connection to a service.
    virtual bool isRemote() const { return false; }
    // The computer whose service this core shows, once it has said so; empty
    // for the work in this process.
    virtual QString serviceName() const { return QString(); }
    // Asked when a command needs an operator login the service decides on
    // (`again`: the command asks for the password once more). False: the
    // operator gave none.
    using LoginPrompt = std::function<bool(bool again, QString *login, QString *password)>;
    virtual void setLoginPrompt(LoginPrompt prompt) { Q_UNUSED(prompt) }

    // --- history ----------------------------------------------------------
    // Empty when the history cannot be read here (a service elsewhere).
    virtual QString historyDatabase() const = 0;
    // A new source of the History window's answers, for it to keep: the
    // history file read on a worker, or a service asked over its connection.
    virtual HistorySource *newHistorySource() { return new HistoryLoader(historyDatabase()); }
    // Where the History window suggests exports.
    virtual QString historyExportFolder() const { return QFileInfo(historyDatabase()).absolutePath(); }
    virtual void importParameterLogs(const QString &folder) = 0;

signals:
    void detectRead(const DETECT &detect);
    // With the detection the channel states are derived against.
    void cmdStateRead(const ADJ_CMD_STATE &cmd, const DETECT &detect);
    void adjStateRead(const ADJ_STATE &adj);
    void varStateRead(const VAR_STRUCT &var);
    void resultsRead(ResultKind kind, const LinkResults &results);
    void linkStatusChanged(LinkStatus state);  // at every report of the link, changed or not
    void titleItemChanged(const QString &item);
    void deviceInfoRead(const DeviceInfo &info);
    void message(const Message &line);
    void progressChanged(Progress progress);
    void smoothSteeringFinished();
    void journalSize(int records);         // 0: empty; the download then ends
    void journalRecordsRead(int records);  // 0: the download failed
    void portsListed(const QStringList &items, int index);
    void portsDescribed(const QList<PortInfo> &ports);  // just before each portsListed()
    void searchProgress(int total, int done);
    void channelNamesChanged(const QStringList &names);
    // After every change of what other programs are told (the tray follows it).
    void statusPublished(const StatusSnapshot &before, const StatusSnapshot &after);
    void historyChanged();
    // A core at the far end of a connection: the service is reached again
    // (a fresh state follows) or lost (the last state stays, greyed).
    void serviceReachable(bool reachable);
};
