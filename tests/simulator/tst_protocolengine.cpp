#include "simulator/InstrumentAnswers.h"
#include "simulator/ProtocolEngine.h"
#include "tests/support/VirtualClock.h"

#include "link/CommandTable.h"
#include "link/Frame.h"

#include <QtTest>

namespace {

QByteArray f32(float v)
{
    QByteArray b;
    Frame::appendF32(b, v);
    return b;
}

char digitFor(Request r)
{
    // A digit that each parameterised request accepts: channel 2, mode 2.
    const char *code = CommandTable::format(r).code;
    return (code[1] == '?' || code[2] == '?') ? '2' : '0';
}

}  // namespace

class tst_ProtocolEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyCode_answersInTheTableLayout();
    void statusRecords_carryTheModelState_data();
    void statusRecords_carryTheModelState();
    void setCommand_changesModelAndIsConfirmed_data();
    void setCommand_changesModelAndIsConfirmed();
    void masterChannel_outcomeAtByte3_data();
    void masterChannel_outcomeAtByte3();
    void ppsSync_reportsDelayAndExternalFlag();
    void requestsInOneWrite_areAnsweredInOrder();
    void wireTime_answerNotBeforeTheLineCarriedBoth();
    void silent_answersNothingButStillTraces();
    void traceLine_hasTimeCodeAndPayloadHex();

private:
    QByteArray ask(Request r, const QByteArray &payload = QByteArray(), char digit = '0');

    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<ProtocolEngine> m_engine;
};

void tst_ProtocolEngine::init()
{
    m_clock = std::make_unique<VirtualClock>();
    m_engine = std::make_unique<ProtocolEngine>(*m_clock, 7);
}

void tst_ProtocolEngine::cleanup()
{
    m_engine.reset();
    m_clock.reset();
}

QByteArray tst_ProtocolEngine::ask(Request r, const QByteArray &payload, char digit)
{
    const QList<SimAnswer> answers = m_engine->feed(Frame::request(r, payload, digit));
    return answers.size() == 1 ? answers.first().bytes : QByteArray();
}

void tst_ProtocolEngine::everyCode_answersInTheTableLayout()
{
    for (const CommandFormat *row = CommandTable::begin(); row != CommandTable::end(); ++row) {
        const char digit = digitFor(row->request);
        const QByteArray code = CommandTable::code(row->request, digit);
        const QByteArray answer = ask(row->request, QByteArray(row->payloadSize, '\0'), digit);
        QVERIFY2(answer.size() >= row->minAnswer, code.constData());
        QCOMPARE(answer.at(0), Frame::StartByte);
        QCOMPARE(answer.mid(1, 2), code.left(2));
        QCOMPARE(int(Frame::check(answer, *row, code)), int(Frame::Result::Accepted));
        if (row->crcOffset > 0)
            QCOMPARE(answer.size(), row->crcOffset + 4);
    }
}

void tst_ProtocolEngine::statusRecords_carryTheModelState_data()
{
    QTest::addColumn<int>("request");
    QTest::newRow("P10 DETECT") << int(Request::Detect);
    QTest::newRow("PC0 ADJ_CMD_STATE") << int(Request::CmdState);
    QTest::newRow("PA0 ADJ_STATE") << int(Request::AdjState);
    QTest::newRow("PV0 VAR_STRUCT") << int(Request::VarStruct);
    QTest::newRow("P30 1PPS delay") << int(Request::PpsDelay);
    QTest::newRow("PR0 parameter block") << int(Request::Parameters);
    QTest::newRow("FN0 identification") << int(Request::Identify);
    QTest::newRow("7N0 device information") << int(Request::DeviceInfo);
}

