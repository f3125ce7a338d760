#include "SimulatedLink.h"

#include "BenchReport.h"
#include "BenchTime.h"

#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "simulator/ProtocolEngine.h"
#include "simulator/PtyServer.h"

#include <QCoreApplication>

#include <cmath>

namespace {

const QByteArray Command = "P30";  // COMMAND_GET_1PPS_OFFSET: short, changes nothing
const QList<QByteArray> Polls = {"P10", "PC0", "PA0", "PV0"};

}  // namespace

SimulatedLink::SimulatedLink()
    : m_clock(std::make_shared<LinkClock>()),
      m_engine(std::make_unique<ProtocolEngine>(*m_clock)),
      m_server(std::make_unique<PtyServer>(*m_engine, *m_clock))
{
    m_engine->setRequestObserver([this](const ReceivedRequest &r) { m_log.add(r.code); });
}

SimulatedLink::~SimulatedLink()
{
    m_runner.stop();
    if (m_serving.joinable()) {
        m_server->requestStop();
        m_serving.join();
    }
}

bool SimulatedLink::open(QString *error)
{
    const QString path =
        m_dir.filePath(QStringLiteral("ksr583-bench-%1").arg(QCoreApplication::applicationPid()));
    if (!m_server->open(error) || !m_server->createLink(path, error))
        return false;
    m_serving = std::thread([this] { m_server->run(); });
    link().setPortName(path);
    link().setMonitorInterval(1);
    return true;
}

SimulatedLink::Load SimulatedLink::measure(int seconds, int everyMs)
{
    Load load;
    const qint64 from = BenchTime::nowNs();
    const qint64 until = from + qint64(seconds) * 1000000000;
    while (BenchTime::nowNs() < until) {
        const qint64 queued = BenchTime::nowNs();
        link().queueCommand(COMMAND_GET_1PPS_OFFSET);
        qint64 seen = 0;
        if (BenchTime::waitUntil([&] { return (seen = m_log.firstAfter({Command}, queued)) != 0; }, 5000))
            load.commandMs.push_back(BenchTime::toMs(seen - queued));
        BenchTime::pause(everyMs);
    }
    const std::vector<qint64> polls = m_log.times(Polls, from, BenchTime::nowNs());
    for (size_t i = 1; i < polls.size(); ++i)
        load.pollOffMs.push_back(std::fabs(BenchTime::toMs(polls[i] - polls[i - 1]) - 1000.0));
    return load;
}

void SimulatedLink::compare(const QString &condition, const Load &with, const QString &otherwise,
                            const Load &without)
{
    const auto row = [&](const QString &figure, const std::vector<double> &a, const std::vector<double> &b,
                         double q) {
        BenchReport::info(figure + QStringLiteral(", ") + condition,
                          BenchReport::format(BenchTime::quantile(a, q)) + QStringLiteral(" ms"),
                          otherwise + QStringLiteral(": ") + BenchReport::format(BenchTime::quantile(b, q))
                              + QStringLiteral(" ms"));
    };
    row(QStringLiteral("poll spacing off 1 s, p99"), with.pollOffMs, without.pollOffMs, 0.99);
    row(QStringLiteral("command latency, median"), with.commandMs, without.commandMs, 0.5);
    row(QStringLiteral("command latency, p99"), with.commandMs, without.commandMs, 0.99);
}
