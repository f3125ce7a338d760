#include "link/COMThread.h"
#include "link/Frame.h"
#include "link/JournalRecord.h"
#include "tests/support/FakeInstrument.h"
#include "tests/support/LinkHarness.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Answer = FakeInstrument::Answer;
Q_DECLARE_METATYPE(FakeInstrument::Answer)

// The link loop on its own thread, against fake ports in virtual time.
// Times are virtual milliseconds since the loop started.
class tst_COMThread : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstPollAtOnce_thenOneRecordPerInterval_data();
    void firstPollAtOnce_thenOneRecordPerInterval();
    void clockStep_pollsGoOnAtTheirInterval_data();
    void clockStep_pollsGoOnAtTheirInterval();
    void debugLevel_readsDacCodesAfterAnsweredDetect_data();
    void debugLevel_readsDacCodesAfterAnsweredDetect();
    void brokenAnswers_deviceIsNeverLost_data();
    void brokenAnswers_deviceIsNeverLost();
    void fourTimeoutsReopenPort_fifthStartsNewSearch();
    void newSearch_endsTheSmoothSteering();
    void noDevice_noConnectionOncePerLoss();
    void queuedCode_runsOrIsDropped_data();
    void queuedCode_runsOrIsDropped();
    void queuedCommands_runOnePerPassInOrder();
    void journalDownload_holdsPolls_answersStillReported();
    void queuedCommand_endsTheIdlePauseAtOnce();
    void stopDuringPollWait_endsAfterThatPoll_finishedLast();
    void stopBeforeStart_endsAtOnce();
    void stopConnecting_whileConnected_idlesWithoutNoConnection();
    void connectToPort_usesTheListShown_data();
    void connectToPort_usesTheListShown();
    void automaticSearch_foundPortBecomesPortName_data();
    void automaticSearch_foundPortBecomesPortName();

private:
    void startConnected();
    QList<FakeWrite> writesSince(qint64 ms) const;
    QStringList codesSince(qint64 ms) const;
    QList<qint64> pollTimes() const;

    std::unique_ptr<LinkHarness> m_h;
    FakeInstrument m_device;
};

namespace {
const QStringList PollCodes = {"P10", "PC0", "PA0", "PV0"};
}

void tst_COMThread::init()
{
    m_h = std::make_unique<LinkHarness>();
    m_h->line().setListed({"COM1", "COM2"});
    m_device = FakeInstrument();
    m_h->line().attach("COM1", m_device.device());
    m_h->link().setPortName("COM1");
}

void tst_COMThread::cleanup()
{
    QVERIFY(m_h->finish());
    m_h.reset();
}

void tst_COMThread::startConnected()
{
    m_h->start();
    QVERIFY(m_h->runTo(1000));
    QCOMPARE(m_h->count("connected"), 1);
}

QList<FakeWrite> tst_COMThread::writesSince(qint64 ms) const
{
    QList<FakeWrite> out;
    const auto all = m_h->line().writes();
    for (const FakeWrite &w : all) {
        if (w.atMs >= ms)
            out.append(w);
    }
    return out;
}

QStringList tst_COMThread::codesSince(qint64 ms) const
{
    QStringList out;
    const auto writes = writesSince(ms);
    for (const FakeWrite &w : writes)
        out.append(QString::fromLatin1(w.frame.mid(1, 3)));
    return out;
}

QList<qint64> tst_COMThread::pollTimes() const
{
    QList<qint64> out;
    const auto all = m_h->line().writes();
    for (const FakeWrite &w : all) {
        if (PollCodes.contains(QString::fromLatin1(w.frame.mid(1, 3))))
            out.append(w.atMs);
    }
    return out;
}

void tst_COMThread::firstPollAtOnce_thenOneRecordPerInterval_data()
{
    QTest::addColumn<int>("interval");
    QTest::newRow("default 10 s") << 10;
    QTest::newRow("3 s") << 3;
}