void tst_ProtocolEngine::statusRecords_carryTheModelState()
{
    QFETCH(int, request);
    const Request r = Request(request);
    m_clock->advance(5432);  // let the noise move the values first
    QByteArray expected;
    m_engine->withModel([&](InstrumentModel &m) {
        switch (r) {
        case Request::Detect: expected = m.detect().toPayload(); break;
        case Request::CmdState: expected = m.cmdState().toPayload(); break;
        case Request::AdjState: expected = m.adjState().toPayload(); break;
        case Request::VarStruct: expected = m.varState().toPayload(); break;
        case Request::PpsDelay: expected = m.ppsRecord().toPayload(); break;
        case Request::Parameters: expected = m.parameterBlock(); break;
        case Request::Identify: expected = m.identity().identificationField(); break;
        default: expected = m.identity().infoBlock(); break;
        }
    });
    QVERIFY(!expected.isEmpty());
    QCOMPARE(Frame::payload(ask(r), expected.size()).toHex(' '), expected.toHex(' '));
}

void tst_ProtocolEngine::setCommand_changesModelAndIsConfirmed_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<char>("digit");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("confirmed");  // answer bytes from 8
    QTest::addColumn<int>("readBack");          // request that shows the change
    QTest::addColumn<int>("readOffset");        // answer offset of the change
    QTest::addColumn<QByteArray>("readBytes");

    const QByteArray offset = f32(2.5e-12f);
    QTest::newRow("m10 offset shows in ADJ_STATE")
        << int(Request::FreqOffset) << '0' << offset << offset << int(Request::AdjState) << 8 << offset;
    const QByteArray drift = f32(-3e-15f);
    QTest::newRow("m20 drift shows in ADJ_STATE")
        << int(Request::FreqDrift) << '0' << drift << drift << int(Request::AdjState) << 12 << drift;
    const QByteArray limit = f32(3e-11f);
    QTest::newRow("m30 limit shows in PR0 at 24")
        << int(Request::FreqLimit) << '0' << limit << limit << int(Request::Parameters) << 24 << limit;
    QTest::newRow("m10 beyond the range is clamped and confirmed so")
        << int(Request::FreqOffset) << '0' << f32(1.0f) << f32(1e-6f) << int(Request::AdjState) << 8
        << f32(1e-6f);
    QTest::newRow("W20 switches synchronisation off")
        << int(Request::SyncOff) << '0' << QByteArray() << QByteArray() << int(Request::CmdState) << 8
        << QByteArray(2, '\0');
    QTest::newRow("M10 averaging clears the switching flag")
        << int(Request::Mode) << '1' << QByteArray() << QByteArray("1") << int(Request::CmdState)
        << 8 + 36 << QByteArray(2, '\0');
    QTest::newRow("X10 permits AVE, X00 reads it")
        << int(Request::AveOn) << '0' << QByteArray() << QByteArray("\x01") << int(Request::AvePermission)
        << 8 << QByteArray("\x01");
    QTest::newRow("X10 also sets the AVE flag of ADJ_CMD_STATE")
        << int(Request::AveOn) << '0' << QByteArray() << QByteArray("\x01") << int(Request::CmdState)
        << 8 + 36 << QByteArray::fromHex("0011");
    const QByteArray intervals = QByteArray::fromHex("5802BC0220038403");
    QTest::newRow("c10 intervals 600 700 800 900")
        << int(Request::QualIntervals) << '0' << intervals << QByteArray() << int(Request::Parameters)
        << 8 + 8 << intervals;
    const QByteArray prio = QByteArray::fromHex("02010304");
    QTest::newRow("a10 priorities")
        << int(Request::Priorities) << '0' << prio << prio + QByteArray(4, '\0') << int(Request::Parameters)
        << 8 + 20 << prio;
    const QByteArray ave = QByteArray::fromHex("01000000feffffff0000803f00000000");
    QTest::newRow("Q10 values come back from Q00")
        << int(Request::AveWrite) << '0' << ave << ave << int(Request::AveRead) << 8 << ave;
    QTest::newRow("T10 sets the clock that T00 reads")
        << int(Request::DateTimeSet) << '0' << QByteArray::fromHex("1A01070F2D02")
        << QByteArray("07.01.2026 15:45:02") << int(Request::DateTimeRead) << 8
        << QByteArray("07.01.2026 15:45:02");
    QTest::newRow("T10 with 31 December 2099")
        << int(Request::DateTimeSet) << '0' << QByteArray::fromHex("630C1F173B3B")
        << QByteArray("31.12.2099 23:59:59") << int(Request::DateTimeRead) << 8
        << QByteArray("31.12.2099 23:59:59");
    QTest::newRow("o21 removes channel 1 from the group")
        << int(Request::RemoveChannel) << '1' << QByteArray() << QByteArray() << int(Request::CmdState)
        << 8 + 10 << QByteArray(2, '\0');
    QByteArray phase = f32(1000.0f) + f32(0.0f);  // 1 us: 100 units of 10 ns
    QTest::newRow("500 phase step moves the 1PPS delay")
        << int(Request::PhaseCorrection) << '0' << phase << QByteArray() << int(Request::PpsDelay) << 8
        << QByteArray::fromHex("89000000");
    QTest::newRow("G!0 empties the journal")
        << int(Request::JournalClear) << '0' << QByteArray() << QByteArray() << int(Request::JournalSize)
        << 8 << QByteArray(2, '\0');
}

