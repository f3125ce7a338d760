#include "core/RemoteCore.h"

#include "access/AccessPolicy.h"
#include "access/LoginGuard.h"
#include "status/StatusTransitions.h"
#include "protocol/ServiceMessages.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSettings.h"
#include "tests/remote/ServiceRig.h"
#include "tests/support/VirtualClock.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

namespace {

Account account(int level, const char *login, const char *password)
{
    return {level, login, QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex()};
}

PollReading reading(PollReading::Record record)
{
    PollReading r;
    r.record = record;
    r.utc = QDateTime::currentDateTimeUtc();
    r.number = 7;
    r.detect.chan[0] = 0x0001;
    r.detect.chan[2] = 0x0101;
    r.cmdState.syncStatus = 1;
    r.cmdState.flags = 0x1000;
    r.adjState.freqOffset = 2.5e-13f;
    r.varState.value[0] = 1.25e-12f;
    return r;
}

}  // namespace

class tst_RemoteCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void attached_showsSnapshotThenLiveMessagesAsCoreSignals_data();
    void attached_showsSnapshotThenLiveMessagesAsCoreSignals();
    void serviceGone_saysSoGreyed_andReattachesWithFreshState();
    void serviceNotRunning_saysSoOnceWhileTrying();
    void command_asksLoginOnce_andServiceDecides_data();
    void command_asksLoginOnce_andServiceDecides();
    void channelNames_areTheServicesAndNeverTheWindows();
    void statusChanges_notifyAsInOneProcess_butNotTheStateFoundOnAttaching_data();
    void statusChanges_notifyAsInOneProcess_butNotTheStateFoundOnAttaching();

private:
    void startService();
    std::unique_ptr<RemoteCore> attachedCore();

    QTemporaryDir m_dir;
    std::shared_ptr<VirtualClock> m_clock;
    FakeServiceSide m_side;
    std::unique_ptr<LoginGuard> m_logins;
    std::unique_ptr<ServiceServer> m_server;
};

void tst_RemoteCore::init()
{
    m_clock = std::make_shared<VirtualClock>();
    m_logins = std::make_unique<LoginGuard>(m_clock);
    m_logins->setAccounts({account(3, "alice", "secret")});
    m_side.submitted.clear();
    m_side.m_snapshot.link.phase = LinkView::Connected;
    m_side.m_snapshot.detect = reading(PollReading::Detect).detect;
    m_side.m_snapshot.cmdState = reading(PollReading::CmdState).cmdState;
    m_side.m_snapshot.adjState = reading(PollReading::AdjState).adjState;
    m_side.m_snapshot.deviceInfo = DeviceInfo{"2.20", "2020-05-09", "0042", "c1", "c2", "p1", "o1"};
    m_side.m_snapshot.historyDatabase = m_dir.filePath("history.sqlite");
    m_side.m_snapshot.channelNames = QStringList{"H-maser 1", "H-maser 2", "Cs 5071", "GPS"};
    startService();
}

void tst_RemoteCore::cleanup()
{
    m_server.reset();
}

void tst_RemoteCore::startService()
{
    m_server = std::make_unique<ServiceServer>(m_side, *m_logins, m_clock);
    m_server->setIdentity("labpc", "ksr583-monitor test");
    QString error;
    QVERIFY2(m_server->listenLocal(ServiceSettings::localServerName(m_dir.path()), &error), qPrintable(error));
}

std::unique_ptr<RemoteCore> tst_RemoteCore::attachedCore()
{
    ServiceAddress address;
    QString error;
    ServiceAddress::parse(QString(), m_dir.path(), &address, &error);
    auto core = std::make_unique<RemoteCore>(address, m_dir.filePath("window.ini"));
    core->connection().setRetryDelays(20, 100);
    return core;
}

void tst_RemoteCore::attached_showsSnapshotThenLiveMessagesAsCoreSignals_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("detect") << ServiceMessages::record(reading(PollReading::Detect)) << QByteArray(SIGNAL(detectRead(DETECT)));
    QTest::newRow("cmdState") << ServiceMessages::record(reading(PollReading::CmdState))
                              << QByteArray(SIGNAL(cmdStateRead(ADJ_CMD_STATE, DETECT)));
    QTest::newRow("adjState") << ServiceMessages::record(reading(PollReading::AdjState))
                              << QByteArray(SIGNAL(adjStateRead(ADJ_STATE)));
    QTest::newRow("varState") << ServiceMessages::record(reading(PollReading::VarStruct))
                              << QByteArray(SIGNAL(varStateRead(VAR_STRUCT)));
    QTest::newRow("line") << ServiceMessages::line({QDateTime::currentDateTime(), "Command applied!", "black"})
                          << QByteArray(SIGNAL(message(Message)));
    QTest::newRow("link") << ServiceMessages::link({LinkView::NoConnection, "COM3", 0, 0})
                          << QByteArray(SIGNAL(linkStatusChanged(LinkStatus)));
    QTest::newRow("title") << ServiceMessages::title("") << QByteArray(SIGNAL(titleItemChanged(QString)));
    QTest::newRow("device information") << ServiceMessages::deviceInfo({"2.21", "", "", "", "", "", ""})
                                        << QByteArray(SIGNAL(deviceInfoRead(DeviceInfo)));
    QTest::newRow("steering") << ServiceMessages::progress({WorkProgress::SmoothSteering, -1, 0})
                              << QByteArray(SIGNAL(progressChanged(Progress)));
    QTest::newRow("results") << ServiceMessages::results(LinkResults(), ServiceMessages::ResultsEvent::PpsDelay)
                             << QByteArray(SIGNAL(resultsRead(ResultKind, LinkResults)));
}

