#include "simulator/FaultPlan.h"
#include "simulator/ProtocolEngine.h"
#include "tests/support/VirtualClock.h"

#include "link/CommandTable.h"
#include "link/Frame.h"

#include <QtTest>

class tst_FaultPlan : public QObject
{
    Q_OBJECT

private slots:
    void add_parsesTextForms_data();
    void add_parsesTextForms();
    void add_rejectsMistakes_data();
    void add_rejectsMistakes();
    void fault_spoilsTheAnswerAsNamed_data();
    void fault_spoilsTheAnswerAsNamed();
    void confirmOther_appliesAndConfirmsAnotherValue();
    void garbage_isNoFrameOfAnyKind();
    void answeredRequests_followTheCounts_data();
    void answeredRequests_followTheCounts();

private:
    struct Exchange {
        QList<SimAnswer> faulty;
        QByteArray good;
        qint64 now;
    };
    static Exchange exchange(const QString &rules, Request r, const QByteArray &payload, char digit);
};

void tst_FaultPlan::add_parsesTextForms_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("times");

    QTest::newRow("checksum on P10") << "checksum:P10" << int(FaultKind::Checksum) << QByteArray("P10") << 0 << -1;
    QTest::newRow("silent on all") << "silent:all" << int(FaultKind::Silent) << QByteArray() << 0 << -1;
    QTest::newRow("code may be left out") << "garbage" << int(FaultKind::Garbage) << QByteArray() << 0 << -1;
    QTest::newRow("late with its delay") << "late:PC0:1500" << int(FaultKind::Late) << QByteArray("PC0") << 1500 << -1;
    QTest::newRow("late defaults to 1500 ms") << "late:W10" << int(FaultKind::Late) << QByteArray("W10") << 1500 << -1;
    QTest::newRow("silent-after with a count") << "silent-after:40"
        << int(FaultKind::SilentAfter) << QByteArray() << 40 << -1;
    QTest::newRow("silent-after for one code") << "silent-after:G-0:5"
        << int(FaultKind::SilentAfter) << QByteArray("G-0") << 5 << -1;
    QTest::newRow("truncate defaults to half") << "truncate:PA0"
        << int(FaultKind::Truncate) << QByteArray("PA0") << -1 << -1;
    QTest::newRow("truncate keeping 99 bytes") << "truncate:PA0:99"
        << int(FaultKind::Truncate) << QByteArray("PA0") << 99 << -1;
    QTest::newRow("echo on W10") << "echo:W10" << int(FaultKind::Echo) << QByteArray("W10") << 0 << -1;
    QTest::newRow("nostart on P10") << "nostart:P10" << int(FaultKind::NoStart) << QByteArray("P10") << 0 << -1;
    QTest::newRow("confirm-other on m10") << "confirm-other:m10"
        << int(FaultKind::ConfirmOther) << QByteArray("m10") << 0 << -1;
    QTest::newRow("any digit of include") << "silent:o1?" << int(FaultKind::Silent) << QByteArray("o1?") << 0 << -1;
    QTest::newRow("limited to three requests") << "checksum:P10*3"
        << int(FaultKind::Checksum) << QByteArray("P10") << 0 << 3;
}

void tst_FaultPlan::add_parsesTextForms()
{
    QFETCH(QString, rules);
    QFETCH(int, kind);
    QFETCH(QByteArray, code);
    QFETCH(int, param);
    QFETCH(int, times);
    FaultPlan plan;
    QString error;
    QVERIFY2(plan.add(rules, &error), qPrintable(error));
    QCOMPARE(plan.rules().size(), 1);
    const FaultRule &rule = plan.rules().first();
    QCOMPARE(int(rule.kind), kind);
    QCOMPARE(rule.code, code);
    QCOMPARE(rule.param, param);
    QCOMPARE(rule.times, times);
}

void tst_FaultPlan::add_rejectsMistakes_data()
{
    QTest::addColumn<QString>("rules");
    QTest::newRow("unknown kind") << "wobble:P10";
    QTest::newRow("unknown code") << "checksum:ZZZ";
    QTest::newRow("code too long") << "checksum:P100";
    QTest::newRow("late without a number") << "late:PC0:soon";
    QTest::newRow("late far too late") << "late:PC0:9999999";
    QTest::newRow("silent-after without a count") << "silent-after";
    QTest::newRow("silent-after with a bad count") << "silent-after:-1";
    QTest::newRow("confirm-other where nothing is confirmed") << "confirm-other:P10";
    QTest::newRow("extra field") << "checksum:P10:5";
    QTest::newRow("bad repeat count") << "silent:P10*0";
    QTest::newRow("empty") << "";
    QTest::newRow("one bad item spoils the list") << "checksum:P10,wobble";
}