void tst_ProtocolEngine::setCommand_changesModelAndIsConfirmed()
{
    QFETCH(int, request);
    QFETCH(char, digit);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, confirmed);
    QFETCH(int, readBack);
    QFETCH(int, readOffset);
    QFETCH(QByteArray, readBytes);

    m_engine->withModel([](InstrumentModel &m) { m.fillJournal(5, 0); });
    const Request r = Request(request);
    const QByteArray answer = ask(r, payload, digit);
    QCOMPARE(int(Frame::check(answer, CommandTable::format(r), CommandTable::code(r, digit))),
             int(Frame::Result::Accepted));
    if (!confirmed.isEmpty())
        QCOMPARE(answer.mid(8, confirmed.size()).toHex(' '), confirmed.toHex(' '));
    const QByteArray read = ask(Request(readBack), QByteArray(CommandTable::format(Request(readBack)).payloadSize, '0'));
    QCOMPARE(read.mid(readOffset, readBytes.size()).toHex(' '), readBytes.toHex(' '));
}

void tst_ProtocolEngine::masterChannel_outcomeAtByte3_data()
{
    QTest::addColumn<bool>("sync");
    QTest::addColumn<bool>("switching");
    QTest::addColumn<bool>("estimating");
    QTest::addColumn<bool>("noneInUse");
    QTest::addColumn<char>("digit");
    QTest::addColumn<char>("outcome");
    QTest::addColumn<int>("masterAfter");

    QTest::newRow("backup 1 becomes master") << true << true << false << false << '2' << '0' << 2;
    QTest::newRow("no PLL while sync is off") << false << true << false << false << '2' << '1' << 1;
    QTest::newRow("no reservation in averaging mode") << true << false << false << false << '2' << '2' << 1;
    QTest::newRow("initial analysis still running") << true << true << true << false << '2' << '3' << 1;
    QTest::newRow("a qualifying channel is no reserve") << true << true << false << false << '3' << '4' << 1;
    QTest::newRow("no channel in use, no master") << true << true << false << true << '2' << '5' << 0;
    QTest::newRow("old and new master equal") << true << true << false << false << '1' << '6' << 1;
    QTest::newRow("channel 9 does not exist") << true << true << false << false << '9' << '7' << 1;
}

void tst_ProtocolEngine::masterChannel_outcomeAtByte3()
{
    QFETCH(bool, sync);
    QFETCH(bool, switching);
    QFETCH(bool, estimating);
    QFETCH(bool, noneInUse);
    QFETCH(char, digit);
    QFETCH(char, outcome);
    QFETCH(int, masterAfter);

    m_engine->withModel([&](InstrumentModel &m) {
        m.setSync(sync);
        m.setMode(switching ? '2' : '1');
        m.setEstimationLeftMs(estimating ? 60000 : 0);
        if (noneInUse) {
            m.removeChannel(1);
            m.removeChannel(2);
        }
    });
    const QByteArray answer = ask(Request::MasterChannel, QByteArray(), digit);
    QCOMPARE(int(Frame::check(answer, CommandTable::format(Request::MasterChannel),
                              CommandTable::code(Request::MasterChannel, digit))),
             int(Frame::Result::Accepted));
    QCOMPARE(answer.at(3), outcome);
    QCOMPARE(m_engine->withModel([](InstrumentModel &m) { return m.master(); }), masterAfter);
}

