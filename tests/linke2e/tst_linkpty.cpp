#include "LinkEvents.h"
#include "LinkRunner.h"
#include "SimProcess.h"
#include "SimTrace.h"

#include "link/COMThread.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The real link (system ports, real clock) on its own thread against
// ksr583-sim on a real pseudo-terminal. Polls every second so that a
// connection, its polls and a loss of the device all fit in well under a
// minute per test.
class tst_LinkPty : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void configuredPort_identifiesThenPollsEachRecordInTurn();
    void automaticSearch_findsTheSimulatorAndConnects();
    void killedSimulator_noConnectionAfterFiveTimeouts();
    void restartedSimulator_linkReconnectsOnItsOwn();

private:
    // A link name of its own per simulator: the port's lock file is named
    // after it, and parallel runs must not share one.
    QString linkPath() const;
    QString tracePath(int run) const { return m_dir->filePath(QStringLiteral("trace%1.txt").arg(run)); }
    void startSim(int run, const QStringList &options = QStringList());
    // Starts the link on the simulator's link and waits for its first poll.
    void connectLink(bool searchAll);
    void killSimAndAwaitLoss();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<LinkRunner> m_runner;
    std::unique_ptr<LinkEvents> m_events;
};

namespace {

constexpr int PollIntervalS = 1;
// A lost device takes one full poll wait (10 s) and four quick failures.
constexpr int LossTimeoutMs = 60000;
constexpr int ConnectTimeoutMs = 20000;
const QStringList PollCodes = {"P10", "PC0", "PA0", "PV0"};
const QString Identity = QStringLiteral("KSR-583 #0042");

}  // namespace

void tst_LinkPty::initTestCase()
{
    if (!SimProcess::ptysAvailable())
        QSKIP("this machine has no pseudo-terminals (/dev/ptmx is missing)");
    if (!QFileInfo(SimProcess::program()).isExecutable())
        QSKIP("KSR_SIM does not name the built ksr583-sim; run this test through ctest");
}

void tst_LinkPty::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_sim = std::make_unique<SimProcess>();
    m_runner = std::make_unique<LinkRunner>();
    m_events = std::make_unique<LinkEvents>(m_runner->link());
    COMThread &link = m_runner->link();
    link.setPortName(linkPath());
    link.setMonitorInterval(PollIntervalS);
    // As the main window does: the device information after every connection.
    connect(&link, &COMThread::setWinTitle, this, [&link] { link.queueCommand(COMMAND_GET_DEVICE_INFO); });
}

void tst_LinkPty::cleanup()
{
    QVERIFY(m_runner->stop());
    m_events.reset();
    m_runner.reset();
    m_sim.reset();
    m_dir.reset();
}

QString tst_LinkPty::linkPath() const
{
    return m_dir->filePath(QStringLiteral("ksr583-e2e-%1").arg(QCoreApplication::applicationPid()));
}

void tst_LinkPty::startSim(int run, const QStringList &options)
{
    if (!m_sim->start(linkPath(), QStringList{"--trace", tracePath(run)} + options))
        QSKIP(qPrintable("ksr583-sim could not serve a pseudo-terminal: " + m_sim->error()));
}

void tst_LinkPty::connectLink(bool searchAll)
{
    m_runner->link().setSearchAllPorts(searchAll);
    m_runner->start();
    QTRY_COMPARE_WITH_TIMEOUT(m_events->count("connected"), 1, ConnectTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_events->count("detectRcvd") >= 1, ConnectTimeoutMs);
}

void tst_LinkPty::killSimAndAwaitLoss()
{
    // SIGTERM, so the link goes with the simulator, as a device node goes
    // with an unplugged adapter. A link left dangling could lead to a
    // terminal that the system has since given to another program.
    m_sim->terminate();
    QTRY_COMPARE_WITH_TIMEOUT(m_events->count("noConnection"), 1, LossTimeoutMs);
}

