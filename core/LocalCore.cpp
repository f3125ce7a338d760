#include "LocalCore.h"

#include "AccountsFile.h"
#include "HistoryHub.h"
#include "HistorySchedule.h"
#include "ProgramLanguage.h"
#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "metrics/MetricsServer.h"
#include "status/StatusPublisher.h"
#include "status/SupervisInfoWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

const QString Black = QStringLiteral("black");
const QString Red = QStringLiteral("red");
const char ProgramStarted[] = "Program started.";
constexpr int SupervisionIntervalMs = 60000;
// The longest the link loop can take to notice a stop: one exchange of up to
// 10 s, with room to spare.
constexpr int LinkStopWaitMs = 15000;

void registerValues()
{
    qRegisterMetaType<Message>();
    qRegisterMetaType<LinkStatus>();
    qRegisterMetaType<Progress>();
    qRegisterMetaType<ResultKind>();
    qRegisterMetaType<DeviceInfo>();
    qRegisterMetaType<LinkResults>();
    qRegisterMetaType<StatusSnapshot>();
}

}  // namespace

LocalCore::LocalCore(QObject *parent) : LocalCore(Options(), parent) {}

LocalCore::LocalCore(Options options, QObject *parent)
    : MonitorCore(parent),
      m_unattended(options.unattended),
      m_clock(options.clock ? std::move(options.clock) : std::make_shared<LinkClock>()),
      m_config(Configuration::read()),
      m_log(m_config.pathLocal, m_clock),
      m_parameterLog(logsDir()),
      m_channelNames(m_config.channelNames),
      m_analyseAtStart(m_config.analyseAtStart)
{
    registerValues();
    m_viewSettings = {m_config.mainWindowPos, m_config.controlWindowPos, QString()};
    m_translator = new QTranslator(this);
    installLanguage(m_config.russian);
    m_history = std::make_unique<HistoryHub>(m_config.pathLocal, Configuration::fileName(), m_clock);
    connect(m_history.get(), &HistoryHub::messageLine, this,
            [this](const QString &text, const QString &colour) { say(text, colour, false); });
    connect(m_history.get(), &HistoryHub::historyChanged, this, &MonitorCore::historyChanged);

    m_link = options.ports ? new COMThread(std::move(options.ports), std::move(options.linkClock))
                           : new COMThread;
    m_link->setPortName(m_config.port);
    m_link->setDebugLevel(m_config.debugLevel);
    m_link->setSearchAllPorts(m_config.analyseAtStart != 0);
    m_link->setMonitorInterval(m_config.monitorInterval);
    connectLink();

    m_publisher = new StatusPublisher(m_link, m_clock, this);
    m_publisher->setChannelNames(m_channelNames);
    connect(m_publisher, &StatusPublisher::published, this, &MonitorCore::statusPublished);
    m_lastParams.journalFolder = logsDir();
}

LocalCore::~LocalCore()
{
    ExitSettings exit;
    exit.port = m_link->portName();
    exit.analyseAtStart = m_analyseAtStart;
    exit.channelNames = m_channelNames;
    exit.mainWindowPos = m_viewSettings.mainWindowPos;
    exit.controlWindowPos = m_viewSettings.controlWindowPos;
    exit.language = m_viewSettings.language;
    exit.supervisInfoFile = m_config.supervisInfoFile;
    exit.write();

    m_metrics.reset();
    stopLink();
}

QString LocalCore::logsDir() const
{
    return QDir(m_config.pathLocal + QStringLiteral("/Logs")).absolutePath();
}

