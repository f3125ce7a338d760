#include "COMThread.h"

#include "LinkClock.h"
#include "SerialPort.h"

#include <QMutexLocker>
#include <QThread>

COMThread::COMThread(QObject *parent)
    : COMThread(nullptr, std::make_shared<LinkClock>(), parent)
{
}

COMThread::COMThread(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> clock,
                     QObject *parent)
    : QObject(parent), m_ports(std::move(ports)), m_clock(std::move(clock))
{
}

COMThread::~COMThread() = default;

void COMThread::setPortName(const QString &name)
{
    QMutexLocker lock(&m_nameLock);
    m_portName = name;
}

QString COMThread::portName() const
{
    QMutexLocker lock(&m_nameLock);
    return m_portName;
}

void COMThread::setSearchAllPorts(bool all) { m_searchAll = all; }
void COMThread::setDebugLevel(int level) { m_debugLevel = level; }
void COMThread::setMonitorInterval(int seconds) { m_monitorInterval = seconds; }
void COMThread::startAutomaticSearch() { m_searchAll = true; m_connectNeeded = true; }
void COMThread::connectToPort(int) { m_connectNeeded = true; }
void COMThread::stopConnecting() { m_connectNeeded = false; m_connected = false; }

void COMThread::queueCommand(int code)
{
    QMutexLocker lock(&m_queueLock);
    m_queue.enqueue({code, m_params});
}

bool COMThread::isConnected() const { return m_connected; }

void COMThread::publishResults()
{
    const LinkResults r = m_records.results.get();
    m_params.currentLimit = r.currentLimit;
    m_params.pps_info = r.pps;
}

ADJ_CMD_STATE COMThread::cmdState() const { return m_records.cmdState.get(); }
DETECT COMThread::detect() const { return m_records.detect.get(); }
ADJ_STATE COMThread::adjState() const { return m_records.adjState.get(); }
VAR_STRUCT COMThread::varState() const { return m_records.varState.get(); }
LinkResults COMThread::results() const { return m_records.results.get(); }

void COMThread::process()
{
    m_running = true;
    while (m_running)
        QThread::msleep(10);
    emit finished();
}

void COMThread::stop() { m_running = false; }
void COMThread::stopSmartControl() { m_abortSteering = true; }
