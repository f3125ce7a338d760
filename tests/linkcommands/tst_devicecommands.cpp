#include "CommandRig.h"

#include "link/DeviceCommands.h"
#include "link/Frame.h"

#include <QtTest>

Q_DECLARE_METATYPE(CommandParameters)

namespace {

QByteArray floats(std::initializer_list<float> values)
{
    QByteArray b;
    for (float v : values)
        Frame::appendF32(b, v);
    return b;
}

QByteArray dateTimeAnswer(const char *date, const char *time)
{
    return QByteArray(date) + ' ' + QByteArray(time);
}

QByteArray ppsAnswer(qint16 status, qint32 delay, char external)
{
    QByteArray b;
    Frame::appendI16(b, status);
    Frame::appendI32(b, delay);
    b.append(external);
    return b;
}

CommandParameters defaults()
{
    CommandParameters p;
    p.syncControl_info.modeNew = '2';
    p.syncControl_info.Ref_Chan = 3;
    return p;
}

}  // namespace

class tst_DeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void requestFrames_data();
    void clockBeyondTheInstrumentsYears_isNeverSent_data();
    void clockBeyondTheInstrumentsYears_isNeverSent();
    void requestFrames();
    void channelList_includesAndRemoves_data();
    void channelList_includesAndRemoves();
    void outcomes_data();
    void outcomes();
    void syncStatus_data();
    void syncStatus();
    void confirmedValue_isStoredWithZeroBand_data();
    void confirmedValue_isStoredWithZeroBand();
    void phaseCorrection_endsAtItsEndTime();
    void dateTime_readStoresShiftAndTimeOfReading_data();
    void dateTime_readStoresShiftAndTimeOfReading();
    void readings_areStoredAndSignalled();
    void lateAnswer_isNotTakenForTheNextCommand();
    void unknownCode_sendsNothing_data();
    void unknownCode_sendsNothing();
    void masterChannel_outsideChannels_sendsNothing_data();
    void masterChannel_outsideChannels_sendsNothing();

private:
    std::unique_ptr<CommandRig> m_rig;
    std::unique_ptr<DeviceCommands> m_commands;
};

void tst_DeviceCommands::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void tst_DeviceCommands::init()
{
    m_rig = std::make_unique<CommandRig>();
    m_rig->clock.setUtc(QDateTime(QDate(2026, 1, 7), QTime(15, 45, 0), Qt::LocalTime).toUTC());
    m_rig->answer("T00", dateTimeAnswer("07.01.2026", "15:45:02"));
    m_rig->answer("T10", dateTimeAnswer("07.01.2026", "15:45:02"));
    m_commands = std::make_unique<DeviceCommands>(m_rig->io, m_rig->records);
    m_rig->listen(m_commands.get());
}

void tst_DeviceCommands::cleanup()
{
    m_commands.reset();
    m_rig.reset();
}