void tst_ProtocolEngine::ppsSync_reportsDelayAndExternalFlag()
{
    QByteArray answer = ask(Request::PpsSync);
    QCOMPARE(Frame::i16(answer, 8), qint16(0));
    const qint32 delay = Frame::i32(answer, 10);
    QVERIFY(qAbs(delay) <= 2);
    QCOMPARE(Frame::u8(answer, 14), quint8(1));
    QCOMPARE(Frame::i32(ask(Request::PpsDelay), 8), delay);

    m_engine->withModel([](InstrumentModel &m) { m.setExternalPps(false); });
    answer = ask(Request::PpsSync);
    QCOMPARE(Frame::i16(answer, 8), qint16(1));
    QCOMPARE(Frame::u8(answer, 14), quint8(0));
    QCOMPARE(Frame::i16(ask(Request::PpsDelay), 14), qint16(0));
}

void tst_ProtocolEngine::requestsInOneWrite_areAnsweredInOrder()
{
    const QByteArray burst = Frame::request(Request::Detect) + Frame::request(Request::FreqOffset, f32(1e-12f))
                             + Frame::request(Request::Identify);
    const QList<SimAnswer> answers = m_engine->feed(burst);
    QCOMPARE(answers.size(), 3);
    QCOMPARE(answers.at(0).bytes.mid(1, 3), QByteArray("P10"));
    QCOMPARE(answers.at(1).bytes.mid(1, 3), QByteArray("m10"));
    QCOMPARE(answers.at(2).bytes.mid(1, 3), QByteArray("FN0"));
    QCOMPARE(m_engine->requestsReceived(), qint64(3));
}

void tst_ProtocolEngine::wireTime_answerNotBeforeTheLineCarriedBoth()
{
    const qint64 now = m_clock->monotonicMs();
    QCOMPARE(m_engine->feed(Frame::request(Request::Detect)).first().dueMs, now);

    m_engine->setWireTime(true);
    // 8 request bytes and 20 answer bytes at 86.8 us each: 2.43 ms.
    const QList<SimAnswer> one = m_engine->feed(Frame::request(Request::Detect));
    QCOMPARE(one.first().dueMs, now + 3);

    // Two answers share the line: the first starts once the line is free
    // (2432 us) and ends after 100 bytes (8681 us), the second follows it.
    const QList<SimAnswer> two =
        m_engine->feed(Frame::request(Request::AdjState) + Frame::request(Request::AdjState));
    QCOMPARE(two.size(), 2);
    QCOMPARE(two.at(0).dueMs, now + 12);
    QCOMPARE(two.at(1).dueMs, now + 20);
    QCOMPARE(ProtocolEngine::wireMicros(115200), qint64(10000000));
}

void tst_ProtocolEngine::silent_answersNothingButStillTraces()
{
    QStringList traced;
    m_engine->setRequestObserver([&](const ReceivedRequest &r) { traced.append(QString::fromLatin1(r.code)); });
    m_engine->setSilent(true);
    QVERIFY(m_engine->feed(Frame::request(Request::Detect)).isEmpty());
    m_engine->setSilent(false);
    QCOMPARE(m_engine->feed(Frame::request(Request::CmdState)).size(), 1);
    QCOMPARE(traced, QStringList({"P10", "PC0"}));
    QCOMPARE(m_engine->answersSent(), qint64(1));
}

void tst_ProtocolEngine::traceLine_hasTimeCodeAndPayloadHex()
{
    const QDateTime at(QDate(2026, 1, 7), QTime(15, 45, 2, 30));
    QCOMPARE(ProtocolEngine::traceLine({at, "m10", QByteArray::fromHex("0000803f")}),
             QString("2026-01-07T15:45:02.030 m10 0000803f"));
    QCOMPARE(ProtocolEngine::traceLine({at, "P10", QByteArray()}), QString("2026-01-07T15:45:02.030 P10 -"));
}

QTEST_GUILESS_MAIN(tst_ProtocolEngine)
#include "tst_protocolengine.moc"
