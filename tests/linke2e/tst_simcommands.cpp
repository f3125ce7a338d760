#include "LinkRunner.h"

#include "link/COMThread.h"
#include "link/Frame.h"
#include "simulator/SimulatedPort.h"
#include "tests/support/SteppedClock.h"

#include <QDir>
#include <QMetaMethod>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

// What a command left behind: the instrument, the link's results and the
// arguments of the result signal it was expected to raise.
struct Outcome {
    InstrumentModel &model;
    LinkResults results;
    QDateTime linkNow;
    QVariantList signalArgs;
    QDir journalFolder;
};

struct CommandCase {
    int code = -1;
    std::function<void(CommandParameters &)> params;
    std::function<void(InstrumentModel &)> before;  // may be empty
    QString line;                                    // "colour: text" the line starts with
    QString signal;                                  // a result signal, or empty
    std::function<bool(const Outcome &)> done;
};

QByteArray floats(std::initializer_list<float> values)
{
    QByteArray b;
    for (float v : values)
        Frame::appendF32(b, v);
    return b;
}

void noParams(CommandParameters &) {}

const QString Port = QStringLiteral("COM3");
constexpr int PollIntervalS = 1;
// Long enough for every command, a phase correction of 2 s and a smooth
// steering of two 1 s steps.
constexpr int CommandRunMs = 6000;

}  // namespace

Q_DECLARE_METATYPE(CommandCase)

// Every command code against the simulated instrument, through the real link
// loop on its own thread, in virtual time.
class tst_SimCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyCode_reachesTheInstrumentAndReports_data();
    void everyCode_reachesTheInstrumentAndReports();

private:
    bool runFor(qint64 ms) { return m_clock->runTo(m_clock->monotonicMs() + ms); }

    std::shared_ptr<SteppedClock> m_clock;
    std::shared_ptr<SimulatedPortFactory> m_ports;
    std::shared_ptr<ProtocolEngine> m_engine;
    std::unique_ptr<LinkRunner> m_runner;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SimCommands::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void tst_SimCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_clock = std::make_shared<SteppedClock>();
    m_ports = std::make_shared<SimulatedPortFactory>(m_clock);
    m_engine = m_ports->addInstrument(Port);
    m_runner = std::make_unique<LinkRunner>(new COMThread(m_ports, m_clock));
    COMThread &link = m_runner->link();
    link.setPortName(Port);
    link.setMonitorInterval(PollIntervalS);
    link.setDebugLevel(1);  // the readings report themselves too

    m_clock->runTo(0, 0);  // park the loop at its first sleep
    m_runner->start();
    // Connected, with every status record read once.
    QVERIFY(runFor(5000));
    QVERIFY(link.isConnected());
}

void tst_SimCommands::cleanup()
{
    m_runner->link().stop();
    m_clock->release();
    QVERIFY(m_runner->stop());
    m_runner.reset();
    m_engine.reset();
    m_ports.reset();
    m_clock.reset();
    m_dir.reset();
}