void tst_DeviceCommands::requestFrames_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<CommandParameters>("params");
    QTest::addColumn<QDateTime>("localNow");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("payload");

    const QDateTime now(QDate(2026, 1, 7), QTime(15, 45, 0), Qt::LocalTime);
    CommandParameters p = defaults();

    p.qualInterval_info = {600, 700, 800, 900};
    QTest::newRow("qualification intervals 600 700 800 900")
        << int(COMMAND_SET_QUAL_INTERVALS) << p << now << QByteArray("c10")
        << QByteArray::fromHex("5802BC0220038403");

    p = defaults();
    p.syncControl_info.Ref_Chan = 2;
    p.syncControl_info.BackUp1_Chan = 1;
    p.syncControl_info.BackUp2_Chan = 3;
    p.syncControl_info.BackUp3_Chan = 4;
    QTest::newRow("reference 2 with backups 1 3 4 sends priorities 2 1 3 4")
        << int(COMMAND_SET_SYNC_CHLIST) << p << now << QByteArray("a10")
        << QByteArray::fromHex("02010304");

    p = defaults();
    p.phaseControl_info.phaseOffset = 2500;
    QTest::newRow("phase 2500 sends 2.0 and 5e-10")
        << int(COMMAND_PHASE_CORRECTION) << p << now << QByteArray("500") << floats({2.0f, 5e-10f});
    p.phaseControl_info.phaseOffset = -2500;
    QTest::newRow("phase -2500 sends -2.0 and -5e-10")
        << int(COMMAND_PHASE_CORRECTION) << p << now << QByteArray("500") << floats({-2.0f, -5e-10f});
    p.phaseControl_info.phaseOffset = 0;
    QTest::newRow("phase 0 sends -0.0 and 0")
        << int(COMMAND_PHASE_CORRECTION) << p << now << QByteArray("500") << floats({-0.0f, 0.0f});
    p.phaseControl_info.phaseOffset = std::numeric_limits<qint32>::min();
    QTest::newRow("most negative phase keeps its sign")
        << int(COMMAND_PHASE_CORRECTION) << p << now << QByteArray("500")
        << floats({-2147483.0f, float((-2147483648.0 + 2147483.0 * 1000) * 1e-12)});

    p = defaults();
    QTest::newRow("setting the date on 31 December 2099 23:59:59")
        << int(COMMAND_SET_DATETIME) << p
        << QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59), Qt::LocalTime) << QByteArray("T10")
        << QByteArray::fromHex("630C1F173B3B");
    QTest::newRow("year 2026 goes out as 0x1A")
        << int(COMMAND_SET_DATETIME) << p << now << QByteArray("T10") << QByteArray::fromHex("1A01070F2D00");

    QTest::newRow("switching mode") << int(COMMAND_SET_MODE) << p << now << QByteArray("M20") << QByteArray();
    p.ave_info.aveNew[0] = 1e-21f;
    p.ave_info.aveNew[3] = -2e-21f;
    QTest::newRow("AVE values") << int(COMMAND_SET_AVE) << p << now << QByteArray("Q10")
                                << floats({1e-21f, 0, 0, -2e-21f});
    p.ave_info.enabledNew = 1;
    QTest::newRow("AVE on") << int(COMMAND_SET_AVE_ENABLED) << p << now << QByteArray("X10") << QByteArray();
}

void tst_DeviceCommands::clockBeyondTheInstrumentsYears_isNeverSent_data()
{
    QTest::addColumn<QDateTime>("localNow");
    QTest::addColumn<int>("days");
    QTest::newRow("a date in 1999, which would go out as 2255")
        << QDateTime(QDate(2026, 1, 7), QTime(15, 45), Qt::LocalTime) << -9600;
    QTest::newRow("one second into 2256, which would go out as 2000")
        << QDateTime(QDate(2255, 12, 31), QTime(23, 59, 59), Qt::LocalTime) << 0;
}

void tst_DeviceCommands::clockBeyondTheInstrumentsYears_isNeverSent()
{
    QFETCH(QDateTime, localNow);
    QFETCH(int, days);
    m_rig->clock.setUtc(localNow.addSecs(1).toUTC());
    CommandParameters p = defaults();
    p.dateTime_info.dateDifference = days;
    QVERIFY(!m_commands->execute(COMMAND_SET_DATETIME, p));
    QVERIFY(m_rig->payloads("T10").isEmpty());
}

void tst_DeviceCommands::requestFrames()
{
    QFETCH(int, code);
    QFETCH(CommandParameters, params);
    QFETCH(QDateTime, localNow);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, payload);

    m_rig->clock.setUtc(localNow.toUTC());
    m_commands->execute(code, params);

    const QList<QByteArray> sent = m_rig->payloads(request);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().toHex(' '), payload.toHex(' '));
}