void LocalCore::connectLink()
{
    connect(m_link, &COMThread::cmdStateRcvd, this, &LocalCore::onCmdState);
    connect(m_link, &COMThread::detectRcvd, this, &LocalCore::onDetect);
    connect(m_link, &COMThread::adjStateRcvd, this, [this] { emit adjStateRead(m_link->adjState()); });
    connect(m_link, &COMThread::avarStateRcvd, this, [this] { emit varStateRead(m_link->varState()); });
    connect(m_link, &COMThread::noConnection, this, [this] { onLinkStatus(LinkStatus::NotConnected); });
    connect(m_link, &COMThread::connected, this, [this] { onLinkStatus(LinkStatus::Connected); });
    connect(m_link, &COMThread::debugInfo, this,
            [this](const QString &text, const QString &colour) { say(text, colour, true); });
    connect(m_link, &COMThread::windowInfo, this,
            [this](const QString &text, const QString &colour) { say(text, colour, false); });
    connect(m_link, &COMThread::setWinTitle, this, &LocalCore::onTitleItem);
    connect(m_link, &COMThread::setDeviceInfo, this,
            [this](const QString &version, const QString &date, const QString &serial, const QString &comparator,
                   const QString &otherComparator, const QString &cpu, const QString &osf) {
                m_device = {version, date, serial, comparator, otherComparator, cpu, osf};
                emit deviceInfoRead(m_device);
            });

    const auto results = [this](ResultKind kind) { return [this, kind] { emit resultsRead(kind, m_link->results()); }; };
    connect(m_link, &COMThread::newTimeDifferenceIsReady, this, results(ResultKind::TimeDifference));
    connect(m_link, &COMThread::currentOffset_1PPS_isReady, this, results(ResultKind::PpsOffset));
    connect(m_link, &COMThread::updateCurrentFreqLimit, this, results(ResultKind::FrequencyLimit));
    connect(m_link, &COMThread::aveStateRcvd, this, results(ResultKind::Ave));

    connect(m_link, &COMThread::setNumberOfJournalRec, this, &MonitorCore::journalSize);
    connect(m_link, &COMThread::setNumberOfReadyRec, this, &MonitorCore::journalRecordsRead);
    connect(m_link, &COMThread::updPorts, this, &MonitorCore::portsListed);
    connect(m_link, &COMThread::portsDescribed, this, &MonitorCore::portsDescribed);
    connect(m_link, &COMThread::com_status, this, &MonitorCore::searchProgress);
    connect(m_link, &COMThread::ticketFinished, this, &LocalCore::commandDone);
    connect(m_link, &COMThread::pollAnswered, this, &LocalCore::pollAnswered);
    connect(m_link, &COMThread::countersChanged, this, &LocalCore::countersChanged);
}

CoreState LocalCore::state() const
{
    CoreState s;
    s.link = m_linkStatus;
    s.titleItem = m_titleItem;
    s.device = m_device;
    s.progress = m_progress;
    s.channelNames = m_channelNames;
    s.journalFolder = logsDir();
    s.status = m_publisher->snapshot();
    s.results = m_link->results();
    s.recentLines = QVector<Message>(m_recentLines.cbegin(), m_recentLines.cend());
    return s;
}

// --- start and close ------------------------------------------------------

void LocalCore::start()
{
    if (m_started || m_closed)
        return;
    // The folders first, so that the program log can take what is said
    // about the accounts; said in the order the window always showed.
    const QVector<WriteWatch::Line> folderProblems = m_writeWatch.makeFolders(m_config.pathLocal);
    checkAccounts();
    m_reference = CurrentReference::read(m_config.pathLocal + QStringLiteral("/Status/")
                                         + CurrentReference::fileName());
    for (const WriteWatch::Line &line : folderProblems)
        showWatchLine(line);
    // A service nobody watches must not run on without its files.
    if (!folderProblems.isEmpty() && m_unattended)
        return;
    m_started = true;
    startLink();
    startMetrics();
    if (m_config.supervisInfoFile) {
        m_supervisionTimer = makeTimer(QStringLiteral("supervisionTimer"), &LocalCore::write_superviseInfo);
        m_supervisionTimer->start(SupervisionIntervalMs);
    }
    m_parameterTimer = makeTimer(QStringLiteral("parameterLogTimer"), &LocalCore::writeCurrentInfo_file);
    writeCurrentInfo_file();
    m_parameterTimer->start(m_config.parameterLogIntervalMs());
    logLine(QString::fromLatin1(ProgramStarted));
    m_historyTimer = makeTimer(QStringLiteral("historyTimer"), &LocalCore::loadHistoryEveryDay);
    m_historyTimer->setSingleShot(true);
    loadHistoryEveryDay();
    // From now on the parameter log names the mode, as the window shows it.
    m_fields.redraw();
}

void LocalCore::checkAccounts()
{
    QString refusal;
    AccountsFile::read(m_config.passwordsFile, &refusal);
    if (!refusal.isEmpty())
        say(refusal, Red, false);
}

void LocalCore::startLink()
{
    m_linkThread = new QThread;
    m_linkThread->setObjectName(QStringLiteral("link"));
    m_link->moveToThread(m_linkThread);
    connect(m_linkThread, &QThread::started, m_link, &COMThread::process);
    connect(m_link, &COMThread::finished, m_linkThread, &QThread::quit, Qt::DirectConnection);
    // Before the link's thread starts, so that its first search is kept.
    m_history->start(m_link);
    m_linkThread->start(QThread::HighestPriority);
}

