#include "CommandRig.h"

#include "link/Frame.h"
#include "link/SmoothSteering.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(SmartControlInfo)

namespace {

SmartControlInfo plan(int steps, int intervalS, double target, double phase = 0)
{
    SmartControlInfo info;
    info.numOfControls = steps;
    info.timeInterval = intervalS;
    info.freq_newValue = target;
    info.phase_newValue = phase;
    return info;
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(std::fabs(a), std::fabs(b)) + 1e-24;
}

}  // namespace

class tst_SmoothSteering : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stepValue_data();
    void stepValue();
    void steps_addUpToTheTargetAndNoPhase_data();
    void steps_addUpToTheTargetAndNoPhase();
    void fiveSteps_lowerTheOffsetToTheTarget();
    void oneStep_setsTheTargetAtOnce();
    void zeroSteps_finishAtTheFirstTick();
    void unsafeOffset_isNeverWritten_data();
    void unsafeOffset_isNeverWritten();
    void failedWrite_triesFiveTimesThenRetriesNextTick_data();
    void failedWrite_triesFiveTimesThenRetriesNextTick();
    void abort_stopsFurtherWrites();
    void secondStart_isRefusedWhileOneRuns();

private:
    // Runs the once-a-second tick from the current second up to `lastSecond`.
    void tickUntil(int lastSecond);
    // The offsets written with m10 and the second each went out.
    QList<float> writtenOffsets() const;
    QList<int> writeSeconds() const;
    void deviceConfirms(double difference = 0);

    std::unique_ptr<CommandRig> m_rig;
    std::unique_ptr<SmoothSteering> m_steering;
    int m_second = 0;
};

void tst_SmoothSteering::init()
{
    m_rig = std::make_unique<CommandRig>();
    m_steering = std::make_unique<SmoothSteering>(m_rig->io, m_rig->records);
    m_rig->listen(m_steering.get());
    m_second = 0;
    deviceConfirms();
}

void tst_SmoothSteering::cleanup()
{
    m_steering.reset();
    m_rig.reset();
}

void tst_SmoothSteering::deviceConfirms(double difference)
{
    m_rig->on("m10", [difference](const QByteArray &request) {
        QByteArray value;
        Frame::appendF32(value, float(double(Frame::f32(request, 4)) + difference));
        return FakeReply{CommandRig::goodAnswer("m10", value), 5};
    });
}

void tst_SmoothSteering::tickUntil(int lastSecond)
{
    for (; m_second <= lastSecond; ++m_second) {
        const qint64 due = qint64(m_second) * 1000;
        if (m_rig->clock.monotonicMs() < due)
            m_rig->clock.advance(due - m_rig->clock.monotonicMs());
        m_steering->tick();
    }
}

QList<float> tst_SmoothSteering::writtenOffsets() const
{
    QList<float> out;
    const QList<QByteArray> payloads = m_rig->payloads("m10");
    for (const QByteArray &p : payloads)
        out.append(Frame::f32(p, 0));
    return out;
}

QList<int> tst_SmoothSteering::writeSeconds() const
{
    QList<int> out;
    const QList<FakeWrite> writes = m_rig->line->writes();
    for (const FakeWrite &w : writes)
        out.append(int(w.atMs / 1000));
    return out;
}

void tst_SmoothSteering::stepValue_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("intervalS");
    QTest::addColumn<float>("x0");
    QTest::addColumn<float>("y0");
    QTest::addColumn<double>("u");

    QTest::newRow("one step is the whole difference") << 0 << 1 << 10 << -1e-9f << 3e-12f << double(3e-12f);
    QTest::newRow("no steps") << 0 << 0 << 10 << 0.0f << 3e-12f << 0.0;
    QTest::newRow("negative step count") << 0 << -2 << 10 << 0.0f << 3e-12f << 0.0;
    QTest::newRow("phase only, first of three") << 0 << 3 << 10 << -1e-9f << 0.0f << 0.05 * double(-1e-9f);
    QTest::newRow("no phase with interval 0") << 0 << 2 << 0 << 0.0f << 3e-12f << double(3e-12f);
}