void tst_DeviceCommands::channelList_includesAndRemoves_data()
{
    QTest::addColumn<QList<int>>("listed");     // reference, backups 1..3
    QTest::addColumn<QList<float>>("coeff");     // ADJ_STATE coefficients
    QTest::addColumn<QList<int>>("inUse");       // channel state word bit 0
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QByteArray>("priorities");

    QTest::newRow("reference in place, backup in use, two spare channels removed only when in use")
        << QList<int>{1, 2, 0, 0} << QList<float>{1, 0, 0, 0} << QList<int>{1, 1, 1, 0}
        << QStringList{"o23", "a10"} << QByteArray::fromHex("01020403");
    QTest::newRow("reference without full weight is included")
        << QList<int>{3, 0, 0, 0} << QList<float>{0, 0, 0.5f, 0} << QList<int>{0, 0, 1, 0}
        << QStringList{"o13", "a10"} << QByteArray::fromHex("04030102");
    QTest::newRow("backup with weight or not in use is included")
        << QList<int>{1, 2, 3, 0} << QList<float>{1, 0.25f, 0, 0} << QList<int>{1, 1, 0, 1}
        << QStringList{"o12", "o13", "o24", "a10"} << QByteArray::fromHex("01020304");
    QTest::newRow("channels outside 1 to 4 are skipped")
        << QList<int>{0, 9, -1, 5} << QList<float>{0, 0, 0, 0} << QList<int>{1, 0, 0, 1}
        << QStringList{"o21", "o24", "a10"} << QByteArray::fromHex("04030201");
}

void tst_DeviceCommands::channelList_includesAndRemoves()
{
    QFETCH(QList<int>, listed);
    QFETCH(QList<float>, coeff);
    QFETCH(QList<int>, inUse);
    QFETCH(QStringList, codes);
    QFETCH(QByteArray, priorities);

    m_rig->records.adjState.update([&coeff](ADJ_STATE &s) {
        for (int i = 0; i < 4; ++i)
            s.coeff[i] = coeff[i];
    });
    m_rig->records.cmdState.update([&inUse](ADJ_CMD_STATE &s) {
        for (int i = 0; i < 4; ++i)
            s.chanWord[i] = qint16(inUse[i] ? 0x0011 : 0x0010);
    });
    CommandParameters p;
    p.syncControl_info.Ref_Chan = listed[0];
    p.syncControl_info.BackUp1_Chan = listed[1];
    p.syncControl_info.BackUp2_Chan = listed[2];
    p.syncControl_info.BackUp3_Chan = listed[3];

    QVERIFY(m_commands->execute(COMMAND_SET_SYNC_CHLIST, p));
    QCOMPARE(m_rig->codes(), codes);
    QCOMPARE(m_rig->payloads("a10").value(0).toHex(' '), priorities.toHex(' '));
    QCOMPARE(m_rig->lines.last(), QStringLiteral("black: Channel status has been changed"));
}