void LocalCore::startMetrics()
{
    if (m_config.metricsPort == 0)
        return;
    m_metrics = std::make_unique<MetricsServer>(m_publisher->board());
    const auto started = m_metrics->start(m_config.metricsAddress.toStdString(), m_config.metricsPort);
    const QString problem = MetricsServer::problemText(started, m_config.metricsAddress, m_config.metricsPort);
    if (!problem.isEmpty()) {
        m_metrics.reset();
        say(problem, Red, true);
    }
}

QTimer *LocalCore::makeTimer(const QString &name, void (LocalCore::*slot)())
{
    auto *timer = new QTimer(this);
    timer->setObjectName(name);
    connect(timer, &QTimer::timeout, this, slot);
    return timer;
}

void LocalCore::close()
{
    if (m_closed)
        return;
    m_closed = true;
    // stop() only clears the loop's running flag: it is called from here at
    // once, since the loop never returns to its thread's event loop.
    m_link->stop();
    // Let queued work from the link finish before the views go.
    QEventLoop wait;
    QTimer::singleShot(100, &wait, &QEventLoop::quit);
    wait.exec();
    logLine(tr("Program is closed."));
}

void LocalCore::stopLink()
{
    if (!m_linkThread) {
        delete m_link;  // never moved to a thread of its own
        return;
    }
    // A stop that comes before the loop has begun would be undone by its
    // start, so it is repeated until the thread has ended.
    for (int waited = 0; m_linkThread->isRunning() && waited < LinkStopWaitMs; waited += 100) {
        m_link->stop();
        m_linkThread->wait(100);
    }
    if (m_linkThread->isRunning())
        return;  // a hung port: leaving the thread alone beats a crash at exit
    delete m_link;
    delete m_linkThread;
}

// --- the link's reports -----------------------------------------------------

void LocalCore::onCmdState()
{
    const ADJ_CMD_STATE cmd = m_link->cmdState();
    const DETECT detect = m_link->detect();
    m_fields.showCmdState(cmd, detect);
    followReference(cmd, detect);
    emit cmdStateRead(cmd, detect);
}

void LocalCore::followReference(const ADJ_CMD_STATE &cmd, const DETECT &detect)
{
    // In switching mode the channel in the group is the reference.
    if (!cmd.switchingMode())
        return;
    for (int n = 1; n <= 4; ++n) {
        if (ChannelState::of(detect, cmd, n) == ChannelState::InGroup && m_reference.index != n - 1)
            m_reference = {n - 1, m_channelNames.value(n - 1)};
    }
}

void LocalCore::onDetect()
{
    const DETECT detect = m_link->detect();
    m_fields.showDetect(detect);
    emit detectRead(detect);
}

void LocalCore::onLinkStatus(LinkStatus state)
{
    m_linkStatus = state;
    if (state == LinkStatus::Connected) {
        m_fields.instrumentFound();
    } else {
        m_fields.instrumentLost();
        // No progress can be shown for an instrument that is gone.
        setProgress(Progress::None);
    }
    emit linkStatusChanged(state);
}

void LocalCore::onTitleItem(const QString &item)
{
    m_titleItem = item;
    emit titleItemChanged(item);
    // After every connection: the device information for the about box.
    submitCommand(COMMAND_GET_DEVICE_INFO, m_lastParams);
}

void LocalCore::followProgress(const QString &text)
{
    if (text == tr("Smooth steering is finished") || text == tr("Smooth steering is aborted by the user")
        || text == tr("Smooth steering is stopped: the instrument is not connected")) {
        setProgress(Progress::None);
        emit smoothSteeringFinished();
    } else if (text == tr("Smooth steering is started")) {
        setProgress(Progress::SmoothSteering);
    }
    if (text == tr("Phase correction is finished"))
        setProgress(Progress::None);
    else if (text == tr("Phase correction is started"))
        setProgress(Progress::PhaseCorrection);
}

void LocalCore::setProgress(Progress progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    emit progressChanged(progress);
}

// --- commands and settings ------------------------------------------------

void LocalCore::submitCommand(int code, const CommandParameters &params)
{
    submitTracked(code, params);
}

quint64 LocalCore::submitTracked(int code, const CommandParameters &params)
{
    m_lastParams = params;
    m_history->recordCommandQueued(code);
    return m_link->queueCommand(code, params);
}