void tst_RemoteCore::attached_showsSnapshotThenLiveMessagesAsCoreSignals()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, signal);
    auto core = attachedCore();
    QSignalSpy lines(core.get(), &MonitorCore::message);
    QSignalSpy cmd(core.get(), &MonitorCore::cmdStateRead);
    QSignalSpy title(core.get(), &MonitorCore::titleItemChanged);
    core->start();
    QTRY_VERIFY(core->attached());
    // The service's last 500 lines first, as they were, then its state.
    QCOMPARE(lines.count(), ServiceSnapshot::MaxLines);
    QCOMPARE(lines.first().first().value<Message>().text, QString("<i>line</i> 0"));
    QCOMPARE(lines.at(7).first().value<Message>().colour, QString("red"));
    QCOMPARE(title.last().first().toString(), QString("COM3 KSR-583 #0042"));
    QCOMPARE(cmd.count(), 1);
    const DETECT detect = cmd.first().at(1).value<DETECT>();
    QCOMPARE(detect.toPayload(), reading(PollReading::Detect).detect.toPayload());
    QCOMPARE(core->serviceName(), QString("labpc"));
    QCOMPARE(core->state().link, LinkStatus::Connected);
    QCOMPARE(core->state().device.serialNumber, QString("0042"));

    QSignalSpy live(core.get(), signal.constData());
    m_server->broadcast(message);
    QTRY_COMPARE(live.count(), 1);
}

void tst_RemoteCore::serviceGone_saysSoGreyed_andReattachesWithFreshState()
{
    auto core = attachedCore();
    QSignalSpy reachable(core.get(), &MonitorCore::serviceReachable);
    QSignalSpy lines(core.get(), &MonitorCore::message);
    core->start();
    QTRY_VERIFY(core->attached());
    m_server->broadcast(ServiceMessages::line({QDateTime::currentDateTime(), "before", "black"}));
    QTRY_COMPARE(lines.count(), ServiceSnapshot::MaxLines + 1);

    m_server.reset();
    QTRY_COMPARE(reachable.count(), 2);
    QCOMPARE(reachable.last().first().toBool(), false);
    QCOMPARE(core->state().link, LinkStatus::NotConnected);
    const Message said = lines.last().first().value<Message>();
    QVERIFY2(said.text.startsWith("No connection to the service"), qPrintable(said.text));
    QCOMPARE(said.colour, QString("red"));

    // Back with a line more and a new title: only what is new is added to the log.
    m_side.m_snapshot.lines.removeFirst();
    m_side.m_snapshot.lines.append({QDateTime::currentDateTime(), "while away", "blue"});
    m_side.m_snapshot.titleItem = "COM4 KSR-583 #0043";
    const int before = lines.count();
    startService();
    QTRY_COMPARE_WITH_TIMEOUT(reachable.count(), 3, 5000);
    QCOMPARE(reachable.last().first().toBool(), true);
    QCOMPARE(lines.count(), before + ServiceSnapshot::MaxLines);  // the away line was not in the log: all again
    QCOMPARE(core->state().titleItem, QString("COM4 KSR-583 #0043"));
    QCOMPARE(core->state().link, LinkStatus::Connected);
}

void tst_RemoteCore::serviceNotRunning_saysSoOnceWhileTrying()
{
    m_server.reset();
    auto core = attachedCore();
    QSignalSpy reachable(core.get(), &MonitorCore::serviceReachable);
    QSignalSpy lines(core.get(), &MonitorCore::message);
    core->start();
    QTRY_COMPARE(reachable.count(), 1);
    QTest::qWait(300);  // a dozen tries at 20 to 100 ms
    QCOMPARE(reachable.count(), 1);
    QCOMPARE(lines.count(), 1);
    QVERIFY(lines.first().first().value<Message>().text.startsWith("No connection to the service"));
    startService();
    QTRY_COMPARE_WITH_TIMEOUT(reachable.count(), 2, 5000);
    QCOMPARE(reachable.last().first().toBool(), true);
}

void tst_RemoteCore::command_asksLoginOnce_andServiceDecides_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("submitted");  // of two commands
    QTest::addColumn<QString>("redLine");
    QTest::newRow("operator reads the clock") << int(COMMAND_GET_DATETIME) << "secret" << 2 << "";
    QTest::newRow("qualification: password again, the session keeps its login")
        << int(COMMAND_SET_QUAL_INTERVALS) << "secret" << 2 << "";
    QTest::newRow("wrong password") << int(COMMAND_GET_DATETIME) << "guess" << 0 << "login or password are not correct";
    QTest::newRow("operator may not clear the journal") << int(COMMAND_CLEAR_JOURNAL) << "secret" << 0 << "may not do this";
}