void tst_DeviceCommands::outcomes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<CommandParameters>("params");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("reply");  // good, badcrc, badletter, silent
    QTest::addColumn<QByteArray>("echo");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QStringList>("lines");

    const CommandParameters p = defaults();
    const QByteArray none;

    QTest::newRow("master channel status 6 is logged in red")
        << int(COMMAND_MASTER_CHAN) << p << QByteArray("S30") << "good" << QByteArray("S36") << none
        << QStringList{"red: Command SET_MASTER_CHAN Error. Numbers of the old and new master are equal"};
    QTest::newRow("master channel status 0")
        << int(COMMAND_MASTER_CHAN) << p << QByteArray("S30") << "good" << QByteArray("S30") << none
        << QStringList{"red: Command SET_MASTER_CHAN OK"};
    QTest::newRow("master channel status 8 says nothing")
        << int(COMMAND_MASTER_CHAN) << p << QByteArray("S30") << "good" << QByteArray("S38") << none
        << QStringList{};

    QTest::newRow("mode applied") << int(COMMAND_SET_MODE) << p << QByteArray("M20") << "good" << none
                                  << QByteArray(1, '\0') << QStringList{"black: Command SET_MODE OK"};

    QTest::newRow("offset failed") << int(COMMAND_SET_FREQ_OFFSET) << p << QByteArray("m10") << "silent"
                                   << none << none << QStringList{"red: New offset command failed!"};
    QTest::newRow("offset answer from another m command")
        << int(COMMAND_SET_FREQ_OFFSET) << p << QByteArray("m10") << "good" << QByteArray("m20")
        << floats({0}) << QStringList{"red: New offset command failed!"};
    QTest::newRow("limit failed") << int(COMMAND_SET_FREQ_LIMIT) << p << QByteArray("m30") << "badletter"
                                  << none << floats({0}) << QStringList{"red: New limit command failed!"};

    QTest::newRow("qualification intervals failed")
        << int(COMMAND_SET_QUAL_INTERVALS) << p << QByteArray("c10") << "badcrc" << none << none
        << QStringList{"red: Command failed!"};

    QTest::newRow("1PPS synchronised with delay 37")
        << int(COMMAND_1PPS_SYNC) << p << QByteArray("310") << "good" << none << ppsAnswer(0, 37, 1)
        << QStringList{"black: Syncronization is finished, delay is 370 ns"};
    QTest::newRow("1PPS failed without external 1PPS")
        << int(COMMAND_1PPS_SYNC) << p << QByteArray("310") << "good" << none << ppsAnswer(1, 0, 0)
        << QStringList{"red: Syncronization failed!", "red: External 1PPS is not available!"};
    QTest::newRow("1PPS no answer") << int(COMMAND_1PPS_SYNC) << p << QByteArray("310") << "silent" << none
                                    << none << QStringList{"red: Command failed!"};

    QTest::newRow("date and time set")
        << int(COMMAND_SET_DATETIME) << p << QByteArray("T10") << "good" << none
        << dateTimeAnswer("07.01.2026", "15:45:02")
        << QStringList{"black: New date applied: 07.01.2026", "black: New time applied: 15:45:02"};
    QTest::newRow("date text that does not parse")
        << int(COMMAND_GET_DATETIME) << p << QByteArray("T00") << "good" << none
        << dateTimeAnswer("32.13.2026", "15:45:02") << QStringList{"red: Time command failed!"};

    QTest::newRow("AVE write OK") << int(COMMAND_SET_AVE) << p << QByteArray("Q10") << "good" << none
                                  << none << QStringList{"blue: New AVE OK "};
    QTest::newRow("AVE write answer bad") << int(COMMAND_SET_AVE) << p << QByteArray("Q10") << "badcrc"
                                          << none << none << QStringList{"blue: New AVE NOT OK "};
    QTest::newRow("AVE write answer missing") << int(COMMAND_SET_AVE) << p << QByteArray("Q10") << "silent"
                                              << none << none << QStringList{"red: New AVE ERROR "};
    QTest::newRow("AVE read wrong checksum") << int(COMMAND_GET_AVE) << p << QByteArray("Q00") << "badcrc"
                                             << none << none << QStringList{"blue: Get AVE NOT OK "};
    QTest::newRow("AVE read wrong letter") << int(COMMAND_GET_AVE) << p << QByteArray("Q00") << "badletter"
                                           << none << none << QStringList{"red: Get AVE ERROR  bu"};
    QTest::newRow("AVE read answer short")
        << int(COMMAND_GET_AVE) << p << QByteArray("Q00") << "short" << none << none
        << QStringList{"red: (Get AVE ERROR port->bytesAvailable() = 3 ANSW:01 51 30"};

    CommandParameters channels = p;
    channels.syncControl_info.stat[1] = 1;  // include 2
    channels.syncControl_info.chanIncluded[1] = true;
    channels.syncControl_info.stat[2] = 2;  // remove 3
    channels.syncControl_info.stat[3] = 1;  // include 4, but not ticked: left alone
    QTest::newRow("include passes, remove fails")
        << int(COMMAND_SET_CHAN_STAT) << channels << QByteArray("o23") << "silent" << none << none
        << QStringList{"black: OK include channel 2", "red: Command failed! remove channel 3",
                       "red: Channel status command failed!"};
}