void tst_COMThread::firstPollAtOnce_thenOneRecordPerInterval()
{
    QFETCH(int, interval);
    m_h->link().setMonitorInterval(interval);
    m_h->start();
    QVERIFY(m_h->runTo(interval * 4000 + 500));

    QCOMPARE(m_h->codes(), QStringList({"FN0", "P10", "PC0", "PA0", "PV0", "P10"}));
    const qint64 connectedAt = m_h->events("connected").value(0).atMs;
    const QList<qint64> polls = pollTimes();
    QVERIFY2(polls.first() - connectedAt < 20, "the first poll follows the connection at once");
    for (int i = 1; i < polls.size(); ++i) {
        const qint64 spacing = polls.at(i) - polls.at(i - 1);
        QVERIFY2(qAbs(spacing - interval * 1000) <= 50, qPrintable(QString::number(spacing)));
    }
    QStringList refreshed;
    for (const LinkHarness::Event &e : m_h->events()) {
        if (e.name.endsWith("Rcvd"))
            refreshed.append(e.name);
    }
    QCOMPARE(refreshed, QStringList({"detectRcvd", "cmdStateRcvd", "adjStateRcvd", "avarStateRcvd",
                                     "detectRcvd"}));
    QCOMPARE(m_h->link().detect().chan[0], qint16(1));

    // The feed: each answered poll once, with its record and time; counters
    // after every poll.
    QCOMPARE(m_h->count("searchStarted"), 1);
    const QList<LinkHarness::Event> readings = m_h->events("pollAnswered");
    QStringList records;
    for (const LinkHarness::Event &e : readings) {
        records.append(e.args.at(0));
        QVERIFY(QDateTime::fromString(e.args.at(1), Qt::ISODateWithMs).isValid());
    }
    QCOMPARE(records, QStringList({"0", "1", "2", "3", "0"}));
    QCOMPARE(m_h->events("countersChanged").last().args, QStringList({"5", "0", "0", "1"}));
}

void tst_COMThread::clockStep_pollsGoOnAtTheirInterval_data()
{
    QTest::addColumn<int>("stepS");
    QTest::newRow("set back an hour") << -3600;
    QTest::newRow("set back 3 s") << -3;
    QTest::newRow("forward an hour") << 3600;
}

void tst_COMThread::clockStep_pollsGoOnAtTheirInterval()
{
    QFETCH(int, stepS);
    m_h->link().setMonitorInterval(10);
    m_h->start();
    QVERIFY(m_h->runTo(25000));
    m_h->clock().setUtc(m_h->clock().nowUtc().addSecs(stepS));
    QVERIFY(m_h->runTo(65000));

    QList<qint64> polls = pollTimes();
    QVERIFY(polls.size() >= 3);
    // No wait longer than one interval, across the step and after it.
    for (int i = 1; i < polls.size(); ++i)
        QVERIFY2(polls.at(i) - polls.at(i - 1) <= 10050, qPrintable(QString::number(polls.at(i) - polls.at(i - 1))));
    QVERIFY(polls.last() > 55000);
}

void tst_COMThread::debugLevel_readsDacCodesAfterAnsweredDetect_data()
{
    QTest::addColumn<int>("debugLevel");
    QTest::addColumn<Answer>("polls");
    QTest::addColumn<QStringList>("requests");
    QTest::newRow("quiet: no DAC reading") << 0 << Answer::Good << QStringList({"P10", "PC0", "PA0"});
    QTest::newRow("debug: DAC codes after DETECT")
        << 1 << Answer::Good << QStringList({"P10", "PD0", "PC0", "PA0"});
    QTest::newRow("debug: a late DETECT is not taken for the DAC codes")
        << 1 << Answer::Silent << QStringList({"P10", "PC0", "PA0"});
}