void tst_SmoothSteering::stepValue()
{
    QFETCH(int, k);
    QFETCH(int, n);
    QFETCH(int, intervalS);
    QFETCH(float, x0);
    QFETCH(float, y0);
    QFETCH(double, u);
    const double actual = SmoothSteering::stepValue(k, n, intervalS, x0, y0);
    QVERIFY2(near(actual, u), qPrintable(QString::number(actual) + " != " + QString::number(u)));
}

void tst_SmoothSteering::steps_addUpToTheTargetAndNoPhase_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("intervalS");
    QTest::addColumn<float>("x0");
    QTest::addColumn<float>("y0");

    QTest::newRow("2 steps") << 2 << 10 << -2e-9f << 4e-12f;
    QTest::newRow("7 steps") << 7 << 60 << 5e-8f << -1e-11f;
    QTest::newRow("100 steps") << 100 << 1 << 1e-9f << 3e-13f;
}

void tst_SmoothSteering::steps_addUpToTheTargetAndNoPhase()
{
    QFETCH(int, n);
    QFETCH(int, intervalS);
    QFETCH(float, x0);
    QFETCH(float, y0);

    double frequency = 0;
    double phase = 0;
    for (int k = 0; k < n; ++k) {
        frequency += SmoothSteering::stepValue(k, n, intervalS, 0, y0);
        phase += SmoothSteering::stepValue(k, n, intervalS, x0, 0);
    }
    QVERIFY(near(frequency, y0));
    QVERIFY(std::fabs(phase) < 1e-6 * std::fabs(double(x0)) / intervalS);
}

void tst_SmoothSteering::fiveSteps_lowerTheOffsetToTheTarget()
{
    m_rig->records.adjState.update([](ADJ_STATE &s) { s.freqOffset = 2e-12f; });
    QSignalSpy refreshed(m_steering.get(), &SmoothSteering::adjStateRcvd);
    m_steering->start(plan(5, 10, 0));
    tickUntil(60);

    QCOMPARE(writeSeconds(), (QList<int>{0, 10, 20, 30, 40}));
    const QList<float> written = writtenOffsets();
    const QList<double> expected{0.8e-12, 0.0, -0.4e-12, -0.4e-12, 0.0};
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(std::fabs(double(written.at(i)) - expected.at(i)) < 1e-18, qPrintable(QString::number(i)));
    QVERIFY(std::fabs(m_rig->records.adjState.get().freqOffset) < 1e-18f);
    QCOMPARE(refreshed.count(), 5);
    QVERIFY(!m_steering->isActive());
    QCOMPARE(m_rig->lines.first(), QStringLiteral("black: Smooth steering is started"));
    QCOMPARE(m_rig->lines.at(1), QStringLiteral("black: offset is 8e-13"));
    QCOMPARE(m_rig->lines.last(), QStringLiteral("black: Smooth steering is finished"));
    QCOMPARE(m_rig->lines.size(), 7);
}

void tst_SmoothSteering::oneStep_setsTheTargetAtOnce()
{
    m_rig->records.adjState.update([](ADJ_STATE &s) { s.freqOffset = -3e-12f; });
    m_steering->start(plan(1, 10, 5e-13, 1e-6));
    tickUntil(5);

    QCOMPARE(writeSeconds(), QList<int>{0});
    QVERIFY(std::fabs(double(writtenOffsets().first()) - 5e-13) < 1e-18);
    QCOMPARE(m_rig->lines.last(), QStringLiteral("black: Smooth steering is finished"));
}

void tst_SmoothSteering::zeroSteps_finishAtTheFirstTick()
{
    m_steering->start(plan(0, 10, 5e-13));
    tickUntil(3);

    QVERIFY(m_rig->frames().isEmpty());
    QCOMPARE(m_rig->lines,
             (QStringList{"black: Smooth steering is started", "black: Smooth steering is finished"}));
    QVERIFY(!m_steering->isActive());
}

void tst_SmoothSteering::unsafeOffset_isNeverWritten_data()
{
    QTest::addColumn<SmartControlInfo>("info");
    QTest::newRow("target that needs 1.5e-8") << plan(1, 10, 1.5e-8);
    QTest::newRow("just over 1e-8") << plan(1, 10, -1.00001e-8);
    QTest::newRow("phase term with interval 0") << plan(3, 0, 0, 1e-9);
}