void tst_DeviceCommands::outcomes()
{
    QFETCH(int, code);
    QFETCH(CommandParameters, params);
    QFETCH(QByteArray, request);
    QFETCH(QString, reply);
    QFETCH(QByteArray, echo);
    QFETCH(QByteArray, payload);
    QFETCH(QStringList, lines);

    QByteArray bytes = CommandRig::goodAnswer(request, payload, echo);
    if (reply == QLatin1String("badcrc"))
        bytes[bytes.size() - 3] = char(bytes.at(bytes.size() - 3) ^ 0x5A);
    else if (reply == QLatin1String("badletter"))
        bytes = CommandRig::goodAnswer(request, payload, "Z" + request.mid(1));
    else if (reply == QLatin1String("short"))
        bytes = bytes.left(3);
    else if (reply == QLatin1String("silent"))
        bytes.clear();
    m_rig->on(request, [bytes](const QByteArray &) { return FakeReply{bytes, 5}; });

    m_commands->execute(code, params);
    QCOMPARE(m_rig->lines, lines);
}

void tst_DeviceCommands::syncStatus_data()
{
    QTest::addColumn<qint16>("current");
    QTest::addColumn<bool>("requested");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<qint16>("stored");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("sync already on sends nothing")
        << qint16(1) << true << true << QStringList{} << qint16(1)
        << QStringList{"black: Sync command has been applied"};
    QTest::newRow("any non-zero status counts as on")
        << qint16(3) << true << true << QStringList{} << qint16(3)
        << QStringList{"black: Sync command has been applied"};
    QTest::newRow("switching on is stored")
        << qint16(0) << true << true << QStringList{"W10"} << qint16(1)
        << QStringList{"black: Command has been applied", "black: Sync command has been applied"};
    QTest::newRow("failure leaves the record")
        << qint16(0) << true << false << QStringList{"W10"} << qint16(0)
        << QStringList{"red: Command failed!", "red: Sync command failed!"};
}

void tst_DeviceCommands::syncStatus()
{
    QFETCH(qint16, current);
    QFETCH(bool, requested);
    QFETCH(bool, answered);
    QFETCH(QStringList, codes);
    QFETCH(qint16, stored);
    QFETCH(QStringList, lines);

    m_rig->records.cmdState.update([current](ADJ_CMD_STATE &s) { s.syncStatus = current; });
    if (!answered)
        m_rig->silence(requested ? "W10" : "W20");
    QSignalSpy refreshed(m_commands.get(), &DeviceCommands::cmdStateRcvd);
    CommandParameters p;
    p.syncControl_info.SyncIsOn = requested;

    QCOMPARE(m_commands->execute(COMMAND_SET_SYNC_STATUS, p), answered);
    QCOMPARE(m_rig->codes(), codes);
    QCOMPARE(m_rig->records.cmdState.get().syncStatus, stored);
    QCOMPARE(refreshed.count(), (answered && !codes.isEmpty()) ? 1 : 0);
    QCOMPARE(m_rig->lines, lines);
}

void tst_DeviceCommands::confirmedValue_isStoredWithZeroBand_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<float>("confirmed");
    QTest::addColumn<float>("offset");
    QTest::addColumn<float>("drift");
    QTest::addColumn<QString>("line");

    QTest::newRow("offset 1e-21 confirmed is stored as 0")
        << int(COMMAND_SET_FREQ_OFFSET) << 1e-21f << 0.0f << 7.0f << "black: New offset applied: 0";
    QTest::newRow("the device's value wins over the request")
        << int(COMMAND_SET_FREQ_OFFSET) << 1.23457e-12f << 1.23457e-12f << 7.0f
        << "black: New offset applied: 1.23457e-12";
    QTest::newRow("drift 1e-26 confirmed is stored as 0")
        << int(COMMAND_SET_FREQ_DRIFT) << 1e-26f << 7.0f << 0.0f << "black: New frequency drift applied: 0";
}