void tst_FaultPlan::add_rejectsMistakes()
{
    QFETCH(QString, rules);
    FaultPlan plan;
    QString error;
    QVERIFY(!plan.add(rules, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(plan.isEmpty());
}

tst_FaultPlan::Exchange tst_FaultPlan::exchange(const QString &rules, Request r, const QByteArray &payload,
                                                char digit)
{
    // Two instruments alike but for the fault: the good answer to compare with.
    VirtualClock clock;
    ProtocolEngine faulty(clock, 3);
    ProtocolEngine good(clock, 3);
    if (!faulty.addFaults(rules))
        return {};
    const QByteArray frame = Frame::request(r, payload, digit);
    return {faulty.feed(frame), good.feed(frame).value(0).bytes, clock.monotonicMs()};
}

void tst_FaultPlan::fault_spoilsTheAnswerAsNamed_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("result");       // Frame::check of the faulty answer, -1: no answer
    QTest::addColumn<QList<int>>("changed");  // byte offsets that differ from the good answer
    QTest::addColumn<int>("size");         // faulty answer length, -1: as the good one
    QTest::addColumn<int>("delayMs");

    using R = Frame::Result;
    QTest::newRow("silent gives no answer") << "silent:P10" << int(Request::Detect) << -1 << QList<int>{} << -1 << 0;
    QTest::newRow("silent on another code leaves P10 alone")
        << "silent:PC0" << int(Request::Detect) << int(R::Accepted) << QList<int>{} << -1 << 0;
    QTest::newRow("checksum spoils the CRC only")
        << "checksum:P10" << int(Request::Detect) << int(R::WrongChecksum) << QList<int>{16} << -1 << 0;
    QTest::newRow("nostart spoils byte 0 only")
        << "nostart:P10" << int(Request::Detect) << int(R::NoStartByte) << QList<int>{0} << -1 << 0;
    QTest::newRow("echo spoils the letter, CRC rewritten")
        << "echo:W10" << int(Request::SyncOn) << int(R::WrongEcho) << QList<int>{1, 8, 9} << -1 << 0;
    QTest::newRow("truncate to half is a timeout")
        << "truncate:PA0" << int(Request::AdjState) << int(R::Timeout) << QList<int>{} << 50 << 0;
    QTest::newRow("truncate one byte short is a timeout")
        << "truncate:P10:19" << int(Request::Detect) << int(R::Timeout) << QList<int>{} << 19 << 0;
    QTest::newRow("late by 1500 ms") << "late:PC0:1500" << int(Request::CmdState) << int(R::Accepted)
                                     << QList<int>{} << -1 << 1500;
    QTest::newRow("faults combine") << "late:P10:200,checksum:P10" << int(Request::Detect)
                                    << int(R::WrongChecksum) << QList<int>{16} << -1 << 200;
}

void tst_FaultPlan::fault_spoilsTheAnswerAsNamed()
{
    QFETCH(QString, rules);
    QFETCH(int, request);
    QFETCH(int, result);
    QFETCH(QList<int>, changed);
    QFETCH(int, size);
    QFETCH(int, delayMs);

    const Request r = Request(request);
    const Exchange x = exchange(rules, r, QByteArray(CommandTable::format(r).payloadSize, '\0'), '0');
    if (result < 0) {
        QVERIFY(x.faulty.isEmpty());
        return;
    }
    QCOMPARE(x.faulty.size(), 1);
    const QByteArray bytes = x.faulty.first().bytes;
    QCOMPARE(int(Frame::check(bytes, CommandTable::format(r), CommandTable::code(r))), result);
    QCOMPARE(bytes.size(), size < 0 ? x.good.size() : size);
    QCOMPARE(x.faulty.first().dueMs, x.now + delayMs);
    QList<int> differ;
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != x.good.at(i))
            differ.append(i);
    }
    QCOMPARE(differ, changed);
}

void tst_FaultPlan::confirmOther_appliesAndConfirmsAnotherValue()
{
    VirtualClock clock;
    ProtocolEngine engine(clock);
    QVERIFY(engine.addFaults("confirm-other:m10"));
    QByteArray value;
    Frame::appendF32(value, 4e-12f);
    const QByteArray answer = engine.feed(Frame::request(Request::FreqOffset, value)).value(0).bytes;
    QCOMPARE(int(Frame::check(answer, CommandTable::format(Request::FreqOffset), "m10")),
             int(Frame::Result::Accepted));
    QCOMPARE(Frame::f32(answer, 8), 2e-12f);
    QCOMPARE(engine.withModel([](InstrumentModel &m) { return m.freqOffset(); }), 2e-12f);

    // The drift is unaffected by a fault on m10.
    const QByteArray drift = engine.feed(Frame::request(Request::FreqDrift, value)).value(0).bytes;
    QCOMPARE(Frame::f32(drift, 8), 4e-12f);
}

void tst_FaultPlan::garbage_isNoFrameOfAnyKind()
{
    VirtualClock clock;
    ProtocolEngine engine(clock);
    QVERIFY(engine.addFaults("garbage:all"));
    for (Request r : {Request::Identify, Request::JournalNext, Request::AdjState}) {
        const QByteArray garbage = engine.feed(Frame::request(r)).value(0).bytes;
        QCOMPARE(garbage.size(), qMax(CommandTable::format(r).minAnswer, 24));
        QVERIFY(garbage.at(0) != Frame::StartByte);
    }
}

void tst_FaultPlan::answeredRequests_followTheCounts_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QList<int>>("answered");  // P10 and PC0 in turn
    QTest::newRow("silent-after 3 answers of any code") << "silent-after:3" << QList<int>{1, 1, 1, 0, 0, 0};
    QTest::newRow("silent-after counts only its code") << "silent-after:PC0:1" << QList<int>{1, 1, 1, 0, 1, 0};
    QTest::newRow("silent for the next two P10 only") << "silent:P10*2" << QList<int>{0, 1, 0, 1, 1, 1};
    QTest::newRow("silent-after 0 is silent at once") << "silent-after:0" << QList<int>{0, 0, 0, 0, 0, 0};
}

void tst_FaultPlan::answeredRequests_followTheCounts()
{
    QFETCH(QString, rules);
    QFETCH(QList<int>, answered);
    VirtualClock clock;
    ProtocolEngine engine(clock);
    QVERIFY(engine.addFaults(rules));
    QList<int> got;
    for (int i = 0; i < answered.size(); ++i)
        got.append(engine.feed(Frame::request(i % 2 ? Request::CmdState : Request::Detect)).size());
    QCOMPARE(got, answered);
    engine.clearFaults();
    QCOMPARE(engine.feed(Frame::request(Request::Detect)).size(), 1);
}

QTEST_GUILESS_MAIN(tst_FaultPlan)
#include "tst_faultplan.moc"
