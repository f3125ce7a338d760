#include "ServiceHost.h"

#include "core/AccountsFile.h"
#include "core/LocalCore.h"
#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "protocol/ServiceMessages.h"
#include "remote/ServiceSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace {

const QString Red = QStringLiteral("red");
const QString Blue = QStringLiteral("blue");

ServiceMessages::ResultsEvent eventOf(ResultKind kind)
{
    switch (kind) {
    case ResultKind::TimeDifference:
        return ServiceMessages::ResultsEvent::TimeDifference;
    case ResultKind::PpsOffset:
        return ServiceMessages::ResultsEvent::PpsDelay;
    case ResultKind::FrequencyLimit:
        return ServiceMessages::ResultsEvent::FreqLimit;
    case ResultKind::Ave:
        break;
    }
    return ServiceMessages::ResultsEvent::Ave;
}

WorkProgress::Steering steeringOf(Progress p)
{
    switch (p) {
    case Progress::SmoothSteering:
        return WorkProgress::SmoothSteering;
    case Progress::PhaseCorrection:
        return WorkProgress::PhaseCorrection;
    case Progress::None:
        break;
    }
    return WorkProgress::None;
}

}  // namespace

ServiceHost::ServiceHost(LocalCore &core, std::shared_ptr<LinkClock> clock, QObject *parent)
    : QObject(parent), m_core(core), m_logins(clock)
{
    m_server = std::make_unique<ServiceServer>(*this, m_logins, std::move(clock));
    m_server->setIdentity(QSysInfo::machineHostName(),
                          QStringLiteral("ksr583-monitor ") + QCoreApplication::applicationVersion());
    m_state.serviceName = QSysInfo::machineHostName();
    // Clients attaching, logging in and sending commands: the service's log.
    connect(m_server.get(), &ServiceServer::logLine, this,
            [this](const QString &text, const QString &) { m_core.note(text); });
    const CoreState now = core.state();
    m_state.titleItem = now.titleItem;
    m_state.link.phase = now.link == LinkStatus::Connected ? LinkView::Connected : LinkView::Searching;
    m_state.link.port = core.configuration().port;
    m_state.channelNames = now.channelNames;
    for (const Message &line : now.recentLines)
        onLine(line.text, line.colour, line.time);
    follow();
}

ServiceHost::~ServiceHost()
{
    m_server->close();
}

void ServiceHost::useLogins(const Configuration &config)
{
    m_logins.setAccounts(AccountsFile::read(config.passwordsFile));
    m_logins.setMaxAttempts(config.numOfAttempts);
    m_logins.setLockSeconds(config.numOfSeconds);
}

bool ServiceHost::listen(const QString &workFolder, const ServiceSettings &settings)
{
    for (const QString &problem : settings.problems)
        m_core.announce(problem, Red);
    QString error;
    const QString name = ServiceSettings::localServerName(workFolder);
    if (!m_server->listenLocal(name, &error)) {
        m_core.announce(error, Red);
        return false;
    }
#ifndef Q_OS_WIN
    // The owner and the service's group may connect; nobody needs to run it.
    QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::WriteGroup);
#endif
    if (settings.tcp && !m_server->listenTcp(settings, &error))
        m_core.announce(error, Red);
    return true;
}

void ServiceHost::follow()
{
    connect(&m_core, &MonitorCore::message, this,
            [this](const Message &m) { onLine(m.text, m.colour, m.time); });
    connect(&m_core, &LocalCore::pollAnswered, this, [this](const PollReading &r) {
        switch (r.record) {
        case PollReading::Detect:
            m_state.detect = r.detect;
            break;
        case PollReading::CmdState:
            m_state.cmdState = r.cmdState;
            break;
        case PollReading::AdjState:
            m_state.adjState = r.adjState;
            break;
        case PollReading::VarStruct:
            m_state.varState = r.varState;
            break;
        }
        m_server->broadcast(ServiceMessages::record(r));
    });
    connect(&m_core, &MonitorCore::resultsRead, this, [this](ResultKind kind, const LinkResults &results) {
        m_state.results = results;
        m_server->broadcast(ServiceMessages::results(results, eventOf(kind)));
    });
    connect(&m_core, &LocalCore::countersChanged, this, [this](const LinkCounters &c) {
        m_state.counters = c;
        m_server->broadcast(ServiceMessages::counters(c));
    });
    connect(&m_core, &MonitorCore::linkStatusChanged, this, [this](LinkStatus s) {
        LinkView link = m_state.link;
        link.phase = s == LinkStatus::Connected ? LinkView::Connected : LinkView::NoConnection;
        setLink(link);
    });
    connect(&m_core, &MonitorCore::searchProgress, this, [this](int total, int done) {
        LinkView link = m_state.link;
        link.searchTotal = qBound(0, total, 100000);
        link.searchDone = qBound(0, done, link.searchTotal);
        if (link.phase != LinkView::Connected && link.searchDone < link.searchTotal)
            link.phase = LinkView::Searching;
        setLink(link);
    });
    connect(&m_core, &MonitorCore::titleItemChanged, this, [this](const QString &item) {
        m_state.titleItem = item;
        m_server->broadcast(ServiceMessages::title(item));
    });
    connect(&m_core, &MonitorCore::deviceInfoRead, this, [this](const DeviceInfo &info) {
        m_state.deviceInfo = info;
        m_server->broadcast(ServiceMessages::deviceInfo(info));
    });
    connect(&m_core, &MonitorCore::progressChanged, this, [this](Progress p) {
        WorkProgress progress = m_state.progress;
        progress.steering = steeringOf(p);
        setProgress(progress);
    });
    connect(&m_core, &MonitorCore::journalSize, this, [this](int records) {
        WorkProgress progress = m_state.progress;
        progress.journalTotal = records > 0 ? records : -1;
        progress.journalDone = 0;
        setProgress(progress);
    });
    connect(&m_core, &MonitorCore::journalRecordsRead, this, [this](int records) {
        WorkProgress progress = m_state.progress;
        if (progress.journalTotal > 0)
            progress.journalDone = qBound(0, records, progress.journalTotal);
        setProgress(progress);
    });
    connect(&m_core, &MonitorCore::channelNamesChanged, this, [this](const QStringList &names) {
        m_state.channelNames = names;
        m_server->broadcast(ServiceMessages::channelNames(names));
    });
    connect(&m_core, &LocalCore::commandDone, this, &ServiceHost::onCommandDone);
}

