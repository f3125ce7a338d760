// Windows and scripts attached to ksr583-monitor --service against ksr583-sim,
// through the local socket of its folder: attaching until the snapshot is in
// (the first full display), a command from a client until the simulator has
// its request (the trace's millisecond stamp, so within a millisecond of the
// first byte on the line), and the idle service's CPU with ten clients
// attached at the default poll interval.

#include "BenchReport.h"
#include "BenchTime.h"
#include "MonitorProcess.h"
#include "ProcStat.h"
#include "SimProcess.h"
#include "SimTrace.h"

#include "remote/ServiceConnection.h"
#include "remote/ServiceSettings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

constexpr int IdleClients = 10;
const char Password[] = "bench";

bool writeAccounts(const QString &folder)
{
    QFile accounts(QDir(folder).filePath(QStringLiteral("accounts.txt")));
    if (!accounts.open(QIODevice::WriteOnly))
        return false;
    accounts.write("3 bench " + QCryptographicHash::hash(Password, QCryptographicHash::Md5).toHex() + "\n");
    QSettings ini(QDir(folder).filePath(QStringLiteral("fconn583.ini")), QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    ini.setValue(QStringLiteral("Passwords/File_passwords"), accounts.fileName());
    return true;
}

std::unique_ptr<ServiceConnection> attach(const QString &socket, double *ms)
{
    auto c = std::make_unique<ServiceConnection>(QStringLiteral("bench_attach"));
    c->setRetryDelays(50, 200);
    bool attached = false;
    QObject::connect(c.get(), &ServiceConnection::snapshotReceived, [&attached] { attached = true; });
    const qint64 start = BenchTime::nowNs();
    c->openLocal(socket);
    if (!BenchTime::waitUntil([&] { return attached; }, 5000))
        return nullptr;
    *ms = BenchTime::toMs(BenchTime::nowNs() - start);
    QObject::disconnect(c.get(), &ServiceConnection::snapshotReceived, nullptr, nullptr);
    return c;
}

int requestsOf(const QString &trace, const QString &code)
{
    return SimTrace::only(SimTrace::read(trace), {code}).size();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments(), 3);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ksr583-bench-attach-%1").arg(QCoreApplication::applicationPid()));
    const QString trace = dir.filePath(QStringLiteral("trace.txt"));
    SimProcess sim;
    if (!sim.start(link, {"--trace", trace})) {
        BenchReport::failed(QStringLiteral("attach"), sim.error());
        return 1;
    }
    const QString folder = dir.filePath(QStringLiteral("service"));
    QDir().mkpath(folder);
    MonitorProcess service;
    if (!writeAccounts(folder) || !service.start(folder, link, 0, 0, MonitorProcess::Mode::Service)) {
        BenchReport::failed(QStringLiteral("attach"), service.error());
        return 1;
    }
    const QString socket = ServiceSettings::localServerName(folder);
    if (!BenchTime::waitUntil([&] { return requestsOf(trace, QStringLiteral("P10")) > 0; }, 30000)) {
        BenchReport::failed(QStringLiteral("attach"), QStringLiteral("the service never polled"));
        return 1;
    }

    // Attaching: each client a new connection, kept, as windows stay.
    std::vector<std::unique_ptr<ServiceConnection>> clients;
    std::vector<double> attachMs;
    for (int i = 0; i < IdleClients; ++i) {
        double ms = 0;
        auto c = attach(socket, &ms);
        if (!c) {
            BenchReport::failed(QStringLiteral("attach to first snapshot"), QStringLiteral("no snapshot in 5 s"));
            return 1;
        }
        attachMs.push_back(ms);
        clients.push_back(std::move(c));
    }
    BenchReport::below(QStringLiteral("attach to first snapshot, worst of 10"),
                       *std::max_element(attachMs.begin(), attachMs.end()), QStringLiteral("ms"), 1000);

    // A command's way to the line: the device information (7N0), read-only.
    ServiceConnection &sender = *clients.front();
    bool granted = false;
    QObject::connect(&sender, &ServiceConnection::loginAnswered,
                     [&granted](const ServiceMessages::LoginReply &r) { granted = r.outcome == QLatin1String("granted"); });
    sender.login(QStringLiteral("bench"), QString::fromLatin1(Password));
    if (!BenchTime::waitUntil([&] { return granted; }, 5000)) {
        BenchReport::failed(QStringLiteral("command to the line"), QStringLiteral("login refused"));
        return 1;
    }
    QObject::connect(&sender, &ServiceConnection::commandAnswered,
                     [](qint64, int, const QString &outcome, const QString &reason) {
                         if (outcome == QLatin1String("refused") || outcome == QLatin1String("failed"))
                             BenchReport::note(QStringLiteral("command %1: %2").arg(outcome, reason));
                     });
    QObject::connect(&sender, &ServiceConnection::serviceError, [](const QString &reason, const QString &text) {
        BenchReport::note(QStringLiteral("service error %1: %2").arg(reason, text));
    });
    const int samples = report.quick() ? 30 : 100;
    std::vector<double> commandMs;
    int seen = requestsOf(trace, QStringLiteral("7N0"));
    for (int i = 0; i < samples; ++i) {
        const qint64 sentMs = QDateTime::currentMSecsSinceEpoch();
        sender.submit(COMMAND_GET_DEVICE_INFO, CommandParameters());
        if (!BenchTime::waitUntil([&] { return requestsOf(trace, QStringLiteral("7N0")) > seen; }, 5000)) {
            BenchReport::failed(QStringLiteral("command to the line"), QStringLiteral("a command never reached it"));
            QFile log(QDir(folder).filePath("Logs/" + QDate::currentDate().toString("yyyyMMdd") + ".log"));
            log.open(QIODevice::ReadOnly);
            BenchReport::note(QString::fromLocal8Bit(log.readAll().right(2000)));
            return 1;
        }
        const QList<SimTrace::Line> requests = SimTrace::only(SimTrace::read(trace), {QStringLiteral("7N0")});
        seen = requests.size();
        commandMs.push_back(double(requests.last().atMs - sentMs));
        BenchTime::pause(60);  // within the client's request rate
    }
    BenchReport::below(QStringLiteral("command from a client to the line, p99"), BenchTime::quantile(commandMs, 0.99),
                       QStringLiteral("ms"), 5);
    BenchReport::info(QStringLiteral("command from a client to the line, median"),
                      BenchReport::format(BenchTime::quantile(commandMs, 0.5)) + " ms");

    // Idle, ten clients attached, polls every 10 s.
    BenchTime::pause(3000);
    QElapsedTimer wall;
    wall.start();
    const double before = ProcStat::cpuSeconds(service.pid());
    BenchTime::pause((report.quick() ? 20 : 60) * 1000);
    const double after = ProcStat::cpuSeconds(service.pid());
    if (before < 0 || after < 0) {
        BenchReport::failed(QStringLiteral("idle service, ten clients"), QStringLiteral("the service ended"));
        return 1;
    }
    BenchReport::below(QStringLiteral("idle service CPU with ten clients attached"),
                       100 * (after - before) / (wall.elapsed() / 1000.0), QStringLiteral("% of a core"), 1);
    return 0;
}