void LocalCore::announce(const QString &text, const QString &colour)
{
    say(text, colour, true);
}

bool LocalCore::hearsInstrument() const
{
    return m_publisher->snapshot().hearsInstrument(m_clock->monotonicMs());
}

void LocalCore::note(const QString &text)
{
    logLine(text);
}

void LocalCore::abortSmoothSteering()
{
    m_link->stopSmartControl();
}

void LocalCore::searchAllPorts()
{
    m_link->startAutomaticSearch();
}

void LocalCore::connectToPort(int index)
{
    m_link->connectToPort(index);
}

void LocalCore::stopSearching()
{
    m_link->stopConnecting();
}

void LocalCore::setChannelNames(const QStringList &names)
{
    if (names == m_channelNames)
        return;
    m_channelNames = names;
    m_publisher->setChannelNames(names);
    emit channelNamesChanged(names);
}

void LocalCore::setAnalyseAtStart(int value)
{
    m_analyseAtStart = value;
}

void LocalCore::setLanguage(bool russian)
{
    installLanguage(russian);
    m_fields.redraw();
}

void LocalCore::installLanguage(bool russian)
{
    m_viewSettings.language = ProgramLanguage::install(*m_translator, russian);
}

void LocalCore::keepViewSettings(const ViewSettings &settings)
{
    m_viewSettings = settings;
}

QString LocalCore::historyDatabase() const
{
    return m_history->databasePath();
}

void LocalCore::importParameterLogs(const QString &folder)
{
    m_history->importParameterLogs(folder);
}

// --- messages -------------------------------------------------------------

void LocalCore::say(const QString &text, const QString &colour, bool logged)
{
    const Message line{m_clock->now(), text, colour};
    m_recentLines.push_back(line);
    if (int(m_recentLines.size()) > CoreState::RecentLines)
        m_recentLines.pop_front();
    m_history->recordMessage(text, colour);
    emit message(line);
    followProgress(text);
    // Unattended, the program log is where a problem is seen at all.
    if (logged || (m_unattended && colour == Red))
        logLine(text);
}

void LocalCore::logLine(const QString &text)
{
    if (m_unattended)
        std::fputs(LogWriter::line(m_clock->now().time(), text).toLocal8Bit().constData(), stderr);
    reportWrite(WriteWatch::ProgramLog, m_log.currentFile(), m_log.appendLogLine(text));
}

void LocalCore::reportWrite(WriteWatch::Target target, const QString &path, bool ok)
{
    showWatchLine(m_writeWatch.written(target, path, ok));
}

void LocalCore::showWatchLine(const WriteWatch::Line &line)
{
    // The message log only: the program log may be what cannot be written.
    // (Unattended, a red line is tried there all the same and goes to
    // standard error; the watch says nothing twice, so that ends.)
    if (!line.text.isEmpty())
        say(line.text, line.colour, false);
}

// --- files ----------------------------------------------------------------

void LocalCore::write_superviseInfo()
{
    const QString path = m_config.pathLocal + QStringLiteral("/Status/SupervisInfo.ini");
    reportWrite(WriteWatch::StatusFile, path,
                SupervisInfoWriter::write(path, m_publisher->snapshot(), m_clock->now()));
}

void LocalCore::writeCurrentInfo_file()
{
    const ADJ_STATE adj = m_link->adjState();
    const VAR_STRUCT var = m_link->varState();
    ParameterLog::Row row;
    row.mode = m_fields.mode();
    row.offset = adj.freqOffset;
    row.trend = adj.freqDrift;
    for (int i = 0; i < 4; ++i) {
        row.status[i] = m_fields.channel(i).status.text;
        row.chanOffset[i] = adj.chanOffset[i];
        row.adev[i] = var.adev(i + 1);
    }
    const QDateTime utc = m_clock->nowUtc();
    reportWrite(WriteWatch::ParameterLog, m_parameterLog.filePath(utc.date()), m_parameterLog.append(utc, row));
}

void LocalCore::loadHistoryEveryDay()
{
    const QDateTime utc = m_clock->nowUtc();
    if (HistorySchedule::downloadDue(utc)) {
        emit loadHistory();
        if (QDir(m_lastParams.journalFolder).exists())
            submitCommand(COMMAND_GET_JOURNAL, m_lastParams);
    }
    m_historyTimer->start(HistorySchedule::nextCheckMs(utc));
}
