#include "link/Frame.h"
#include "link/Records.h"

#include <QtTest>

class tst_Records : public QObject
{
    Q_OBJECT

private slots:
    void channelState_data();
    void channelState();
    void cmdState_decodesEveryField();
    void floatsDecodedLittleEndian();
    void shortPayload_givesZeros();
    void ppsDelay_andRoundTrips();
};

void tst_Records::channelState_data()
{
    QTest::addColumn<int>("detect");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("qual");
    QTest::addColumn<int>("state");
    QTest::newRow("not detected") << 0 << 0x0001 << 0 << 0;
    QTest::newRow("error byte with sign bit, low byte 1") << int(qint16(0x8001)) << 0x0001 << 0 << 0;
    QTest::newRow("error byte only, positive") << 0x0100 << 0x0001 << 0 << 3;
    QTest::newRow("in group, role 0") << 1 << 0x0001 << 0 << 3;
    QTest::newRow("role 7 counts as in group") << 1 << 0x0071 << 0 << 3;
    QTest::newRow("backup 3") << 1 << 0x0031 << 0 << 13;
    QTest::newRow("backup 1") << 1 << 0x0011 << 0 << 11;
    QTest::newRow("role 5") << 1 << 0x0051 << 0 << 15;
    QTest::newRow("qualifying") << 1 << 0x0030 << 7 << 5;
    QTest::newRow("detected, not in group") << 1 << 0x0030 << 0 << 1;
}

void tst_Records::channelState()
{
    QFETCH(int, detect);
    QFETCH(int, word);
    QFETCH(int, qual);
    QFETCH(int, state);
    DETECT d;
    ADJ_CMD_STATE c;
    d.chan[2] = qint16(detect);
    c.chanWord[2] = qint16(word);
    c.qualState[2] = qint16(qual);
    QCOMPARE(ChannelState::of(d, c, 3), state);
    QCOMPARE(ChannelState::of(d, c, 1), 0);
    QCOMPARE(ChannelState::of(d, c, 0), 0);
    QCOMPARE(ChannelState::of(d, c, 5), 0);
}

void tst_Records::cmdState_decodesEveryField()
{
    QByteArray p;
    for (int i = 0; i < ADJ_CMD_STATE::Size; ++i)
        p.append(char(i));
    const ADJ_CMD_STATE s = ADJ_CMD_STATE::fromPayload(p);
    QCOMPARE(s.syncStatus, qint16(0x0100));
    QCOMPARE(s.qualState[0], qint16(0x0302));
    QCOMPARE(s.chanWord[3], qint16(0x1110));
    QCOMPARE(s.qualTimeLeft[0], quint16(0x1312));
    QCOMPARE(s.estimationTimeLeft, quint16(0x1B1A));
    QCOMPARE(s.flags, quint16(0x2524));
    QCOMPARE(s.toPayload(), p);

    ADJ_CMD_STATE m;
    m.flags = 0x1100;
    QVERIFY(m.switchingMode());
    QVERIFY(m.avePermitted());
    QCOMPARE(m.toPayload().at(37), char(0x11));
}

void tst_Records::floatsDecodedLittleEndian()
{
    ADJ_STATE a;
    a.freqOffset = 1.0894e-15f;
    a.chanOffset[3] = -0.00012f;
    const QByteArray p = a.toPayload();
    QCOMPARE(p.size(), ADJ_STATE::Size);
    QCOMPARE(Frame::f32(p, 68), -0.00012f);
    QCOMPARE(ADJ_STATE::fromPayload(p).freqOffset, 1.0894e-15f);
    // 1.0f is 00 00 80 3F on the wire
    QCOMPARE(ADJ_STATE::fromPayload(QByteArray::fromHex("0000803F")).freqOffset, 1.0f);

    VAR_STRUCT v;
    v.value[6] = 2.5e-13f;
    QCOMPARE(VAR_STRUCT::fromPayload(v.toPayload()).adev(4), 2.5e-13f);
}

void tst_Records::shortPayload_givesZeros()
{
    const ADJ_CMD_STATE s = ADJ_CMD_STATE::fromPayload(QByteArray("\x01\x00\x07", 3));
    QCOMPARE(s.syncStatus, qint16(1));
    QCOMPARE(s.flags, quint16(0));
    QCOMPARE(DETECT::fromPayload(QByteArray()).chan[3], qint16(0));
}

void tst_Records::ppsDelay_andRoundTrips()
{
    const PPS_DELAY d = PPS_DELAY::fromPayload(QByteArray::fromHex("25000000" "0000" "0100"));
    QCOMPARE(d.delay, quint32(37));
    QCOMPARE(d.external, qint16(1));
    QCOMPARE(d.toPayload().size(), PPS_DELAY::Size);
    DETECT det;
    det.chan[1] = qint16(0x8001);
    QCOMPARE(DETECT::fromPayload(det.toPayload()).chan[1], qint16(0x8001));
}

QTEST_GUILESS_MAIN(tst_Records)
#include "tst_records.moc"
