#include "COMThread.h"

#include "DeviceCommands.h"
#include "DeviceExchange.h"
#include "JournalDownload.h"
#include "LinkClock.h"
#include "PortDiscovery.h"
#include "QtSerialPort.h"
#include "SerialPort.h"
#include "SmoothSteering.h"
#include "StatusPoller.h"
#include "StatusReader.h"

#include <algorithm>
#include <iterator>

namespace {

const QString Black = QStringLiteral("black");
const QString Red = QStringLiteral("red");

constexpr int IdleSleepMs = 1000;
constexpr int ConnectedSleepMs = 10;
// Everything is due at once when the loop starts.
constexpr qint64 LongAgoS = 10000;
// A tick may come this much early on the monotonic clock and still be the
// one of its second.
constexpr qint64 TickSlackMs = 500;

enum class Handler { Device, Steering, PpsDelay, Journal, JournalClear, DeviceInfo };

struct Route {
    bool announce;  // "Command is processed..." before the command runs
    Handler handler;
    const char *verb;  // for programs that count commands
};

// Indexed by command code.
const Route kRoutes[] = {
    {true, Handler::Device, "set_sync_chlist"},          // 0 COMMAND_SET_SYNC_CHLIST
    {true, Handler::Device, "set_sync_status"},          // 1 COMMAND_SET_SYNC_STATUS
    {true, Handler::Device, "phase_correction"},         // 2 COMMAND_PHASE_CORRECTION
    {true, Handler::Device, "set_freq_offset"},          // 3 COMMAND_SET_FREQ_OFFSET
    {true, Handler::Device, "set_freq_drift"},           // 4 COMMAND_SET_FREQ_DRIFT
    {true, Handler::Steering, "smart_control"},          // 5 COMMAND_SMART_CONTROL
    {true, Handler::Device, "set_freq_limit"},           // 6 COMMAND_SET_FREQ_LIMIT
    {true, Handler::Device, "1pps_sync"},                // 7 COMMAND_1PPS_SYNC
    {false, Handler::PpsDelay, "get_1pps_offset"},       // 8 COMMAND_GET_1PPS_OFFSET
    {false, Handler::Device, "get_datetime"},            // 9 COMMAND_GET_DATETIME
    {true, Handler::Device, "set_datetime"},             // 10 COMMAND_SET_DATETIME
    {true, Handler::Device, "set_qual_intervals"},       // 11 COMMAND_SET_QUAL_INTERVALS
    {true, Handler::Journal, "get_journal"},             // 12 COMMAND_GET_JOURNAL
    {true, Handler::JournalClear, "clear_journal"},      // 13 COMMAND_CLEAR_JOURNAL
    {true, Handler::Device, "set_mode"},                 // 14 COMMAND_SET_MODE
    {true, Handler::Device, "set_chan_stat"},            // 15 COMMAND_SET_CHAN_STAT
    {true, Handler::Device, "master_chan"},              // 16 COMMAND_MASTER_CHAN
    {true, Handler::Device, "set_ave"},                  // 17 COMMAND_SET_AVE
    {false, Handler::Device, "get_ave"},                 // 18 COMMAND_GET_AVE
    {false, Handler::Device, "get_ave_enabled"},         // 19 COMMAND_GET_AVE_ENABLED
    {true, Handler::Device, "set_ave_enabled"},          // 20 COMMAND_SET_AVE_ENABLED
    {false, Handler::DeviceInfo, "get_device_info"},     // 21 COMMAND_GET_DEVICE_INFO
    {true, Handler::Device, "get_freq_limit"},           // 22 COMMAND_GET_FREQ_LIMIT
};
static_assert(std::size(kRoutes) == COMMAND_GET_FREQ_LIMIT + 1, "one route per command code");

}  // namespace

COMThread::COMThread(QObject *parent)
    : COMThread(std::make_shared<QtPortFactory>(), std::make_shared<LinkClock>(), parent)
{
}