void tst_DeviceCommands::confirmedValue_isStoredWithZeroBand()
{
    QFETCH(int, code);
    QFETCH(float, confirmed);
    QFETCH(float, offset);
    QFETCH(float, drift);
    QFETCH(QString, line);

    m_rig->records.adjState.update([](ADJ_STATE &s) { s.freqOffset = s.freqDrift = 7.0f; });
    m_rig->answer(code == COMMAND_SET_FREQ_OFFSET ? "m10" : "m20", floats({confirmed}));
    QSignalSpy refreshed(m_commands.get(), &DeviceCommands::adjStateRcvd);
    CommandParameters p;
    p.freq_newOffset = p.drift_newOffset = 1e-12;

    QVERIFY(m_commands->execute(code, p));
    QCOMPARE(m_rig->records.adjState.get().freqOffset, offset);
    QCOMPARE(m_rig->records.adjState.get().freqDrift, drift);
    QCOMPARE(refreshed.count(), 1);
    QCOMPARE(m_rig->lines, QStringList{line});
}

void tst_DeviceCommands::phaseCorrection_endsAtItsEndTime()
{
    CommandParameters p;
    p.phaseControl_info.phaseOffset = 1000;
    p.phaseControl_info.timerInterval = 30;
    QVERIFY(m_commands->execute(COMMAND_PHASE_CORRECTION, p));

    m_rig->clock.advance(29000);
    m_commands->checkPhaseCorrection();
    QCOMPARE(m_rig->lines, QStringList{"black: Phase correction is started"});

    m_rig->clock.advance(1000);
    m_commands->checkPhaseCorrection();
    m_rig->clock.advance(1000);
    m_commands->checkPhaseCorrection();
    QCOMPARE(m_rig->lines,
             (QStringList{"black: Phase correction is started", "black: Phase correction is finished"}));
}

void tst_DeviceCommands::dateTime_readStoresShiftAndTimeOfReading_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<qint32>("days");
    QTest::addColumn<qint32>("seconds");

    // The computer reads 07.01.2026 15:45:00 (plus the answer's few milliseconds).
    QTest::newRow("a day ahead and a minute behind") << dateTimeAnswer("08.01.2026", "15:44:00") << 1 << -60;
    QTest::newRow("past midnight") << dateTimeAnswer("08.01.2026", "00:15:00") << 1 << -55800;
}

void tst_DeviceCommands::dateTime_readStoresShiftAndTimeOfReading()
{
    QFETCH(QByteArray, device);
    QFETCH(qint32, days);
    QFETCH(qint32, seconds);

    m_rig->answer("T00", device);
    QSignalSpy ready(m_commands.get(), &DeviceCommands::newTimeDifferenceIsReady);
    m_commands->setDebugLevel(1);

    QVERIFY(m_commands->execute(COMMAND_GET_DATETIME, CommandParameters()));
    const LinkResults r = m_rig->records.results.get();
    QCOMPARE(r.dateDifference, days);
    QCOMPARE(r.timeDifference, seconds);
    QCOMPARE(r.lastTimeUpdate, m_rig->clock.now());
    QCOMPARE(ready.count(), 1);
    QCOMPARE(m_rig->lines.size(), 2);
    QCOMPARE(m_rig->lines.at(0), QStringLiteral("black: Date: ") + QString::fromLatin1(device.left(10)));
}