void ServiceHost::onLine(const QString &text, const QString &colour, const QDateTime &time)
{
    const ServiceLine line{time, text, colour};
    m_lines.push_back(line);
    if (int(m_lines.size()) > ServiceSnapshot::MaxLines)
        m_lines.pop_front();
    m_server->broadcast(ServiceMessages::line(line));
}

void ServiceHost::setLink(const LinkView &link)
{
    m_state.link = link;
    m_server->broadcast(ServiceMessages::link(link));
}

void ServiceHost::setProgress(const WorkProgress &progress)
{
    m_state.progress = progress;
    m_server->broadcast(ServiceMessages::progress(progress));
}

ServiceSnapshot ServiceHost::snapshot() const
{
    ServiceSnapshot s = m_state;
    s.parameters = parameters();
    s.lines = QVector<ServiceLine>(m_lines.cbegin(), m_lines.cend());
    s.instrumentHeard = m_core.hearsInstrument();
    // Windows on this computer read the history from the file itself.
    s.historyDatabase = historyDatabase();
    return s;
}

QString ServiceHost::historyDatabase() const
{
    const QString database = m_core.historyDatabase();
    return database.isEmpty() ? QString() : QFileInfo(database).absoluteFilePath();
}

CommandParameters ServiceHost::parameters() const
{
    CommandParameters p = m_core.parameters();
    p.journalFolder = m_core.state().journalFolder;
    return p;
}

quint64 ServiceHost::submit(const CommandSubmission &command, QString *refusal)
{
    if (m_running.size() >= MaxQueued) {
        *refusal = tr("%1 commands are waiting for the instrument already; the command is refused.").arg(MaxQueued);
        // Once for a flood, not once for each refused command.
        if (!m_refusing)
            m_core.announce(tr("Commands from %1 refused: %2 wait for the instrument already.")
                                .arg(command.sender.describe())
                                .arg(MaxQueued),
                            Red);
        m_refusing = true;
        return 0;
    }
    m_refusing = false;
    CommandParameters params = command.params;
    // Only the service's computer decides where its files go.
    params.journalFolder = m_core.state().journalFolder;
    const quint64 ticket = m_core.submitTracked(command.code, params);
    CommandSubmission running = command;
    running.params = params;
    m_running.insert(ticket, running);
    return ticket;
}

void ServiceHost::onCommandDone(quint64 ticket, int code, bool ok)
{
    if (code == COMMAND_GET_JOURNAL && m_state.progress.journalTotal >= 0) {
        WorkProgress progress = m_state.progress;
        progress.journalTotal = -1;
        progress.journalDone = 0;
        setProgress(progress);
    }
    const auto it = m_running.find(ticket);
    if (it == m_running.end())
        return;  // the service's own
    const CommandSubmission command = *it;
    m_running.erase(it);
    QString text = ok ? tr("Command %1 from %2 is done").arg(COMThread::commandVerb(code), command.sender.describe())
                      : tr("Command %1 from %2 failed").arg(COMThread::commandVerb(code), command.sender.describe());
    if (ok && code == COMMAND_GET_JOURNAL)
        text += tr("; the journal is in %1 on %2").arg(command.params.journalFolder, m_state.serviceName);
    m_core.announce(text, ok ? Blue : Red);
    m_server->commandFinished(ticket, ok);
}

bool ServiceHost::abortSteering(const ClientIdentity &who, QString *refusal)
{
    if (m_state.progress.steering != WorkProgress::SmoothSteering) {
        *refusal = tr("No smooth steering runs.");
        return false;
    }
    m_core.announce(tr("Smooth steering is aborted by %1").arg(who.describe()), Blue);
    m_core.abortSmoothSteering();
    return true;
}

void ServiceHost::announce(const QString &text, const QString &colour)
{
    m_core.announce(text, colour);
}