COMThread::COMThread(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> clock,
                     QObject *parent)
    : QObject(parent),
      m_ports(std::move(ports)),
      m_clock(std::move(clock)),
      m_io(std::make_unique<DeviceExchange>(*m_clock))
{
    qRegisterMetaType<PollReading>();
    qRegisterMetaType<LinkCounters>();
    qRegisterMetaType<JournalReading>();

    m_io->setOnAnswer([this] { noteAnswer(); });
    m_reader = new StatusReader(*m_io, m_records, this);
    m_poller = new StatusPoller(*m_io, *m_reader, this);
    m_discovery = new PortDiscovery(*m_io, *m_ports, m_running, m_connectNeeded, this);
    m_commands = new DeviceCommands(*m_io, m_records, this);
    m_journal = new JournalDownload(*m_io, this);
    m_steering = new SmoothSteering(*m_io, m_records, this);

    // The helpers run on the link thread inside process(); their signals
    // become this object's signals there, and cross to the GUI queued.
    const auto direct = Qt::DirectConnection;
    connect(m_reader, &StatusReader::detectRcvd, this, &COMThread::detectRcvd, direct);
    connect(m_reader, &StatusReader::cmdStateRcvd, this, &COMThread::cmdStateRcvd, direct);
    connect(m_reader, &StatusReader::adjStateRcvd, this, &COMThread::adjStateRcvd, direct);
    connect(m_reader, &StatusReader::avarStateRcvd, this, &COMThread::avarStateRcvd, direct);
    connect(m_reader, &StatusReader::currentOffset_1PPS_isReady, this,
            &COMThread::currentOffset_1PPS_isReady, direct);
    connect(m_reader, &StatusReader::setDeviceInfo, this, &COMThread::setDeviceInfo, direct);
    connect(m_reader, &StatusReader::debugInfo, this, &COMThread::debugInfo, direct);
    connect(m_reader, &StatusReader::pollAnswered, this, &COMThread::pollAnswered, direct);
    connect(m_poller, &StatusPoller::debugInfo, this, &COMThread::debugInfo, direct);

    qRegisterMetaType<QList<PortInfo>>();
    connect(m_discovery, &PortDiscovery::windowInfo, this, &COMThread::windowInfo, direct);
    connect(m_discovery, &PortDiscovery::debugInfo, this, &COMThread::debugInfo, direct);
    connect(m_discovery, &PortDiscovery::portsDescribed, this, &COMThread::portsDescribed, direct);
    connect(m_discovery, &PortDiscovery::com_status, this, &COMThread::com_status, direct);
    connect(m_discovery, &PortDiscovery::updPorts, this, &COMThread::updPorts, direct);
    connect(m_discovery, &PortDiscovery::setWinTitle, this, &COMThread::setWinTitle, direct);
    connect(m_discovery, &PortDiscovery::connectedTo, this, &COMThread::connectedTo, direct);

    connect(m_commands, &DeviceCommands::debugInfo, this, &COMThread::debugInfo, direct);
    connect(m_commands, &DeviceCommands::windowInfo, this, &COMThread::windowInfo, direct);
    connect(m_commands, &DeviceCommands::cmdStateRcvd, this, &COMThread::cmdStateRcvd, direct);
    connect(m_commands, &DeviceCommands::adjStateRcvd, this, &COMThread::adjStateRcvd, direct);
    connect(m_commands, &DeviceCommands::newTimeDifferenceIsReady, this,
            &COMThread::newTimeDifferenceIsReady, direct);
    connect(m_commands, &DeviceCommands::updateCurrentFreqLimit, this,
            &COMThread::updateCurrentFreqLimit, direct);
    connect(m_commands, &DeviceCommands::aveStateRcvd, this, &COMThread::aveStateRcvd, direct);

    connect(m_journal, &JournalDownload::setNumberOfJournalRec, this,
            &COMThread::setNumberOfJournalRec, direct);
    connect(m_journal, &JournalDownload::setNumberOfReadyRec, this,
            &COMThread::setNumberOfReadyRec, direct);
    connect(m_journal, &JournalDownload::windowInfo, this, &COMThread::windowInfo, direct);
    connect(m_journal, &JournalDownload::debugInfo, this, &COMThread::debugInfo, direct);
    connect(m_journal, &JournalDownload::journalRead, this, &COMThread::journalRead, direct);

    connect(m_steering, &SmoothSteering::debugInfo, this, &COMThread::debugInfo, direct);
    connect(m_steering, &SmoothSteering::windowInfo, this, &COMThread::windowInfo, direct);
    connect(m_steering, &SmoothSteering::adjStateRcvd, this, &COMThread::adjStateRcvd, direct);
}