void tst_LinkPty::configuredPort_identifiesThenPollsEachRecordInTurn()
{
    startSim(1);
    connectLink(false);
    QTRY_VERIFY_WITH_TIMEOUT(SimTrace::only(SimTrace::read(tracePath(1)), PollCodes).size() >= 4,
                             ConnectTimeoutMs);

    QCOMPARE(m_events->events("setWinTitle").value(0).args, QStringList{linkPath() + ' ' + Identity});
    QTRY_COMPARE_WITH_TIMEOUT(m_events->count("setDeviceInfo"), 1, ConnectTimeoutMs);
    QCOMPARE(m_events->events("setDeviceInfo").first().args.value(2), QString("0042"));

    const QList<SimTrace::Line> trace = SimTrace::read(tracePath(1));
    const QStringList codes = SimTrace::codes(trace);
    QVERIFY2(codes.first() == "FN0", qPrintable(codes.join(' ')));
    QCOMPARE(codes.count("FN0"), 1);
    // Queued once the connection is announced: after the identification,
    // and only once.
    QCOMPARE(codes.count("7N0"), 1);
    QVERIFY(codes.indexOf("7N0") > 0);

    const QList<SimTrace::Line> polls = SimTrace::only(trace, PollCodes).mid(0, 4);
    QCOMPARE(SimTrace::codes(polls), PollCodes);
    // The first poll is due at once; the loop then polls at the start of a
    // second once the interval has passed, so later polls come a whole
    // interval apart. Loose bounds: the machine is shared.
    const qint64 first = polls.at(1).atMs - polls.at(0).atMs;
    const double later = (polls.at(3).atMs - polls.at(1).atMs) / 2.0;
    QVERIFY2(first >= 0 && first <= 2500, qPrintable(QString::number(first)));
    QVERIFY2(later >= 700 && later <= 2500, qPrintable(QString::number(later)));
}

void tst_LinkPty::automaticSearch_findsTheSimulatorAndConnects()
{
    startSim(1);
    connectLink(true);

    // The system's serial ports do not include pseudo-terminals: the
    // configured port joins the list and is searched like the others.
    const QList<LinkEvents::Event> lists = m_events->events("updPorts");
    QVERIFY(!lists.isEmpty());
    const QStringList shown = lists.last().args;
    const int chosen = shown.value(0).toInt();
    QCOMPARE(shown.value(chosen + 1), linkPath() + ' ' + Identity);
    const QList<LinkEvents::Event> progress = m_events->events("com_status");
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().args.value(1), progress.last().args.value(0));
    QCOMPARE(progress.last().args.value(0).toInt(), shown.size() - 1);
    QVERIFY(m_events->lines().contains("black: Looking for devices..."));
    QVERIFY(m_events->lines().contains("black: Connected to " + linkPath() + ' ' + Identity));
    QCOMPARE(m_runner->link().portName(), linkPath());
}

void tst_LinkPty::killedSimulator_noConnectionAfterFiveTimeouts()
{
    startSim(1);
    m_runner->link().setDebugLevel(1);  // each failed poll says so
    connectLink(false);
    const int answered = m_events->count("detectRcvd");

    killSimAndAwaitLoss();

    const QStringList lines = m_events->lines();
    const QStringList failed = lines.filter(QRegularExpression("^red: Read \\w+ failed, message length = 0$"));
    QCOMPARE(failed.size(), 5);
    QCOMPARE(m_events->count("detectRcvd"), answered);
    QCOMPARE(m_events->count("connected"), 1);
    QVERIFY(!m_runner->link().isConnected());
}

void tst_LinkPty::restartedSimulator_linkReconnectsOnItsOwn()
{
    startSim(1);
    connectLink(false);
    killSimAndAwaitLoss();

    startSim(2);
    QTRY_COMPARE_WITH_TIMEOUT(m_events->count("connected"), 2, ConnectTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(SimTrace::codes(SimTrace::read(tracePath(2))).contains("P10"), ConnectTimeoutMs);

    const QStringList codes = SimTrace::codes(SimTrace::read(tracePath(2)));
    QCOMPARE(codes.first(), QString("FN0"));
    QVERIFY(codes.contains("7N0"));
    QCOMPARE(m_events->count("noConnection"), 1);
    QCOMPARE(m_events->count("setWinTitle"), 2);
}

QTEST_GUILESS_MAIN(tst_LinkPty)
#include "tst_linkpty.moc"