void tst_COMThread::debugLevel_readsDacCodesAfterAnsweredDetect()
{
    QFETCH(int, debugLevel);
    QFETCH(Answer, polls);
    QFETCH(QStringList, requests);
    m_h->link().setDebugLevel(debugLevel);
    m_device.setPollAnswer(polls);
    m_h->start();
    QVERIFY(m_h->runTo(25000));

    QCOMPARE(m_h->codes(), QStringList{"FN0"} + requests);
    QCOMPARE(m_h->texts("debugInfo").contains("DAC1(coarce) = 1234"), requests.contains("PD0"));
}

void tst_COMThread::brokenAnswers_deviceIsNeverLost_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong checksum every time") << Answer::WrongChecksum << "wrong checksum! getAdjStruct";
    QTest::newRow("no start byte every time") << Answer::NoStartByte << "no 0x01 at start";
}

void tst_COMThread::brokenAnswers_deviceIsNeverLost()
{
    QFETCH(Answer, answer);
    QFETCH(QString, message);
    m_device.setPollAnswer(answer);
    m_h->start();
    QVERIFY(m_h->runTo(200000));

    QCOMPARE(m_h->codes().count("FN0"), 1);
    QVERIFY(pollTimes().size() >= 19);
    QCOMPARE(m_h->count("noConnection"), 0);
    QCOMPARE(m_h->count("detectRcvd"), 0);
    QCOMPARE(m_h->count("pollAnswered"), 0);
    const LinkCounters counters = m_h->link().counters();
    QCOMPARE(counters.rejectedAnswers, counters.polls);
    QCOMPARE(counters.pollTimeouts, quint64(0));
    QVERIFY(m_h->texts("debugInfo").contains(message));
    // Opened for the identification and once more to stay: never reopened.
    QCOMPARE(m_h->portTrace().filter(QRegularExpression("^\\d+ open ")).size(), 2);
}

void tst_COMThread::fourTimeoutsReopenPort_fifthStartsNewSearch()
{
    m_h->link().setDebugLevel(1);
    startConnected();
    m_device.setPollAnswer(Answer::Silent);
    const qint64 silentFrom = m_h->clock().monotonicMs();
    QVERIFY(m_h->runTo(200000));

    // Five polls between searches, also after the device was found again.
    QStringList after = codesSince(silentFrom);
    after.removeAll("PD0");
    QCOMPARE(after.mid(0, 12), QStringList({"PC0", "PA0", "PV0", "P10", "PC0", "FN0",
                                            "PA0", "PV0", "P10", "PC0", "PA0", "FN0"}));

    // Each timeout closes the port and opens it again a second later.
    const qint64 searchAt = writesSince(silentFrom).at(after.indexOf("FN0")).atMs;
    const QStringList trace = m_h->portTrace();
    int reopenings = 0;
    for (int i = 1; i < trace.size(); ++i) {
        const qint64 closedAt = trace.at(i - 1).section(' ', 0, 0).toLongLong();
        const qint64 openedAt = trace.at(i).section(' ', 0, 0).toLongLong();
        if (trace.at(i - 1).endsWith("close COM1") && trace.at(i).endsWith("open COM1")
            && closedAt > silentFrom && openedAt <= searchAt && openedAt - closedAt == 1000)
            ++reopenings;
    }
    QCOMPARE(reopenings, 5);
    QVERIFY(m_h->texts("debugInfo").contains("Read ADJ_CMD_STATE failed, message length = 0"));
    // The device still identifies itself: found again by every search,
    // never reported lost.
    QCOMPARE(m_h->count("connected"), m_h->codes().count("FN0"));
    QCOMPARE(m_h->count("noConnection"), 0);
    QCOMPARE(m_h->count("searchStarted"), m_h->count("connected"));
    QVERIFY(m_h->link().counters().pollTimeouts >= 10);
    QCOMPARE(m_h->link().counters().connections, quint64(m_h->count("connected")));
}