COMThread::~COMThread()
{
    (void)m_loopEnded.load();  // see m_loopEnded
    // The helpers hold references to m_io: they go first.
    delete m_steering;
    delete m_journal;
    delete m_commands;
    delete m_discovery;
    delete m_poller;
    delete m_reader;
}

// --- GUI thread ------------------------------------------------------------

void COMThread::setPortName(const QString &name)
{
    std::lock_guard<std::mutex> lock(m_nameLock);
    m_portName = name;
}

QString COMThread::portName() const
{
    std::lock_guard<std::mutex> lock(m_nameLock);
    return m_portName;
}

void COMThread::setSearchAllPorts(bool all)
{
    m_searchAll = all;
}

void COMThread::setDebugLevel(int level)
{
    m_debugLevel = level;
}

void COMThread::setMonitorInterval(int seconds)
{
    m_monitorInterval = seconds;
}

void COMThread::startAutomaticSearch()
{
    m_searchAll = true;
    m_connected = false;
    m_connectNeeded = true;
}

void COMThread::connectToPort(int index)
{
    const QStringList ports = m_discovery->publishedPorts();
    if (index >= 0 && index < ports.size())
        setPortName(ports.at(index));
    m_searchAll = false;
    m_connected = false;
    m_connectNeeded = true;
}

void COMThread::stopConnecting()
{
    m_connectNeeded = false;
    m_connected = false;
    emit debugInfo(tr("Connection is stopped by user"), Red);
}

void COMThread::queueCommand(int code)
{
    queueCommand(code, m_params);
}

quint64 COMThread::queueCommand(int code, const CommandParameters &params)
{
    quint64 ticket = 0;
    {
        std::lock_guard<std::mutex> lock(m_queueLock);
        ticket = ++m_lastTicket;
        m_queue.enqueue({code, params, ticket});
    }
    m_commandQueued.notify_one();
    return ticket;
}

bool COMThread::isConnected() const
{
    return m_connected;
}

void COMThread::publishResults()
{
    m_params.takeResults(m_records.results.get(), m_aveEnabledReadingsPublished);
}

ADJ_CMD_STATE COMThread::cmdState() const
{
    return m_records.cmdState.get();
}

DETECT COMThread::detect() const
{
    return m_records.detect.get();
}

ADJ_STATE COMThread::adjState() const
{
    return m_records.adjState.get();
}

VAR_STRUCT COMThread::varState() const
{
    return m_records.varState.get();
}

LinkResults COMThread::results() const
{
    return m_records.results.get();
}

LinkCounters COMThread::counters() const
{
    return m_records.counters.get();
}

QString COMThread::commandVerb(int code)
{
    if (code < 0 || code >= int(std::size(kRoutes)))
        return QString();
    return QLatin1String(kRoutes[code].verb);
}

void COMThread::stop()
{
    m_stopRequested = true;
    m_running = false;
}

void COMThread::stopSmartControl()
{
    m_abortSteering = true;
}

// --- Link thread -----------------------------------------------------------

void COMThread::process()
{
    m_port = m_ports->createPort();
    m_port->setPortName(portName());
    m_io->setPort(m_port.get());

    m_connectNeeded = true;
    m_connected = false;
    m_lastTick = m_clock->nowUtc().addSecs(-LongAgoS);
    m_lastPollMs = m_clock->monotonicMs() - LongAgoS * 1000;
    m_poller->reset();
    m_running = !m_stopRequested;

    while (m_running)
        runPass();

    m_port->close();
    m_io->setPort(nullptr);
    m_port.reset();
    emit finished();
    m_loopEnded = true;
}

void COMThread::runPass()
{
    const int debugLevel = m_debugLevel;
    m_reader->setDebugLevel(debugLevel);
    m_poller->setDebugLevel(debugLevel);
    m_commands->setDebugLevel(debugLevel);
    if (m_abortSteering.exchange(false))
        m_steering->abort();

    if (m_connectNeeded) {
        m_steering->endWithoutInstrument();
        attemptConnection();
    } else if (m_connected) {
        connectedPass();
    } else {
        m_steering->endWithoutInstrument();
        m_searching = false;
        m_port->close();
        m_clock->sleepMs(IdleSleepMs);
    }
}