void tst_DeviceCommands::readings_areStoredAndSignalled()
{
    QByteArray parameters(44, '\0');
    const QByteArray limit = floats({3.5e-11f});
    parameters.replace(16, 4, limit);  // answer offset 24
    m_rig->answer("PR0", parameters);
    m_rig->answer("Q00", floats({1e-21f, -2e-21f, 0, 5e-10f}));
    m_rig->answer("X00", QByteArray(1, '\x01'));
    QSignalSpy limitSpy(m_commands.get(), &DeviceCommands::updateCurrentFreqLimit);
    QSignalSpy aveSpy(m_commands.get(), &DeviceCommands::aveStateRcvd);
    m_commands->setDebugLevel(1);

    QVERIFY(m_commands->execute(COMMAND_GET_FREQ_LIMIT, CommandParameters()));
    QVERIFY(m_commands->execute(COMMAND_GET_AVE, CommandParameters()));
    QVERIFY(m_commands->execute(COMMAND_GET_AVE_ENABLED, CommandParameters()));

    const LinkResults r = m_rig->records.results.get();
    QCOMPARE(r.currentLimit, 3.5e-11f);
    QCOMPARE(r.aveValues[1], -2e-21f);
    QCOMPARE(r.aveValues[3], 5e-10f);
    QVERIFY(r.aveEnabled);
    QCOMPARE(limitSpy.count(), 1);
    QCOMPARE(aveSpy.count(), 2);
    QCOMPARE(m_rig->lines,
             (QStringList{"blue: Get AVE OK ", "blue: AVE 0 1e-21", "blue: AVE 1 -2e-21", "blue: AVE 2 0",
                          "blue: AVE 3 5e-10", "blue: Read AVE permission OK "}));
}

void tst_DeviceCommands::lateAnswer_isNotTakenForTheNextCommand()
{
    // The limit's answer comes after the wait; the next command must not read it.
    m_rig->answer("m30", floats({1e-10f}), 1500);
    CommandParameters p;
    p.freq_diffLimit_newValue = 1e-10;
    QVERIFY(!m_commands->execute(COMMAND_SET_FREQ_LIMIT, p));
    m_rig->clock.advance(1000);

    QVERIFY(m_commands->execute(COMMAND_SET_AVE, p));
    QCOMPARE(m_rig->lines, (QStringList{"red: New limit command failed!", "blue: New AVE OK "}));
}

void tst_DeviceCommands::unknownCode_sendsNothing_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("smooth steering is not a device command") << int(COMMAND_SMART_CONTROL);
    QTest::newRow("journal download is not a device command") << int(COMMAND_GET_JOURNAL);
    QTest::newRow("1PPS offset belongs to the poll") << int(COMMAND_GET_1PPS_OFFSET);
    QTest::newRow("23") << 23;
    QTest::newRow("-1") << -1;
}

void tst_DeviceCommands::unknownCode_sendsNothing()
{
    QFETCH(int, code);
    QVERIFY(!m_commands->execute(code, defaults()));
    QVERIFY(m_rig->frames().isEmpty());
    QVERIFY(m_rig->lines.isEmpty());
}

void tst_DeviceCommands::masterChannel_outsideChannels_sendsNothing_data()
{
    QTest::addColumn<qint32>("channel");
    QTest::newRow("0") << 0;
    QTest::newRow("5") << 5;
    QTest::newRow("-1") << -1;
    QTest::newRow("256 (digit '0' once cut to a byte)") << 256;
    QTest::newRow("260 (digit '4' once cut to a byte)") << 260;
}

void tst_DeviceCommands::masterChannel_outsideChannels_sendsNothing()
{
    QFETCH(qint32, channel);
    CommandParameters p = defaults();
    p.syncControl_info.Ref_Chan = channel;
    QVERIFY(!m_commands->execute(COMMAND_MASTER_CHAN, p));
    QVERIFY(m_rig->frames().isEmpty());
    QCOMPARE(m_rig->lines,
             QStringList{"red: Command SET_MASTER_CHAN Error. Error in number of  a channel."});
}

QTEST_GUILESS_MAIN(tst_DeviceCommands)
#include "tst_devicecommands.moc"
