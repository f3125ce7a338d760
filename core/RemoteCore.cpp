#include "RemoteCore.h"

#include "ProgramLanguage.h"
#include "access/AccessPolicy.h"
#include "remote/CertificatePins.h"
#include "remote/RemoteHistory.h"

#include "ProgramVersion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHostInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace {

const QString Black = QStringLiteral("black");
const QString Red = QStringLiteral("red");
// Commands given while the login is being answered; more are refused.
constexpr int MaxWaiting = 16;

LinkStatus linkOf(const LinkView &link)
{
    return link.phase == LinkView::Connected ? LinkStatus::Connected : LinkStatus::NotConnected;
}

Progress progressOf(const WorkProgress &work)
{
    return work.steering == WorkProgress::SmoothSteering    ? Progress::SmoothSteering
           : work.steering == WorkProgress::PhaseCorrection ? Progress::PhaseCorrection
                                                            : Progress::None;
}

ResultKind kindOf(ServiceMessages::ResultsEvent event)
{
    switch (event) {
    case ServiceMessages::ResultsEvent::TimeDifference:
        return ResultKind::TimeDifference;
    case ServiceMessages::ResultsEvent::PpsDelay:
        return ResultKind::PpsOffset;
    case ServiceMessages::ResultsEvent::FreqLimit:
        return ResultKind::FrequencyLimit;
    case ServiceMessages::ResultsEvent::Ave:
        break;
    }
    return ResultKind::Ave;
}

bool sameLine(const Message &m, const ServiceLine &l)
{
    return m.time == l.time && m.text == l.text && m.colour == l.colour;
}

}  // namespace

RemoteCore::RemoteCore(const ServiceAddress &address, const QString &iniFile, QObject *parent)
    : MonitorCore(parent),
      m_address(address),
      m_iniFile(iniFile),
      m_config(Configuration::read(iniFile)),
      m_connection(QStringLiteral("ksr583-monitor " KSR_PROGRAM_VERSION " on ") + QHostInfo::localHostName())
{
    // Only the window's own settings apply: the service has the port, the
    // files and the accounts, and searches for the instrument itself.
    m_config.passwordsFile.clear();
    m_config.analyseAtStart = 0;
    m_config.controlAvailable = 1;
    m_config.metricsPort = 0;
    m_config.supervisInfoFile = false;
    m_channelNames = m_config.channelNames;
    m_viewSettings = {m_config.mainWindowPos, m_config.controlWindowPos, QString()};
    m_translator = new QTranslator(this);
    installLanguage(m_config.russian);

    ServiceConnection *c = &m_connection;
    connect(c, &ServiceConnection::snapshotReceived, this, &RemoteCore::onSnapshot);
    connect(c, &ServiceConnection::recordReceived, this, &RemoteCore::onRecord);
    connect(c, &ServiceConnection::resultsReceived, this,
            [this](const LinkResults &r, ServiceMessages::ResultsEvent e) {
                m_results = r;
                emit resultsRead(kindOf(e), r);
            });
    connect(c, &ServiceConnection::lineReceived, this, &RemoteCore::showLine);
    connect(c, &ServiceConnection::linkChanged, this, &RemoteCore::onLink);
    connect(c, &ServiceConnection::titleChanged, this, [this](const QString &item) {
        m_titleItem = item;
        emit titleItemChanged(item);
    });
    connect(c, &ServiceConnection::deviceInfoReceived, this, [this](const DeviceInfo &d) {
        m_device = d;
        emit deviceInfoRead(d);
    });
    connect(c, &ServiceConnection::progressChanged, this, &RemoteCore::onProgress);
    connect(c, &ServiceConnection::channelNamesChanged, this, &RemoteCore::showServiceNames);
    connect(c, &ServiceConnection::stateChanged, this, &RemoteCore::onState);
    connect(c, &ServiceConnection::loginAnswered, this, &RemoteCore::onLogin);
    connect(c, &ServiceConnection::commandAnswered, this, &RemoteCore::onCommandAnswer);
    connect(c, &ServiceConnection::refused, this, [this](const QString &, const QString &text) { say(text, Red); });
    connect(c, &ServiceConnection::serviceError, this, [this](const QString &, const QString &text) { say(text, Red); });
}