void COMThread::attemptConnection()
{
    if (!m_searching) {
        m_searching = true;
        emit searchStarted();
    }
    m_discovery->clear();
    const QString configured = portName();
    QString found = configured;
    // No port named yet (a first start on Linux): every port is searched.
    const bool opened = m_searchAll || configured.isEmpty() ? m_discovery->automaticSearch(found)
                                                            : m_discovery->tryConfiguredPort(found);
    adoptPortName(configured, found);
    m_connected = opened;
    if (opened) {
        m_connectNeeded = false;
        m_searching = false;
        m_poller->resetTimeouts();
        m_wasConnected = true;
        ++m_connections;
        publishCounters();
        emit connected();
        return;
    }
    if (m_wasConnected) {
        m_wasConnected = false;
        emit noConnection();
    }
    m_clock->sleepMs(IdleSleepMs);
}

void COMThread::adoptPortName(const QString &searched, const QString &found)
{
    std::lock_guard<std::mutex> lock(m_nameLock);
    if (m_portName == searched)
        m_portName = found;
}

void COMThread::connectedPass()
{
    m_commands->checkPhaseCorrection();

    QueuedCommand command;
    if (takeCommand(command))
        execute(command);

    // UTC: the schedule only compares whole seconds, and local time would
    // look up the time zone twice on every 10 ms pass.
    const QDateTime now = m_clock->nowUtc();
    if (now.toSecsSinceEpoch() == m_lastTick.toSecsSinceEpoch()) {
        pause();
        return;
    }
    tick(now);
}

void COMThread::tick(const QDateTime &now)
{
    m_steering->tick();
    // The spacing is measured on the monotonic clock, so a step of the
    // computer's clock (NTP, the operator) neither holds the polls back nor
    // bunches them; ticks still come on the clock's whole seconds.
    const qint64 tickMs = m_clock->monotonicMs();
    if (tickMs - m_lastPollMs < m_monitorInterval * 1000LL - TickSlackMs) {
        pause();
    } else {
        const bool lost = m_poller->pollNext();
        publishCounters();
        // A user who stopped connecting meanwhile keeps the link idle.
        if (lost && m_connected)
            m_connectNeeded = true;
        m_lastPollMs = tickMs;
    }
    m_lastTick = now;
}

void COMThread::pause()
{
    // The bound keeps ticks and polls on time; the wake lets a command's
    // first byte go out at once instead of up to a pause later.
    std::unique_lock<std::mutex> lock(m_queueLock);
    m_clock->waitMs(ConnectedSleepMs, m_commandQueued, lock, [this] { return !m_queue.isEmpty(); });
}

bool COMThread::takeCommand(QueuedCommand &command)
{
    std::lock_guard<std::mutex> lock(m_queueLock);
    if (m_queue.isEmpty())
        return false;
    command = m_queue.dequeue();
    return true;
}

void COMThread::publishCounters()
{
    LinkCounters c;
    c.polls = m_poller->pollsSent();
    c.pollTimeouts = m_poller->pollsTimedOut();
    c.rejectedAnswers = m_io->rejectedAnswers();
    c.connections = m_connections;
    m_records.counters.set(c);
    emit countersChanged(c);
}

void COMThread::noteAnswer()
{
    const QDateTime utc = m_clock->nowUtc();
    const qint64 second = utc.toSecsSinceEpoch();
    if (second == m_lastAnswerSecond)
        return;
    m_lastAnswerSecond = second;
    emit answered(utc);
}

void COMThread::execute(const QueuedCommand &command)
{
    const int code = command.code;
    if (code < 0 || code >= int(std::size(kRoutes))) {
        emit ticketFinished(command.ticket, code, false);
        return;
    }
    if (kRoutes[code].announce)
        emit windowInfo(tr("Command is processed..."), Black);
    const bool ok = runHandler(command);
    emit commandFinished(code, ok);
    emit ticketFinished(command.ticket, code, ok);
}

bool COMThread::runHandler(const QueuedCommand &command)
{
    const CommandParameters &params = command.params;
    switch (kRoutes[command.code].handler) {
    case Handler::Device:
        return m_commands->execute(command.code, params);
    case Handler::Steering:
        return m_steering->start(params.smartControl_info);
    case Handler::PpsDelay:
        return m_reader->getDelayPPS() == Frame::Result::Accepted;
    case Handler::Journal:
        return m_journal->download(params.journalFolder, m_discovery->connectedItem());
    case Handler::JournalClear:
        return m_journal->clear();
    case Handler::DeviceInfo:
        return m_reader->getDeviceInfo() == Frame::Result::Accepted;
    }
    return false;
}
