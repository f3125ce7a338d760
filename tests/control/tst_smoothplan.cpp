#include "control/SmoothPlan.h"

#include <QtTest>

#include <cmath>

namespace {

SmoothPlan makePlan(double current, double target, double phase, int interval, int count)
{
    SmoothPlan plan;
    plan.current = current;
    plan.target = target;
    plan.phaseSeconds = phase;
    plan.interval = interval;
    plan.count = count;
    return plan;
}

}  // namespace

class TestSmoothPlan : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void everyPlan_endsAtTargetAndShiftsThePhase_data();
    void everyPlan_endsAtTargetAndShiftsThePhase();
    void curve_drawsEachStepAsAHorizontalSegment();
};

void TestSmoothPlan::steps_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("phase");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<double>>("expected");

    QTest::newRow("3 steps to 6e-12 overshoot and settle")
        << 0.0 << 6e-12 << 0.0 << 3 << QVector<double>{5e-12, 7e-12, 6e-12};
    QTest::newRow("5 steps down from 2e-12")
        << 2e-12 << 0.0 << 0.0 << 5 << QVector<double>{0.8e-12, 0.0, -0.4e-12, -0.4e-12, 0.0};
    QTest::newRow("one step goes straight to the target, phase ignored")
        << 1e-12 << 4e-12 << 1e-9 << 1 << QVector<double>{4e-12};
}

void TestSmoothPlan::steps()
{
    QFETCH(double, current);
    QFETCH(double, target);
    QFETCH(double, phase);
    QFETCH(int, count);
    QFETCH(QVector<double>, expected);

    const QVector<double> steps = makePlan(current, target, phase, 10, count).steps();
    QCOMPARE(steps.size(), expected.size());
    for (int i = 0; i < steps.size(); ++i)
        QVERIFY2(std::fabs(steps[i] - expected[i]) < 1e-24,
                 qPrintable(QStringLiteral("step %1: %2 instead of %3").arg(i).arg(steps[i]).arg(expected[i])));
}

void TestSmoothPlan::everyPlan_endsAtTargetAndShiftsThePhase_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("phase");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");

    QTest::newRow("offset only") << 1e-12 << -3e-12 << 0.0 << 10 << 7;
    QTest::newRow("phase only returns to the start") << 2.5e-12 << 2.5e-12 << -3e-10 << 20 << 4;
    QTest::newRow("both, many steps") << -5e-13 << 8e-12 << 2e-9 << 60 << 100;
    QTest::newRow("two steps") << 0.0 << 1e-11 << 5e-12 << 10 << 2;
}

void TestSmoothPlan::everyPlan_endsAtTargetAndShiftsThePhase()
{
    QFETCH(double, current);
    QFETCH(double, target);
    QFETCH(double, phase);
    QFETCH(int, interval);
    QFETCH(int, count);

    const QVector<double> steps = makePlan(current, target, phase, interval, count).steps();
    QCOMPARE(steps.size(), count);
    QVERIFY(std::fabs(steps.last() - target) < 1e-24);
    // Time spent away from the target is the phase gained.
    double phaseGained = 0;
    for (double step : steps)
        phaseGained += (step - target) * interval;
    QVERIFY2(std::fabs(phaseGained - phase) < 1e-20, qPrintable(QString::number(phaseGained)));
}

void TestSmoothPlan::curve_drawsEachStepAsAHorizontalSegment()
{
    QVector<double> times;
    QVector<double> offsets;
    makePlan(0, 6e-12, 0, 10, 3).curve(&times, &offsets);

    QCOMPARE(times, (QVector<double>{0, 10, 10, 20, 20, 30}));
    QCOMPARE(offsets.size(), 6);
    for (int i = 0; i < 6; i += 2)
        QCOMPARE(offsets[i], offsets[i + 1]);
    QVERIFY(std::fabs(offsets[2] - 7e-12) < 1e-24);
}

QTEST_GUILESS_MAIN(TestSmoothPlan)
#include "tst_smoothplan.moc"