void tst_COMThread::newSearch_endsTheSmoothSteering()
{
    startConnected();
    SmartControlInfo &plan = m_h->link().params().smartControl_info;
    plan.numOfControls = 100;
    plan.freq_newValue = 1e-12;
    m_h->link().queueCommand(COMMAND_SMART_CONTROL);
    m_device.setPollAnswer(Answer::Silent);
    QVERIFY(m_h->runTo(200000));

    const QString stopped = "Smooth steering is stopped: the instrument is not connected";
    QCOMPARE(m_h->texts("windowInfo").count(stopped), 1);
    qint64 stoppedAt = 0;
    for (const LinkHarness::Event &e : m_h->events("windowInfo")) {
        if (e.args.value(0) == stopped)
            stoppedAt = e.atMs;
    }
    QVERIFY(codesSince(0).contains("m10"));
    QVERIFY(m_h->count("connected") > 1);  // found again, and no step since
    QVERIFY(!codesSince(stoppedAt).contains("m10"));
}

void tst_COMThread::noDevice_noConnectionOncePerLoss()
{
    m_device.setAllAnswers(Answer::Silent);
    m_h->start();
    QVERIFY(m_h->runTo(30000));
    QCOMPARE(m_h->count("noConnection"), 1);
    QVERIFY(m_h->codes().count("FN0") >= 20);

    m_device.setAllAnswers(Answer::Good);
    QVERIFY(m_h->runFor(5000));
    QCOMPARE(m_h->count("connected"), 1);
    QCOMPARE(m_h->count("noConnection"), 1);

    m_device.setAllAnswers(Answer::Silent);
    QVERIFY(m_h->runFor(120000));
    QCOMPARE(m_h->count("noConnection"), 2);
    const qint64 lostAt = m_h->events("noConnection").last().atMs;
    QVERIFY(m_h->runFor(60000));
    QCOMPARE(m_h->count("noConnection"), 2);
    QVERIFY(codesSince(lostAt).count("FN0") >= 50);
}

void tst_COMThread::queuedCode_runsOrIsDropped_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<bool>("announced");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QStringList>("finished");
    QTest::newRow("23 is dropped") << 23 << QStringList() << false << QString() << QStringList();
    QTest::newRow("-1 is dropped") << -1 << QStringList() << false << QString() << QStringList();
    QTest::newRow("21 reads the device information") << 21 << QStringList{"7N0"} << false
                                                      << "setDeviceInfo" << QStringList{"21", "ok"};
    QTest::newRow("8 reads the 1PPS delay") << 8 << QStringList{"P30"} << false
                                            << "currentOffset_1PPS_isReady" << QStringList{"8", "ok"};
    QTest::newRow("13 clears the journal, announced") << 13 << QStringList{"G!0"} << true << QString()
                                                      << QStringList{"13", "ok"};
}

void tst_COMThread::queuedCode_runsOrIsDropped()
{
    QFETCH(int, code);
    QFETCH(QStringList, requests);
    QFETCH(bool, announced);
    QFETCH(QString, signal);
    QFETCH(QStringList, finished);
    startConnected();
    // Between two polls, so that only the command talks to the device.
    QVERIFY(m_h->runTo(3000));
    const qint64 queuedAt = m_h->clock().monotonicMs();
    m_h->link().queueCommand(code);
    QVERIFY(m_h->runTo(6000));

    QCOMPARE(codesSince(queuedAt), requests);
    QCOMPARE(m_h->texts("windowInfo").contains("Command is processed..."), announced);
    if (!signal.isEmpty())
        QCOMPARE(m_h->count(signal), 1);
    QCOMPARE(m_h->events("commandFinished").value(0).args, finished);
}