void tst_SimCommands::everyCode_reachesTheInstrumentAndReports_data()
{
    QTest::addColumn<CommandCase>("c");

    QTest::newRow("0 reference 2 with backups 1 and 3 sets priorities 2 1 3 4") << CommandCase{
        COMMAND_SET_SYNC_CHLIST,
        [](CommandParameters &p) {
            p.syncControl_info.Ref_Chan = 2;
            p.syncControl_info.BackUp1_Chan = 1;
            p.syncControl_info.BackUp2_Chan = 3;
            p.syncControl_info.BackUp3_Chan = 0;
        },
        {}, "black: Channel status has been changed", {},
        [](const Outcome &o) {
            return o.model.priority(1) == 2 && o.model.priority(2) == 1 && o.model.priority(3) == 3
                   && o.model.priority(4) == 4;
        }};
    QTest::newRow("1 synchronisation off") << CommandCase{
        COMMAND_SET_SYNC_STATUS, [](CommandParameters &p) { p.syncControl_info.SyncIsOn = false; },
        {}, "black: Sync command has been applied", "cmdStateRcvd",
        [](const Outcome &o) { return !o.model.syncOn(); }};
    QTest::newRow("2 phase 2500 ps for 2 s") << CommandCase{
        COMMAND_PHASE_CORRECTION,
        [](CommandParameters &p) {
            p.phaseControl_info.phaseOffset = 2500;
            p.phaseControl_info.timerInterval = 2;
        },
        {}, "black: Phase correction is finished", {},
        [](const Outcome &o) { return std::fabs(o.model.phaseTotal() - 2.5e-9) < 1e-15; }};
    QTest::newRow("3 frequency offset 1.5e-12") << CommandCase{
        COMMAND_SET_FREQ_OFFSET, [](CommandParameters &p) { p.freq_newOffset = 1.5e-12; },
        {}, "black: New offset applied: 1.5e-12", "adjStateRcvd",
        [](const Outcome &o) { return o.model.freqOffset() == 1.5e-12f; }};
    QTest::newRow("4 frequency drift 2e-15") << CommandCase{
        COMMAND_SET_FREQ_DRIFT, [](CommandParameters &p) { p.drift_newOffset = 2e-15; },
        {}, "black: New frequency drift applied: 2e-15", "adjStateRcvd",
        [](const Outcome &o) { return o.model.freqDrift() == 2e-15f; }};
    QTest::newRow("5 smooth steering to 3e-12 in two 1 s steps") << CommandCase{
        COMMAND_SMART_CONTROL,
        [](CommandParameters &p) {
            p.smartControl_info.freq_newValue = 3e-12;
            p.smartControl_info.numOfControls = 2;
            p.smartControl_info.timeInterval = 1;
        },
        {}, "black: Smooth steering is finished", "adjStateRcvd",
        // The polls between the steps bring in the instrument's noise.
        [](const Outcome &o) { return std::fabs(o.model.freqOffset() - 3e-12) < 1e-15; }};
    QTest::newRow("6 frequency difference limit 2e-11") << CommandCase{
        COMMAND_SET_FREQ_LIMIT, [](CommandParameters &p) { p.freq_diffLimit_newValue = 2e-11; },
        {}, "black: New limit applied: 2e-11", {},
        [](const Outcome &o) { return o.model.freqLimit() == 2e-11f; }};
    QTest::newRow("7 synchronise to the external 1PPS") << CommandCase{
        COMMAND_1PPS_SYNC, noParams, {}, "black: Syncronization is finished, delay is ", {},
        [](const Outcome &o) { return std::abs(o.model.ppsDelay()) <= 2; }};
    QTest::newRow("8 1PPS delay in nanoseconds") << CommandCase{
        COMMAND_GET_1PPS_OFFSET, noParams, {}, "black: 1PPS delay is 370 ns",
        "currentOffset_1PPS_isReady", [](const Outcome &o) { return o.results.pps.delay == 370; }};
    QTest::newRow("9 device clock 2 minutes ahead") << CommandCase{
        COMMAND_GET_DATETIME, noParams,
        [](InstrumentModel &m) { m.setDeviceTime(m.deviceTime().addSecs(120)); }, "black: Time: ",
        "newTimeDifferenceIsReady",
        [](const Outcome &o) {
            return std::abs(o.results.timeDifference - 120) <= 1 && o.results.dateDifference == 0;
        }};
    QTest::newRow("10 device clock set 5 minutes ahead") << CommandCase{
        COMMAND_SET_DATETIME, [](CommandParameters &p) { p.dateTime_info.timeDifference = 300; },
        {}, "black: New date applied: ", "newTimeDifferenceIsReady",
        [](const Outcome &o) { return std::abs(o.linkNow.secsTo(o.model.deviceTime()) - 300) <= 2; }};
    QTest::newRow("11 qualification intervals 600 700 800 900") << CommandCase{
        COMMAND_SET_QUAL_INTERVALS,
        [](CommandParameters &p) { p.qualInterval_info = {600, 700, 800, 900}; },
        {}, "black: Command applied!", {},
        [](const Outcome &o) {
            return o.model.qualInterval(1) == 600 && o.model.qualInterval(2) == 700
                   && o.model.qualInterval(3) == 800 && o.model.qualInterval(4) == 900;
        }};
    QTest::newRow("12 journal of 5 records into one file") << CommandCase{
        COMMAND_GET_JOURNAL, noParams, [](InstrumentModel &m) { m.fillJournal(5, 2); },
        "black: History has been downloaded", "setNumberOfReadyRec",
        [](const Outcome &o) {
            return o.signalArgs.value(0).toInt() == 5 && o.journalFolder.entryList(QDir::Files).size() == 1;
        }};
    QTest::newRow("13 clear the journal") << CommandCase{
        COMMAND_CLEAR_JOURNAL, noParams, [](InstrumentModel &m) { m.fillJournal(5, 0); },
        "black: History cleared successfully", {},
        [](const Outcome &o) { return o.model.journal().count() == 0; }};
    QTest::newRow("14 averaging mode") << CommandCase{
        COMMAND_SET_MODE, [](CommandParameters &p) { p.syncControl_info.modeNew = '1'; },
        {}, "black: Command SET_MODE OK", {},
        [](const Outcome &o) { return !o.model.switchingMode(); }};
    QTest::newRow("15 remove channel 2") << CommandCase{
        COMMAND_SET_CHAN_STAT,
        [](CommandParameters &p) {
            p.syncControl_info.stat[1] = 2;
            p.syncControl_info.chanIncluded[1] = false;
        },
        {}, "black: Channel status has been changed", {},
        [](const Outcome &o) { return !o.model.channelInUse(2) && o.model.channelInUse(1); }};
    QTest::newRow("16 backup 2 becomes master") << CommandCase{
        COMMAND_MASTER_CHAN, [](CommandParameters &p) { p.syncControl_info.Ref_Chan = 2; },
        [](InstrumentModel &m) { m.setEstimationLeftMs(0); }, "red: Command SET_MASTER_CHAN OK", {},
        [](const Outcome &o) { return o.model.master() == 2; }};
    QTest::newRow("17 write AVE values") << CommandCase{
        COMMAND_SET_AVE,
        [](CommandParameters &p) {
            const float values[4] = {1e-21f, 2e-21f, 0, -1e-21f};
            std::copy(values, values + 4, p.ave_info.aveNew);
        },
        {}, "blue: New AVE OK ", {},
        [](const Outcome &o) { return o.model.aveValues() == floats({1e-21f, 2e-21f, 0, -1e-21f}); }};
    QTest::newRow("18 read AVE values") << CommandCase{
        COMMAND_GET_AVE, noParams,
        [](InstrumentModel &m) { m.setAveValues(floats({5e-21f, 6e-21f, 7e-21f, 8e-21f})); },
        "blue: Get AVE OK ", "aveStateRcvd",
        [](const Outcome &o) { return o.results.aveValues[0] == 5e-21f && o.results.aveValues[3] == 8e-21f; }};
    QTest::newRow("19 read AVE permission") << CommandCase{
        COMMAND_GET_AVE_ENABLED, noParams, [](InstrumentModel &m) { m.setAveEnabled(true); },
        "blue: Read AVE permission OK ", "aveStateRcvd",
        [](const Outcome &o) { return o.results.aveEnabled; }};
    QTest::newRow("20 AVE on") << CommandCase{
        COMMAND_SET_AVE_ENABLED, [](CommandParameters &p) { p.ave_info.enabledNew = 1; },
        {}, "blue: New AVE stat OK ", {},
        [](const Outcome &o) { return o.model.aveEnabled(); }};
    QTest::newRow("21 device information") << CommandCase{
        COMMAND_GET_DEVICE_INFO, noParams, {}, "black: OK checksum! getDeviceInfo", "setDeviceInfo",
        [](const Outcome &o) {
            return o.signalArgs.value(2).toString() == "0042" && o.signalArgs.value(6).toString() == "01.07";
        }};
    QTest::newRow("22 current frequency difference limit") << CommandCase{
        COMMAND_GET_FREQ_LIMIT, noParams, [](InstrumentModel &m) { m.setFreqLimit(3e-11f); },
        "black: Command is processed...", "updateCurrentFreqLimit",
        [](const Outcome &o) { return o.results.currentLimit == 3e-11f; }};
}