RemoteCore::~RemoteCore()
{
    m_connection.close();
    QSettings ini(m_iniFile, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    ini.setValue(QStringLiteral("Windows_Position/Main_Window_x"), m_viewSettings.mainWindowPos.x());
    ini.setValue(QStringLiteral("Windows_Position/Main_Window_y"), m_viewSettings.mainWindowPos.y());
    ini.setValue(QStringLiteral("Windows_Position/Control_Window_x"), m_viewSettings.controlWindowPos.x());
    ini.setValue(QStringLiteral("Windows_Position/Control_Window_y"), m_viewSettings.controlWindowPos.y());
    if (!m_viewSettings.language.isEmpty())
        ini.setValue(QStringLiteral("Settings/Language"), m_viewSettings.language);
}

void RemoteCore::setCertificateCheck(const QString &pinsFile, ServiceConnection::CertificateHook hook)
{
    m_pins = std::make_unique<CertificatePins>(pinsFile);
    m_connection.setPins(m_pins.get());
    m_connection.setCertificateHook(std::move(hook));
}

QString RemoteCore::defaultIniFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("attached-window.ini"));
}

QString RemoteCore::defaultPinsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("service-certificates.ini"));
}

CoreState RemoteCore::state() const
{
    CoreState s;
    s.link = m_link;
    s.titleItem = m_titleItem;
    s.device = m_device;
    s.progress = m_progress;
    s.channelNames = m_channelNames;
    s.journalFolder = m_journalFolder;
    s.status = m_status;
    s.results = m_results;
    s.recentLines = QVector<Message>(m_recentLines.cbegin(), m_recentLines.cend());
    return s;
}

void RemoteCore::start()
{
    if (m_address.isLocal())
        m_connection.openLocal(m_address.localName);
    else
        m_connection.openUrl(m_address.url);
}

void RemoteCore::close()
{
    // The service's work goes on: only this window's connection ends.
    m_connection.close();
}

// --- what the service says ------------------------------------------------

void RemoteCore::onSnapshot(const ServiceSnapshot &s)
{
    m_attached = true;
    m_saidLost = false;
    m_serviceName = m_connection.serviceName().isEmpty() ? s.serviceName : m_connection.serviceName();
    m_historyPath = s.historyDatabase;
    m_journalFolder = s.parameters.journalFolder;
    emit serviceReachable(true);
    // The state found on attaching is no change to notify: the tray hears
    // only what changes from here on.
    const bool everConnected = m_status.everConnected;
    m_status = StatusSnapshot();
    m_status.connected = s.link.phase == LinkView::Connected;
    m_status.everConnected = everConnected || m_status.connected;
    m_status.detect = s.detect;
    m_status.cmd = s.cmdState;
    m_status.adj = s.adjState;
    m_status.var = s.varState;
    if (!s.channelNames.isEmpty())
        showServiceNames(s.channelNames);
    m_status.channelNames = m_channelNames;
    // The lines first, as the one-process window shows its log before the
    // records; after a reattach only those this window has not shown yet.
    int from = 0;
    if (!m_recentLines.empty()) {
        for (int i = s.lines.size() - 1; i >= 0; --i) {
            if (sameLine(m_recentLines.back(), s.lines.at(i))) {
                from = i + 1;
                break;
            }
        }
    }
    for (int i = from; i < s.lines.size(); ++i)
        showLine(s.lines.at(i));
    m_titleItem = s.titleItem;
    emit titleItemChanged(m_titleItem);
    if (s.deviceInfo) {
        m_device = *s.deviceInfo;
        emit deviceInfoRead(m_device);
    }
    onLink(s.link);
    m_results = s.results;
    emit resultsRead(ResultKind::Ave, m_results);
    if (s.detect) {
        m_detect = *s.detect;
        emit detectRead(m_detect);
    }
    if (s.cmdState)
        emit cmdStateRead(*s.cmdState, m_detect);
    if (s.adjState)
        emit adjStateRead(*s.adjState);
    if (s.varState)
        emit varStateRead(*s.varState);
    onProgress(s.progress);
    // A service that restarted knows no login of this window yet.
    m_loggedIn = false;
    if (!m_login.isEmpty()) {
        m_loginAsked = true;
        m_connection.login(m_login, m_password);
    }
}

