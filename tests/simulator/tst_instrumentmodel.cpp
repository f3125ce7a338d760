#include "simulator/InstrumentModel.h"

#include "link/Records.h"

#include <QtTest>

namespace {

const QDateTime kStart(QDate(2026, 1, 7), QTime(15, 45, 0));

int stateOf(const InstrumentModel &m, int channel)
{
    return ChannelState::of(m.detect(), m.cmdState(), channel);
}

QList<int> states(const InstrumentModel &m)
{
    return {stateOf(m, 1), stateOf(m, 2), stateOf(m, 3), stateOf(m, 4)};
}

}  // namespace

class tst_InstrumentModel : public QObject
{
    Q_OBJECT

private slots:
    void startsWithAChannelInEveryState();
    void qualification_countsDownThenJoinsTheGroup();
    void estimation_countsDownToSynchronised();
    void channelLost_leavesTheGroupAndRequalifiesOnReturn();
    void errorByte_withTopBitReadsAsNotDetected();
    void coefficients_markReferenceAndBackups_data();
    void coefficients_markReferenceAndBackups();
    void noise_movesTheValuesRepeatablyPerSeed();
    void lively_makesChannelsComeAndGo();
    void offsetOutsideTheRange_isClampedOrKept_data();
    void offsetOutsideTheRange_isClampedOrKept();
    void liveJournal_recordsRemoteCommands();
    void longAdvance_runsDownEverything();
};

void tst_InstrumentModel::startsWithAChannelInEveryState()
{
    InstrumentModel m(1, kStart);
    QCOMPARE(states(m), QList<int>({ChannelState::InGroup, ChannelState::Backup1, ChannelState::Qualifying,
                                    ChannelState::NotDetected}));
    QCOMPARE(m.cmdState().syncStatus, qint16(1));  // synchronised, still estimating
    QVERIFY(m.cmdState().switchingMode());
}

void tst_InstrumentModel::qualification_countsDownThenJoinsTheGroup()
{
    InstrumentModel m(1, kStart);
    m.advance(449000);
    QCOMPARE(m.cmdState().qualTimeLeft[2], quint16(100));  // 1 s left in 10 ms units
    QVERIFY(m.channelQualifying(3));
    m.advance(1000);
    QVERIFY(!m.channelQualifying(3));
    QCOMPARE(m.cmdState().qualTimeLeft[2], quint16(0));
    QCOMPARE(stateOf(m, 3), int(ChannelState::Backup2));
}

void tst_InstrumentModel::estimation_countsDownToSynchronised()
{
    InstrumentModel m(1, kStart);
    QCOMPARE(m.cmdState().estimationTimeLeft, quint16(12000));
    m.advance(60000);
    QCOMPARE(m.cmdState().estimationTimeLeft, quint16(6000));
    m.advance(60000);
    QCOMPARE(m.cmdState().estimationTimeLeft, quint16(0));
    QCOMPARE(m.cmdState().syncStatus, qint16(1));
    m.setSync(false);
    QCOMPARE(m.cmdState().syncStatus, qint16(0));
}

void tst_InstrumentModel::channelLost_leavesTheGroupAndRequalifiesOnReturn()
{
    InstrumentModel m(1, kStart);
    const quint16 intervals[4] = {600, 30, 600, 600};
    m.setQualIntervals(intervals);
    m.setChannelDetected(2, false);
    QCOMPARE(m.detect().chan[1], qint16(0));
    QCOMPARE(stateOf(m, 2), int(ChannelState::NotDetected));
    QCOMPARE(m.adjState().chanOffset[1], 0.0f);

    m.setChannelDetected(2, true);
    QCOMPARE(stateOf(m, 2), int(ChannelState::Qualifying));
    QCOMPARE(m.cmdState().qualTimeLeft[1], quint16(3000));
    m.advance(30000);
    QCOMPARE(stateOf(m, 2), int(ChannelState::Backup1));

    // Removed by the operator: back as detected, and it stays out.
    m.removeChannel(2);
    m.setChannelDetected(2, false);
    m.setChannelDetected(2, true);
    QCOMPARE(stateOf(m, 2), int(ChannelState::NotInGroup));
    m.includeChannel(2);
    QCOMPARE(stateOf(m, 2), int(ChannelState::Qualifying));
}

void tst_InstrumentModel::errorByte_withTopBitReadsAsNotDetected()
{
    InstrumentModel m(1, kStart);
    m.setChannelError(2, 0x80);
    QCOMPARE(quint16(m.detect().chan[1]), quint16(0x8001));
    QCOMPARE(stateOf(m, 2), int(ChannelState::NotDetected));
    m.setChannelError(2, 0);
    QCOMPARE(stateOf(m, 2), int(ChannelState::Qualifying));
}