void tst_COMThread::journalDownload_holdsPolls_answersStillReported()
{
    // 400 records at 80 ms each: half a minute without a status poll.
    QByteArray count;
    Frame::appendU16(count, 400);
    m_device.setPayload("G00", count);
    m_device.setPayload("G-0", JournalRecord().toPayload());
    m_device.setAnswerDelayMs(80);
    QTemporaryDir folder;
    m_h->link().params().journalFolder = folder.path();
    m_h->link().setMonitorInterval(10);
    startConnected();
    QVERIFY(m_h->runTo(2500));
    m_h->link().queueCommand(COMMAND_GET_JOURNAL);
    QVERIFY(m_h->runTo(45000));

    const QList<qint64> polls = pollTimes();
    QVERIFY2(polls.size() >= 2 && polls.at(1) - polls.at(0) > 30000, "the download holds the polls back");
    QList<qint64> answers;
    QSet<qint64> seconds;
    for (const LinkHarness::Event &e : m_h->events("answered")) {
        if (e.atMs > 2500 && e.atMs < polls.at(1)) {
            answers.append(e.atMs);
            seconds.insert(QDateTime::fromString(e.args.at(0), Qt::ISODateWithMs).toSecsSinceEpoch());
        }
    }
    QVERIFY(answers.size() >= 30);
    QCOMPARE(seconds.size(), answers.size());  // the first answer of each second only
    for (int i = 1; i < answers.size(); ++i)
        QVERIFY2(answers.at(i) - answers.at(i - 1) < 1200, qPrintable(QString::number(answers.at(i))));
}

void tst_COMThread::queuedCommands_runOnePerPassInOrder()
{
    QByteArray pps;
    Frame::appendI32(pps, 37);
    Frame::appendI32(pps, 0x00010000);
    m_device.setPayload("P30", pps);
    startConnected();
    QVERIFY(m_h->runTo(3000));
    const qint64 queuedAt = m_h->clock().monotonicMs();
    m_h->link().queueCommand(COMMAND_GET_1PPS_OFFSET);
    m_h->link().queueCommand(99);
    m_h->link().queueCommand(COMMAND_GET_DEVICE_INFO);
    m_h->link().queueCommand(COMMAND_GET_1PPS_OFFSET);
    QVERIFY(m_h->runTo(6000));

    const QList<FakeWrite> writes = writesSince(queuedAt);
    QCOMPARE(codesSince(queuedAt), QStringList({"P30", "7N0", "P30"}));
    QVERIFY(writes.at(2).atMs - writes.at(0).atMs < 100);
    QCOMPARE(m_h->link().results().pps.delay, quint32(370));
    QCOMPARE(m_h->link().results().pps.external, qint16(1));
}

void tst_COMThread::queuedCommand_endsTheIdlePauseAtOnce()
{
    startConnected();
    QVERIFY(m_h->runTo(3000));  // parks the loop in an idle pause
    const qint64 queuedAt = m_h->clock().monotonicMs();
    m_h->link().queueCommand(COMMAND_GET_1PPS_OFFSET);
    QVERIFY(m_h->runTo(6000));
    const QList<FakeWrite> writes = writesSince(queuedAt);
    QCOMPARE(writes.size(), 1);
    QCOMPARE(writes.first().atMs, queuedAt);
}

void tst_COMThread::stopDuringPollWait_endsAfterThatPoll_finishedLast()
{
    m_device.setPollAnswer(Answer::Silent);
    m_device.setOnRequest([this](const QByteArray &code) {
        if (code == "P10")
            m_h->link().stop();
    });
    m_h->start();
    QVERIFY(m_h->runTo(60000));

    QCOMPARE(m_h->codes(), QStringList({"FN0", "P10"}));
    const QList<LinkHarness::Event> events = m_h->events();
    QCOMPARE(events.last().name, QString("finished"));
    QCOMPARE(m_h->count("finished"), 1);
    const qint64 polledAt = pollTimes().first();
    QVERIFY(events.last().atMs >= polledAt + 10000);
    QVERIFY(m_h->portTrace().last().endsWith("close COM1"));
}

void tst_COMThread::stopBeforeStart_endsAtOnce()
{
    m_h->link().stop();
    m_h->start();
    QVERIFY(m_h->runTo(10000));

    QCOMPARE(m_h->codes(), QStringList());
    QCOMPARE(m_h->events().size(), 1);
    QCOMPARE(m_h->events().first().name, QString("finished"));
}