void tst_RemoteCore::command_asksLoginOnce_andServiceDecides()
{
    QFETCH(int, code);
    QFETCH(QString, password);
    QFETCH(int, submitted);
    QFETCH(QString, redLine);
    auto core = attachedCore();
    int asked = 0;
    QList<bool> again;
    core->setLoginPrompt([&](bool a, QString *login, QString *pass) {
        ++asked;
        again << a;
        *login = "alice";
        *pass = password;
        return true;
    });
    QSignalSpy lines(core.get(), &MonitorCore::message);
    core->start();
    QTRY_VERIFY(core->attached());
    lines.clear();
    CommandParameters params;
    core->submitCommand(code, params);
    core->submitCommand(code, params);
    if (submitted > 0) {
        QTRY_COMPARE(m_side.submitted.size(), submitted);
        QCOMPARE(m_side.submitted.first().code, code);
        QCOMPARE(m_side.submitted.first().sender.account, QString("alice"));
        // Once for the session; a command that asks again asks each time.
        QCOMPARE(asked, AccessPolicy::asksPasswordAgain(code) ? 2 : 1);
    } else {
        QTRY_VERIFY(!lines.isEmpty());
        const Message m = lines.first().first().value<Message>();
        QVERIFY2(m.text.contains(redLine), qPrintable(m.text));
        QCOMPARE(m.colour, QString("red"));
        QTest::qWait(50);
        QVERIFY(m_side.submitted.isEmpty());
    }
    QVERIFY(!again.isEmpty());
    QCOMPARE(again.first(), AccessPolicy::asksPasswordAgain(code));
}

void tst_RemoteCore::channelNames_areTheServicesAndNeverTheWindows()
{
    auto core = attachedCore();
    QSignalSpy names(core.get(), &MonitorCore::channelNamesChanged);
    core->start();
    QTRY_VERIFY(core->attached());
    QCOMPARE(core->state().channelNames, m_side.m_snapshot.channelNames);
    const QStringList renamed{"H-maser 1", "H-maser 2", "Cs 5071 #2", "GPS"};
    m_server->broadcast(ServiceMessages::channelNames(renamed));
    QTRY_COMPARE(names.count(), 2);
    QCOMPARE(names.last().first().toStringList(), renamed);
    core->setChannelNames({"typed here", "", "", ""});
    QCOMPARE(core->state().channelNames, renamed);
    core.reset();
    // The window keeps nothing of them: they are the service's to change.
    QVERIFY(!QSettings(m_dir.filePath("window.ini"), QSettings::IniFormat).childGroups().contains("Signal_names"));
}

void tst_RemoteCore::statusChanges_notifyAsInOneProcess_butNotTheStateFoundOnAttaching_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QList<int>>("transitions");
    PollReading unsynced = reading(PollReading::CmdState);
    unsynced.cmdState.syncStatus = 0;
    PollReading noSignal = reading(PollReading::Detect);
    noSignal.detect.chan[0] = 0;
    QTest::newRow("the state found again") << ServiceMessages::record(reading(PollReading::CmdState)) << QList<int>();
    QTest::newRow("synchronisation lost") << ServiceMessages::record(unsynced)
                                          << QList<int>{StatusTransition::SynchronisationLost};
    QTest::newRow("channel 1 loses its signal") << ServiceMessages::record(noSignal)
                                                << QList<int>{StatusTransition::SignalLost};
    QTest::newRow("instrument lost") << ServiceMessages::link({LinkView::NoConnection, "COM3", 0, 0})
                                     << QList<int>{StatusTransition::InstrumentLost};
}

void tst_RemoteCore::statusChanges_notifyAsInOneProcess_butNotTheStateFoundOnAttaching()
{
    QFETCH(QByteArray, message);
    QFETCH(QList<int>, transitions);
    auto core = attachedCore();
    QSignalSpy published(core.get(), &MonitorCore::statusPublished);
    QSignalSpy lines(core.get(), &MonitorCore::message);
    core->start();
    QTRY_VERIFY(core->attached());
    QCOMPARE(published.count(), 0);
    m_server->broadcast(message);
    // A line after it: once it is in, the message before it has been taken.
    m_server->broadcast(ServiceMessages::line({QDateTime::currentDateTime(), "after", "black"}));
    QTRY_COMPARE(lines.last().first().value<Message>().text, QString("after"));
    QList<int> told;
    for (const QList<QVariant> &p : published) {
        const StatusSnapshot after = p.at(1).value<StatusSnapshot>();
        for (const StatusTransition &t : StatusTransitions::between(p.at(0).value<StatusSnapshot>(), after))
            told << t.kind;
        QCOMPARE(after.channelName(3), QString("Cs 5071"));  // the tray names the service's channels
    }
    QCOMPARE(told, transitions);
}

QTEST_GUILESS_MAIN(tst_RemoteCore)
#include "tst_remotecore.moc"
