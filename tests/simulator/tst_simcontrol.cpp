#include "simulator/ProtocolEngine.h"
#include "simulator/SimControl.h"
#include "tests/support/VirtualClock.h"

#include "link/Frame.h"

#include <QtTest>

class tst_SimControl : public QObject
{
    Q_OBJECT

private slots:
    void commands_steerTheInstrument();
    void mistakes_areExplainedAndChangeNothing_data();
    void mistakes_areExplainedAndChangeNothing();
};

void tst_SimControl::commands_steerTheInstrument()
{
    VirtualClock clock;
    ProtocolEngine engine(clock);
    auto answers = [&] { return engine.feed(Frame::request(Request::Detect)).size(); };
    auto detectWord = [&](int channel) {
        return engine.withModel([&](InstrumentModel &m) { return quint16(m.detect().chan[channel - 1]); });
    };

    QCOMPARE(SimControl::apply(engine, "silent on"), QString());
    QCOMPARE(answers(), 0);
    QCOMPARE(SimControl::apply(engine, "  silent   off "), QString());
    QCOMPARE(answers(), 1);

    QCOMPARE(SimControl::apply(engine, "fault silent:P10"), QString());
    QCOMPARE(answers(), 0);
    QCOMPARE(SimControl::apply(engine, "clear-faults"), QString());
    QCOMPARE(answers(), 1);

    QCOMPARE(SimControl::apply(engine, "channel 4 detect on"), QString());
    QCOMPARE(detectWord(4), quint16(0x0001));
    QCOMPARE(SimControl::apply(engine, "channel 1 detect off"), QString());
    QCOMPARE(detectWord(1), quint16(0));
    QCOMPARE(SimControl::apply(engine, "channel 2 error 0x80"), QString());
    QCOMPARE(detectWord(2), quint16(0x8001));

    QCOMPARE(SimControl::apply(engine, "pps off"), QString());
    QCOMPARE(Frame::i16(engine.feed(Frame::request(Request::PpsDelay)).value(0).bytes, 14), qint16(0));

    // Steady: the offset read back is the one set, second after second.
    QCOMPARE(SimControl::apply(engine, "steady on"), QString());
    QCOMPARE(SimControl::apply(engine, "offset 2.5e-13"), QString());
    clock.advance(5000);
    const QByteArray adj = engine.feed(Frame::request(Request::AdjState)).value(0).bytes;
    QCOMPARE(Frame::f32(adj, 8), 2.5e-13f);
}

void tst_SimControl::mistakes_areExplainedAndChangeNothing_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("unknown command") << "reboot";
    QTest::newRow("silent without on or off") << "silent maybe";
    QTest::newRow("channel 5") << "channel 5 detect on";
    QTest::newRow("channel without a number") << "channel x detect on";
    QTest::newRow("channel error too large") << "channel 1 error 256";
    QTest::newRow("channel with an unknown verb") << "channel 1 explode on";
    QTest::newRow("bad fault") << "fault checksum:ZZZ";
    QTest::newRow("clear-faults with an argument") << "clear-faults now";
    QTest::newRow("offset beyond the loop's range") << "offset 1e-3";
    QTest::newRow("offset not a number") << "offset nan";
}

void tst_SimControl::mistakes_areExplainedAndChangeNothing()
{
    QFETCH(QString, line);
    VirtualClock clock;
    ProtocolEngine engine(clock);
    const QByteArray before = engine.withModel([](InstrumentModel &m) { return m.detect().toPayload(); });
    QVERIFY(!SimControl::apply(engine, line).isEmpty());
    QCOMPARE(engine.withModel([](InstrumentModel &m) { return m.detect().toPayload(); }), before);
    QCOMPARE(engine.feed(Frame::request(Request::Detect)).size(), 1);
}

QTEST_GUILESS_MAIN(tst_SimControl)
#include "tst_simcontrol.moc"