void RemoteCore::onRecord(const PollReading &reading)
{
    // The service records each poll: a History window that follows the clock
    // draws it.
    emit historyChanged();
    if (m_status.connected)
        changeStatus([&reading](StatusSnapshot &status) { status.take(reading); });
    switch (reading.record) {
    case PollReading::Detect:
        m_detect = reading.detect;
        emit detectRead(m_detect);
        break;
    case PollReading::CmdState:
        emit cmdStateRead(reading.cmdState, m_detect);
        break;
    case PollReading::AdjState:
        emit adjStateRead(reading.adjState);
        break;
    case PollReading::VarStruct:
        emit varStateRead(reading.varState);
        break;
    }
}

void RemoteCore::onLink(const LinkView &link)
{
    m_link = linkOf(link);
    const bool connected = m_link == LinkStatus::Connected;
    if (connected != m_status.connected)
        changeStatus([connected](StatusSnapshot &status) { connected ? status.linkConnected() : status.linkLost(); });
    if (link.phase == LinkView::Searching && link.searchTotal > 0)
        emit searchProgress(link.searchTotal, link.searchDone);
    emit linkStatusChanged(m_link);
}

void RemoteCore::changeStatus(const std::function<void(StatusSnapshot &)> &edit)
{
    const StatusSnapshot before = m_status;
    edit(m_status);
    emit statusPublished(before, m_status);
}

void RemoteCore::showServiceNames(const QStringList &names)
{
    m_status.channelNames = names;
    if (names == m_channelNames)
        return;
    m_channelNames = names;
    emit channelNamesChanged(names);
}

void RemoteCore::onProgress(const WorkProgress &work)
{
    const WorkProgress before = m_work;
    m_work = work;
    const Progress progress = progressOf(work);
    if (progress != m_progress) {
        const bool steeringEnded = m_progress == Progress::SmoothSteering;
        m_progress = progress;
        emit progressChanged(progress);
        if (steeringEnded)
            emit smoothSteeringFinished();
    }
    if (work.journalTotal >= 0 && work.journalTotal != before.journalTotal)
        emit journalSize(work.journalTotal);
    if (work.journalTotal > 0 && work.journalDone != before.journalDone)
        emit journalRecordsRead(work.journalDone);
}

void RemoteCore::onState(ServiceConnection::State state)
{
    const bool lost = state == ServiceConnection::State::Disconnected || state == ServiceConnection::State::Refused;
    // Said once per loss: the retries that follow add nothing.
    if (!lost || m_saidLost)
        return;
    m_saidLost = true;
    const bool wasAttached = m_attached;
    m_attached = false;
    m_loggedIn = false;
    m_loginAsked = false;
    m_waiting.clear();
    if (state == ServiceConnection::State::Refused)
        say(tr("No connection to the service."), Red);
    else if (wasAttached)
        say(tr("No connection to the service: trying to attach again."), Red);
    else
        say(tr("No connection to the service (%1): trying to attach.").arg(m_address.describe()), Red);
    m_link = LinkStatus::NotConnected;
    // The title names no instrument this window cannot see.
    m_titleItem.clear();
    emit titleItemChanged(m_titleItem);
    emit serviceReachable(false);
}

void RemoteCore::showLine(const ServiceLine &line)
{
    const Message m{line.time, line.text, line.colour};
    m_recentLines.push_back(m);
    if (int(m_recentLines.size()) > CoreState::RecentLines)
        m_recentLines.pop_front();
    emit message(m);
}

void RemoteCore::say(const QString &text, const QString &colour)
{
    showLine({QDateTime::currentDateTime(), text, colour});
}

// --- commands -------------------------------------------------------------