void tst_COMThread::stopConnecting_whileConnected_idlesWithoutNoConnection()
{
    startConnected();
    m_h->link().stopConnecting();
    QVERIFY(m_h->runTo(60000));

    QCOMPARE(m_h->codes(), QStringList({"FN0", "P10"}));
    QVERIFY(m_h->portTrace().last().endsWith("close COM1"));
    QCOMPARE(m_h->count("noConnection"), 0);
    QVERIFY(!m_h->link().isConnected());
    QCOMPARE(m_h->events("debugInfo").last().args,
             QStringList({"Connection is stopped by user", "red"}));

    m_h->link().startAutomaticSearch();
    QVERIFY(m_h->runFor(5000));
    QCOMPARE(codesSince(60000).mid(0, 3), QStringList({"FN0", "FN0", "PC0"}));
    QVERIFY(m_h->texts("windowInfo").contains("Looking for devices..."));
    QCOMPARE(m_h->count("connected"), 2);
    QVERIFY(m_h->link().isConnected());
}

void tst_COMThread::connectToPort_usesTheListShown_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("stableName");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("listed");
    const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_A10K-if00-port0";
    QTest::newRow("second port of the list") << 1 << "" << "COM2" << "COM2";
    QTest::newRow("port with a stable name is kept by it") << 1 << byId << byId << "COM2";
    QTest::newRow("index past the list keeps the port") << 7 << "" << "COM1" << "COM1";
    QTest::newRow("negative index keeps the port") << -1 << "" << "COM1" << "COM1";
}

void tst_COMThread::connectToPort_usesTheListShown()
{
    QFETCH(int, index);
    QFETCH(QString, stableName);
    QFETCH(QString, port);
    QFETCH(QString, listed);
    PortInfo adapter;
    adapter.name = "COM2";
    adapter.stableName = stableName;
    m_h->line().describe(adapter);
    m_h->line().attach("COM2", FakeInstrument("KSR-583 #0002").device());
    m_h->link().setSearchAllPorts(true);
    startConnected();
    QCOMPARE(m_h->events("updPorts").last().args,
             QStringList({"0", "COM1 KSR-583 #0042", "COM2 KSR-583 #0002"}));

    m_h->link().connectToPort(index);
    QVERIFY(m_h->runFor(2000));

    QCOMPARE(m_h->texts("windowInfo").filter("Connecting to").last(), "Connecting to " + port);
    QCOMPARE(m_h->link().portName(), port);
    QVERIFY(m_h->texts("setWinTitle").last().startsWith(listed + " KSR-583"));
    QCOMPARE(m_h->count("connected"), 2);
}

void tst_COMThread::automaticSearch_foundPortBecomesPortName_data()
{
    QTest::addColumn<bool>("searchAll");
    QTest::addColumn<QString>("configured");
    QTest::newRow("automatic search") << true << "COM1";
    QTest::newRow("no port configured: searched without being asked") << false << "";
}

void tst_COMThread::automaticSearch_foundPortBecomesPortName()
{
    QFETCH(bool, searchAll);
    QFETCH(QString, configured);
    m_h->line().detach("COM1");
    m_h->line().attach("COM2", m_device.device());
    m_h->link().setSearchAllPorts(searchAll);
    m_h->link().setPortName(configured);
    startConnected();

    QCOMPARE(m_h->link().portName(), QString("COM2"));
    QCOMPARE(m_h->texts("setWinTitle"), QStringList{"COM2 KSR-583 #0042"});
    QCOMPARE(m_h->texts("windowInfo").first(), QString("Looking for devices..."));
    QCOMPARE(m_h->events("com_status").size(), 2);
}

QTEST_GUILESS_MAIN(tst_COMThread)
#include "tst_comthread.moc"
