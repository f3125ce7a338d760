#include "MonitoredRun.h"

#include "BenchTime.h"
#include "SimTrace.h"

#include <QCoreApplication>
#include <QDir>

namespace {
const QStringList PollCodes = {"P10", "PC0", "PA0", "PV0"};
}

bool MonitoredRun::start(const QString &name, const QStringList &simOptions, int monitorInterval, int metricsPort,
                         MonitorProcess::Mode mode)
{
    const QString link = m_dir.filePath(
        QStringLiteral("ksr583-bench-%1-%2").arg(name).arg(QCoreApplication::applicationPid()));
    m_trace = m_dir.filePath(QStringLiteral("trace.txt"));
    if (!m_sim.start(link, QStringList{"--trace", m_trace} + simOptions)) {
        m_error = m_sim.error();
        return false;
    }
    const QString folder = m_dir.filePath(QStringLiteral("monitor"));
    QDir().mkpath(folder);
    if (!m_monitor.start(folder, link, monitorInterval, metricsPort, mode)) {
        m_error = m_monitor.error();
        return false;
    }
    if (!BenchTime::waitUntil([this] { return polls() > 0; }, 30000)) {
        m_error = QStringLiteral("the program never polled");
        return false;
    }
    return true;
}

int MonitoredRun::polls() const
{
    return SimTrace::only(SimTrace::read(m_trace), PollCodes).size();
}