void tst_SmoothSteering::unsafeOffset_isNeverWritten()
{
    QFETCH(SmartControlInfo, info);
    m_steering->start(info);
    tickUntil(3);

    QVERIFY(m_rig->frames().isEmpty());
    QCOMPARE(m_rig->lines.count(QStringLiteral("red: Wrong fdaq")), 4);
    QVERIFY(m_steering->isActive());

    m_steering->abort();
    tickUntil(6);
    QVERIFY(m_rig->frames().isEmpty());
    QCOMPARE(m_rig->lines.last(), QStringLiteral("black: Smooth steering is aborted by the user"));
    QCOMPARE(m_rig->lines.count(QStringLiteral("red: Wrong fdaq")), 4);
}

void tst_SmoothSteering::failedWrite_triesFiveTimesThenRetriesNextTick_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("complaint");  // the line before each "Failed in attemp #"

    QTest::newRow("device confirms another value") << "other" << "red: wrong offset 2e-12";
    QTest::newRow("wrong checksum") << "badcrc" << "red: wrong checksum";
    QTest::newRow("no answer") << "silent" << QString();
}

void tst_SmoothSteering::failedWrite_triesFiveTimesThenRetriesNextTick()
{
    QFETCH(QString, device);
    QFETCH(QString, complaint);

    if (device == QLatin1String("other")) {
        deviceConfirms(1e-12);
    } else {
        QByteArray bytes = CommandRig::goodAnswer("m10", QByteArray(4, '\0'));
        if (device == QLatin1String("badcrc"))
            bytes[12] = char(bytes.at(12) ^ 0x01);
        else
            bytes.clear();
        m_rig->on("m10", [bytes](const QByteArray &) { return FakeReply{bytes, 5}; });
    }
    m_steering->start(plan(1, 10, 1e-12));
    tickUntil(0);

    QStringList expected{"black: Smooth steering is started"};
    for (int attempt = 1; attempt <= 5; ++attempt) {
        if (!complaint.isEmpty())
            expected.append(complaint);
        expected.append(QStringLiteral("red: Failed in attemp # %1").arg(attempt));
    }
    QCOMPARE(m_rig->lines, expected);
    QCOMPARE(m_rig->frames().size(), 5);
    QCOMPARE(m_rig->records.adjState.get().freqOffset, 0.0f);

    tickUntil(1);
    QCOMPARE(m_rig->frames().size(), 10);
    QVERIFY(m_steering->isActive());
}

void tst_SmoothSteering::abort_stopsFurtherWrites()
{
    m_rig->records.adjState.update([](ADJ_STATE &s) { s.freqOffset = 2e-12f; });
    m_steering->start(plan(5, 10, 0));
    tickUntil(15);
    m_steering->abort();
    tickUntil(60);

    QCOMPARE(writeSeconds(), (QList<int>{0, 10}));
    QVERIFY(!m_steering->isActive());
    QCOMPARE(m_rig->lines.last(), QStringLiteral("black: Smooth steering is aborted by the user"));

    // A Cancel with nothing running says nothing.
    m_steering->abort();
    QCOMPARE(m_rig->lines.count(QStringLiteral("black: Smooth steering is aborted by the user")), 1);
}

void tst_SmoothSteering::secondStart_isRefusedWhileOneRuns()
{
    m_rig->records.adjState.update([](ADJ_STATE &s) { s.freqOffset = 2e-12f; });
    m_steering->start(plan(2, 10, 0));
    tickUntil(5);
    m_steering->start(plan(1, 10, 5e-9));
    tickUntil(30);

    QCOMPARE(m_rig->lines.count(QStringLiteral("red: Can't apply steering. Steering is in progress already")), 1);
    QCOMPARE(writeSeconds(), (QList<int>{0, 10}));
    QVERIFY(std::fabs(m_rig->records.adjState.get().freqOffset) < 1e-18f);
}

QTEST_GUILESS_MAIN(tst_SmoothSteering)
#include "tst_smoothsteering.moc"