void tst_InstrumentModel::coefficients_markReferenceAndBackups_data()
{
    QTest::addColumn<char>("mode");
    QTest::addColumn<QList<float>>("coeff");
    QTest::newRow("switching: 1.0 for the reference, 0.0 for the backup") << '2' << QList<float>{1, 0, 0, 0};
    QTest::newRow("averaging: shared among the channels in use") << '1' << QList<float>{0.5f, 0.5f, 0, 0};
}

void tst_InstrumentModel::coefficients_markReferenceAndBackups()
{
    QFETCH(char, mode);
    QFETCH(QList<float>, coeff);
    InstrumentModel m(1, kStart);
    QVERIFY(m.setMode(mode));
    const ADJ_STATE a = m.adjState();
    QCOMPARE(QList<float>({a.coeff[0], a.coeff[1], a.coeff[2], a.coeff[3]}), coeff);
}

void tst_InstrumentModel::noise_movesTheValuesRepeatablyPerSeed()
{
    InstrumentModel a(5, kStart);
    InstrumentModel b(5, kStart);
    InstrumentModel c(6, kStart);
    const ADJ_STATE before = a.adjState();
    for (InstrumentModel *m : {&a, &b, &c})
        m->advance(20000);
    QCOMPARE(a.adjState().toPayload(), b.adjState().toPayload());
    QCOMPARE(a.varState().toPayload(), b.varState().toPayload());
    QVERIFY(a.adjState().toPayload() != c.adjState().toPayload());
    QVERIFY(a.adjState().chanOffset[0] != before.chanOffset[0]);
    QVERIFY(a.varState().adev(1) != InstrumentModel(5, kStart).varState().adev(1));
    for (int ch = 1; ch <= 3; ++ch) {
        QVERIFY(qAbs(a.adjState().chanOffset[ch - 1]) < 1e-10f);
        QVERIFY(a.varState().adev(ch) > 0 && a.varState().adev(ch) < 1e-10f);
    }
}

void tst_InstrumentModel::lively_makesChannelsComeAndGo()
{
    InstrumentModel m(9, kStart);
    m.setLively(true);
    int changes = 0;
    QList<int> last = states(m);
    for (int minute = 0; minute < 30; ++minute) {
        m.advance(60000);
        if (states(m) != last)
            ++changes;
        last = states(m);
        QCOMPARE(stateOf(m, 1) == ChannelState::NotDetected, false);
    }
    QVERIFY(changes >= 5);
}

void tst_InstrumentModel::offsetOutsideTheRange_isClampedOrKept_data()
{
    QTest::addColumn<float>("written");
    QTest::addColumn<float>("applied");
    QTest::newRow("in range applied as written") << 1.25e-12f << 1.25e-12f;
    QTest::newRow("too large clamped") << 1.0f << float(InstrumentModel::MaxOffset);
    QTest::newRow("too small clamped") << -1.0f << float(-InstrumentModel::MaxOffset);
    QTest::newRow("not a number keeps the old value") << std::numeric_limits<float>::quiet_NaN() << 3e-12f;
    QTest::newRow("infinity keeps the old value") << std::numeric_limits<float>::infinity() << 3e-12f;
}

void tst_InstrumentModel::offsetOutsideTheRange_isClampedOrKept()
{
    QFETCH(float, written);
    QFETCH(float, applied);
    InstrumentModel m(1, kStart);
    m.setFreqOffset(3e-12f);
    QCOMPARE(m.setFreqOffset(written), applied);
    QCOMPARE(m.adjState().freqOffset, applied);
}

void tst_InstrumentModel::liveJournal_recordsRemoteCommands()
{
    InstrumentModel m(1, kStart);
    m.setSync(false);
    QCOMPARE(m.journal().count(), 0);
    m.setJournalLive(true);
    m.advance(5000);
    m.setSync(true);
    QCOMPARE(m.journal().count(), 1);
    const JournalEvent &e = m.journal().event(1);
    QCOMPARE(int(e.event), 6);  // PLL - on
    QCOMPARE(int(e.cause), 2);  // remote PC
    QCOMPARE(e.when, kStart.addSecs(5));
    QCOMPARE(e.channelFlags, quint16(0x0355));  // 1, 2 in use, 3 qualifying
}

void tst_InstrumentModel::longAdvance_runsDownEverything()
{
    InstrumentModel m(1, kStart);
    m.advance(10LL * 24 * 3600 * 1000);
    QCOMPARE(m.cmdState().estimationTimeLeft, quint16(0));
    QCOMPARE(m.cmdState().syncStatus, qint16(1));
    QCOMPARE(stateOf(m, 3), int(ChannelState::Backup2));
    QCOMPARE(m.deviceTime(), kStart.addDays(10));
}

QTEST_GUILESS_MAIN(tst_InstrumentModel)
#include "tst_instrumentmodel.moc"
