// ksr583-sim: a simulated KSR-583 on a pseudo-terminal.

#include "ProtocolEngine.h"
#include "PtyServer.h"
#include "SimControl.h"
#include "SimOptions.h"

#include "link/LinkClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {

PtyServer *g_server = nullptr;

extern "C" void onStopSignal(int)
{
    if (g_server)
        g_server->requestStop();
}

// Points the signal handler at the server for as long as the server lives.
struct StopTarget {
    explicit StopTarget(PtyServer &server) { g_server = &server; }
    ~StopTarget() { g_server = nullptr; }
};

void installStopHandlers()
{
    struct sigaction sa = {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    // A client that goes away mid-write must not kill the simulator.
    std::signal(SIGPIPE, SIG_IGN);
}

void configure(ProtocolEngine &engine, const SimOptions &o)
{
    engine.setWireTime(o.wireTime);
    for (const QString &fault : o.faults)
        engine.addFaults(fault);
    engine.withModel([&](InstrumentModel &m) {
        m.identity().identification = o.identity;
        m.identity().serialNumber = o.serial;
        m.setDeviceTime(m.deviceTime().addSecs(o.clockOffset));
        m.fillJournal(o.journal, o.journalStart);
        m.setLively(o.lively);
        m.setJournalLive(o.lively);
    });
}

int fail(const QString &text)
{
    QTextStream(stderr) << "ksr583-sim: " << text << '\n';
    return 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SimOptions options;
    QString error;
    if (!options.parse(app.arguments().mid(1), &error)) {
        QTextStream(stderr) << "ksr583-sim: " << error << "\n\n" << SimOptions::usage();
        return 2;
    }
    if (options.help) {
        QTextStream(stdout) << SimOptions::usage();
        return 0;
    }

    LinkClock clock;
    ProtocolEngine engine(clock, options.seed);
    configure(engine, options);

    QFile trace(options.trace);
    if (!options.trace.isEmpty()) {
        if (!trace.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return fail(QStringLiteral("cannot write %1").arg(options.trace));
        engine.setRequestObserver([&trace](const ReceivedRequest &r) {
            trace.write(ProtocolEngine::traceLine(r).toLatin1() + '\n');
            trace.flush();
        });
    }

    PtyServer server(engine, clock);
    const StopTarget target(server);
    installStopHandlers();
    if (!server.open(&error))
        return fail(error);
    if (!options.link.isEmpty() && !server.createLink(options.link, &error))
        return fail(error);
    if (!options.control.isEmpty()) {
        auto handler = [&engine](const QString &line) {
            const QString problem = SimControl::apply(engine, line);
            if (!problem.isEmpty())
                QTextStream(stderr) << "ksr583-sim: control: " << problem << '\n';
        };
        if (!server.openControl(options.control, handler, &error))
            return fail(error);
    }

    std::printf("%s\n", qPrintable(server.terminalPath()));
    std::fflush(stdout);

    const int rc = server.run();
    engine.setRequestObserver(nullptr);
    trace.close();
    return rc;
}
