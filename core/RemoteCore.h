#pragma once

#include "MonitorCore.h"
#include "remote/ServiceAddress.h"
#include "remote/ServiceConnection.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class CertificatePins;
class QTranslator;

// The program's work as a service elsewhere does it, shown through a
// connection: the service's snapshot and live messages become the same
// signals LocalCore emits, so the windows show the same texts and colours.
// Commands go to the service with the operator's login, asked for once per
// session; the service checks them and says who sent them. The channel names
// are the service's and change only there. The window's own places and
// language are kept in an INI file of the window's, never in the service's
// configuration.
class RemoteCore : public MonitorCore
{
    Q_OBJECT

public:
    // `iniFile`: the window's own settings.
    RemoteCore(const ServiceAddress &address, const QString &iniFile, QObject *parent = nullptr);
    ~RemoteCore() override;

    static QString defaultIniFile();
    static QString defaultPinsFile();

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
    QString viewSettingsFile() const override { return m_iniFile; }
    QString historyDatabase() const override;
    HistorySource *newHistorySource() override;
    QString historyExportFolder() const override;
    void importParameterLogs(const QString &folder) override;
    bool isRemote() const override { return true; }
    QString serviceName() const override { return m_serviceName; }
    void setLoginPrompt(LoginPrompt prompt) override { m_prompt = std::move(prompt); }

    // The certificates accepted are pinned in `pinsFile`; `hook` asks the
    // operator about a new self-signed one.
    void setCertificateCheck(const QString &pinsFile, ServiceConnection::CertificateHook hook);
    ServiceConnection &connection() { return m_connection; }
    bool attached() const { return m_attached; }

private:
    void onSnapshot(const ServiceSnapshot &s);
    void onRecord(const PollReading &reading);
    void onLink(const LinkView &link);
    void onProgress(const WorkProgress &progress);
    void onState(ServiceConnection::State state);
    void showServiceNames(const QStringList &names);
    // What the tray is told of a change, from the records as they come.
    void changeStatus(const std::function<void(StatusSnapshot &)> &edit);
    void onLogin(const ServiceMessages::LoginReply &reply);
    void onCommandAnswer(qint64 id, int code, const QString &outcome, const QString &reason);
    // Sends with the login it is given.
    using Send = std::function<void(const QString &login, const QString &password)>;
    // Runs `send` once the session has a granted login, asking for one first.
    void withLogin(bool again, Send send);
    void showLine(const ServiceLine &line);
    void say(const QString &text, const QString &colour);
    void installLanguage(bool russian);

    ServiceAddress m_address;
    QString m_iniFile;
    Configuration m_config;
    ViewSettings m_viewSettings;
    QStringList m_channelNames;
    QTranslator *m_translator = nullptr;
    std::unique_ptr<CertificatePins> m_pins;
    ServiceConnection m_connection;
    LoginPrompt m_prompt;

    bool m_attached = false;
    bool m_saidLost = false;  // since the last snapshot
    QString m_serviceName;
    QString m_historyPath;
    LinkStatus m_link = LinkStatus::NotConnected;
    QString m_titleItem;
    DeviceInfo m_device;
    Progress m_progress = Progress::None;
    WorkProgress m_work;
    QString m_journalFolder;
    LinkResults m_results;
    DETECT m_detect;
    StatusSnapshot m_status;  // as the service's own tray would have it
    std::deque<Message> m_recentLines;

    // The session's login: kept, and given again after a reattach.
    QString m_login;
    QString m_password;
    bool m_loggedIn = false;
    bool m_loginAsked = false;
    QList<Send> m_waiting;  // commands waiting for the login's answer
};