void RemoteCore::withLogin(bool again, Send send)
{
    if (!m_attached) {
        say(tr("No connection to the service: the command is not sent."), Red);
        return;
    }
    const auto ask = [this](bool asked, QString *login, QString *password) {
        if (m_prompt && m_prompt(asked, login, password) && !login->isEmpty())
            return true;
        say(tr("Commands need an operator login: the command is not sent."), Red);
        return false;
    };
    // A command that asks for the password again goes with its own entry.
    QString login;
    QString password;
    if (again && !ask(true, &login, &password))
        return;
    if (m_loggedIn) {
        again ? send(login, password) : send(m_login, m_password);
        return;
    }
    if (m_waiting.size() >= MaxWaiting) {
        say(tr("%1 commands wait for the login already: this one is not sent.").arg(m_waiting.size()), Red);
        return;
    }
    if (again)
        m_waiting.append([send, login, password](const QString &, const QString &) { send(login, password); });
    else
        m_waiting.append(std::move(send));
    if (m_loginAsked)
        return;
    if (!again && !ask(false, &login, &password)) {
        m_waiting.clear();
        return;
    }
    m_login = login;
    m_password = password;
    m_loginAsked = true;
    m_connection.login(login, password);
}

void RemoteCore::onLogin(const ServiceMessages::LoginReply &reply)
{
    if (!m_loginAsked)
        return;
    m_loginAsked = false;
    const QList<Send> waiting = m_waiting;
    m_waiting.clear();
    if (reply.outcome == QLatin1String("granted")) {
        m_loggedIn = true;
        for (const Send &send : waiting)
            send(m_login, m_password);
        return;
    }
    m_login.clear();
    m_password.clear();
    if (reply.outcome == QLatin1String("lockedOut"))
        say(tr("The service refuses the login: data entry is not possible. Wait %1 s.").arg(reply.waitSeconds), Red);
    else
        say(tr("The service refuses the login: login or password are not correct. Number of attempts: %1")
                .arg(reply.attemptsLeft),
            Red);
}

void RemoteCore::onCommandAnswer(qint64, int, const QString &outcome, const QString &reason)
{
    // Queued and done are told to every window by the service's own lines.
    if (outcome == QLatin1String("refused"))
        say(reason.isEmpty() ? tr("The service refuses the command.") : reason, Red);
}

void RemoteCore::submitCommand(int code, const CommandParameters &params)
{
    const bool again = AccessPolicy::asksPasswordAgain(code);
    withLogin(again, [this, code, params, again](const QString &login, const QString &password) {
        if (again)
            m_connection.submit(code, params, login, password);
        else
            m_connection.submit(code, params);
    });
}

void RemoteCore::abortSmoothSteering()
{
    withLogin(false, [this](const QString &, const QString &) { m_connection.abortSteering(); });
}

void RemoteCore::searchAllPorts()
{
    say(tr("The service chooses the port: change it on the service's computer."), Red);
}

void RemoteCore::connectToPort(int)
{
    searchAllPorts();
}

void RemoteCore::stopSearching() {}

// --- the window's own settings --------------------------------------------

void RemoteCore::setChannelNames(const QStringList &)
{
    // The service's names: the window shows them and changes none of them.
}

void RemoteCore::setAnalyseAtStart(int) {}

void RemoteCore::setLanguage(bool russian)
{
    installLanguage(russian);
}

void RemoteCore::installLanguage(bool russian)
{
    m_viewSettings.language = ProgramLanguage::install(*m_translator, russian);
}

void RemoteCore::keepViewSettings(const ViewSettings &settings)
{
    m_viewSettings = settings;
}

QString RemoteCore::historyDatabase() const
{
    // Read where it lies, read-only; a service on another computer keeps it there.
    if (!m_address.sameComputer() || m_historyPath.isEmpty() || !QFileInfo(m_historyPath).isFile())
        return QString();
    return m_historyPath;
}

HistorySource *RemoteCore::newHistorySource()
{
    if (!historyDatabase().isEmpty())
        return MonitorCore::newHistorySource();
    return new RemoteHistory(&m_connection);
}

QString RemoteCore::historyExportFolder() const
{
    // The service's folder is seldom the operator's to write in.
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void RemoteCore::importParameterLogs(const QString &)
{
    say(tr("The service imports parameter logs: run the import on the service's computer."), Red);
}