void tst_SimCommands::everyCode_reachesTheInstrumentAndReports()
{
    QFETCH(CommandCase, c);
    COMThread &link = m_runner->link();
    if (c.before)
        m_engine->withModel(c.before);
    CommandParameters &params = link.params();
    params.journalFolder = m_dir->path();
    c.params(params);

    // The loop is parked between runs, so the spies are never read while it
    // writes them.
    QSignalSpy debugLines(&link, &COMThread::debugInfo);
    QSignalSpy windowLines(&link, &COMThread::windowInfo);
    std::unique_ptr<QSignalSpy> result;
    if (!c.signal.isEmpty()) {
        const QMetaObject &meta = COMThread::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).name() == c.signal.toLatin1())
                result = std::make_unique<QSignalSpy>(&link, meta.method(i));
        }
        QVERIFY2(result, qPrintable("no signal " + c.signal));
    }

    link.queueCommand(c.code);
    QVERIFY(runFor(CommandRunMs));

    QStringList lines;
    for (const QSignalSpy *spy : {&debugLines, &windowLines}) {
        for (const QList<QVariant> &args : *spy)
            lines.append(args.value(1).toString() + ": " + args.value(0).toString());
    }
    const bool said = std::any_of(lines.cbegin(), lines.cend(),
                                  [&c](const QString &l) { return l.startsWith(c.line); });
    QVERIFY2(said, qPrintable("no line \"" + c.line + "\" among:\n" + lines.join('\n')));

    QVariantList signalArgs;
    if (result) {
        QVERIFY2(!result->isEmpty(), qPrintable(c.signal + " was not emitted"));
        signalArgs = result->last();
    }
    const bool done = m_engine->withModel([&](InstrumentModel &model) {
        return c.done(Outcome{model, link.results(), m_clock->now(), signalArgs, QDir(m_dir->path())});
    });
    QVERIFY2(done, "the instrument or the link does not show the command's effect");
}

QTEST_GUILESS_MAIN(tst_SimCommands)
#include "tst_simcommands.moc"
