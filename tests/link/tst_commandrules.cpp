#include "control/PhasePlan.h"
#include "link/CommandRules.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>

using Edit = std::function<void(CommandParameters &)>;
Q_DECLARE_METATYPE(Edit)

class tst_CommandRules : public QObject
{
    Q_OBJECT

private slots:
    void edgesOfEveryRange_data();
    void edgesOfEveryRange();
    void phaseDuration_isThePagesPlan_data();
    void phaseDuration_isThePagesPlan();
};

void tst_CommandRules::edgesOfEveryRange_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("refusal");  // empty: accepted
    const double nan = std::nan("");
    const auto row = [](const char *name, int code, Edit e, const char *refusal) {
        QTest::newRow(name) << code << e << QString::fromLatin1(refusal);
    };
    row("offset 0", COMMAND_SET_FREQ_OFFSET, [](CommandParameters &p) { p.freq_newOffset = 0; }, "");
    row("offset -1e-18", COMMAND_SET_FREQ_OFFSET, [](CommandParameters &p) { p.freq_newOffset = -1e-18; }, "");
    row("offset 0.99e-18 below resolution", COMMAND_SET_FREQ_OFFSET, [](CommandParameters &p) { p.freq_newOffset = 0.99e-18; }, "Frequency offset value range");
    row("offset 1e-8", COMMAND_SET_FREQ_OFFSET, [](CommandParameters &p) { p.freq_newOffset = 1e-8; }, "");
    row("offset just over 1e-8", COMMAND_SET_FREQ_OFFSET, [](CommandParameters &p) { p.freq_newOffset = std::nextafter(1e-8, 1.0); }, "range");
    row("offset NaN", COMMAND_SET_FREQ_OFFSET, [nan](CommandParameters &p) { p.freq_newOffset = nan; }, "range");
    row("drift -1e-11", COMMAND_SET_FREQ_DRIFT, [](CommandParameters &p) { p.drift_newOffset = -1e-11; }, "");
    row("drift 1e-10", COMMAND_SET_FREQ_DRIFT, [](CommandParameters &p) { p.drift_newOffset = 1e-10; }, "Drift offset value range");
    row("limit 1e-13", COMMAND_SET_FREQ_LIMIT, [](CommandParameters &p) { p.freq_diffLimit_newValue = 1e-13; }, "");
    row("limit 0.9e-13", COMMAND_SET_FREQ_LIMIT, [](CommandParameters &p) { p.freq_diffLimit_newValue = 0.9e-13; }, "between 1e-13 and 1e-8");
    row("limit infinite", COMMAND_SET_FREQ_LIMIT, [](CommandParameters &p) { p.freq_diffLimit_newValue = HUGE_VAL; }, "between");
    row("smooth: steps 1, interval 10", COMMAND_SMART_CONTROL, [](CommandParameters &p) { p.smartControl_info = {1e-9, 1.0, 10, 1}; }, "");
    row("smooth: interval 9", COMMAND_SMART_CONTROL, [](CommandParameters &p) { p.smartControl_info = {1e-9, 0, 9, 2}; }, "step interval");
    row("smooth: 1000001 steps", COMMAND_SMART_CONTROL, [](CommandParameters &p) { p.smartControl_info = {1e-9, 0, 10, 1000001}; }, "number of steps");
    row("smooth: 0 steps", COMMAND_SMART_CONTROL, [](CommandParameters &p) { p.smartControl_info = {1e-9, 0, 10, 0}; }, "number of steps");
    row("smooth: phase over 1 s", COMMAND_SMART_CONTROL, [](CommandParameters &p) { p.smartControl_info = {0, 1.0000001, 10, 2}; }, "phase shift");
    row("smooth: target 2e-8", COMMAND_SMART_CONTROL, [](CommandParameters &p) { p.smartControl_info = {2e-8, 0, 10, 2}; }, "Frequency offset");
    row("phase 1 ps lasts 2 s", COMMAND_PHASE_CORRECTION, [](CommandParameters &p) { p.phaseControl_info = {1, 2, {}}; }, "");
    row("phase 1 ps claimed to last a day", COMMAND_PHASE_CORRECTION, [](CommandParameters &p) { p.phaseControl_info = {1, 86400, {}}; }, "lasts 2 s, not 86400 s");
    row("phase 0", COMMAND_PHASE_CORRECTION, [](CommandParameters &p) { p.phaseControl_info = {0, 2, {}}; }, "changes nothing");
    row("phase 1e9 ps", COMMAND_PHASE_CORRECTION, [](CommandParameters &p) { p.phaseControl_info = {1000000000, 1000000, {}}; }, "");
    row("phase 1e9 + 1 ps", COMMAND_PHASE_CORRECTION, [](CommandParameters &p) { p.phaseControl_info = {1000000001, 1000001, {}}; }, "from -2147483 to 2147483 ns");
    row("phase -2147483 ns", COMMAND_PHASE_CORRECTION, [](CommandParameters &p) { p.phaseControl_info = {-2147483000, 2147483, {}}; }, "");
    row("channels 2, backups 4, 1", COMMAND_SET_SYNC_CHLIST, [](CommandParameters &p) { p.syncControl_info.Ref_Chan = 2; p.syncControl_info.BackUp1_Chan = 4; p.syncControl_info.BackUp2_Chan = 1; }, "");
    row("channel 5", COMMAND_SET_SYNC_CHLIST, [](CommandParameters &p) { p.syncControl_info.BackUp1_Chan = 5; }, "1 to 4, or 0");
    row("backup 2 without backup 1", COMMAND_SET_SYNC_CHLIST, [](CommandParameters &p) { p.syncControl_info.BackUp2_Chan = 3; }, "Backup 2 is chosen without backup 1");
    row("reference as its own backup", COMMAND_SET_SYNC_CHLIST, [](CommandParameters &p) { p.syncControl_info.BackUp1_Chan = 1; }, "Channel 1 is chosen twice");
    row("master 4", COMMAND_MASTER_CHAN, [](CommandParameters &p) { p.syncControl_info.Ref_Chan = 4; }, "");
    row("master 0", COMMAND_MASTER_CHAN, [](CommandParameters &p) { p.syncControl_info.Ref_Chan = 0; }, "reference channel");
    row("mode 2", COMMAND_SET_MODE, [](CommandParameters &p) { p.syncControl_info.modeNew = '2'; }, "");
    row("mode 3", COMMAND_SET_MODE, [](CommandParameters &p) { p.syncControl_info.modeNew = '3'; }, "averaging (1) or switching (2)");
    row("qualification 600", COMMAND_SET_QUAL_INTERVALS, [](CommandParameters &p) { p.qualInterval_info = {600, 65535, 600, 600}; }, "");
    row("qualification 599", COMMAND_SET_QUAL_INTERVALS, [](CommandParameters &p) { p.qualInterval_info = {600, 600, 600, 599}; }, "600 to 65535");
    row("AVE 1e-9 and -1e-21", COMMAND_SET_AVE, [](CommandParameters &p) { p.ave_info.aveNew[0] = 1e-9f; p.ave_info.aveNew[3] = -1e-21f; }, "");
    row("AVE 4e-22 below the step", COMMAND_SET_AVE, [](CommandParameters &p) { p.ave_info.aveNew[2] = -4e-22f; }, "step 1.0e-21");
    row("AVE 1.1e-9", COMMAND_SET_AVE, [](CommandParameters &p) { p.ave_info.aveNew[1] = 1.1e-9f; }, "between -1.0e-9");
    row("AVE on", COMMAND_SET_AVE_ENABLED, [](CommandParameters &p) { p.ave_info.enabledNew = 1; }, "");
    row("AVE 2", COMMAND_SET_AVE_ENABLED, [](CommandParameters &p) { p.ave_info.enabledNew = 2; }, "on (1) or off (0)");
    // The computer's clock stands at 2026-01-07 15:45.
    row("clock +229 years", COMMAND_SET_DATETIME, [](CommandParameters &p) { p.dateTime_info.dateDifference = 83643; }, "");
    row("clock into 2256", COMMAND_SET_DATETIME, [](CommandParameters &p) { p.dateTime_info.dateDifference = 84000; }, "years 2000 to 2255");
    row("clock back to 1999", COMMAND_SET_DATETIME, [](CommandParameters &p) { p.dateTime_info.dateDifference = -9600; }, "years 2000 to 2255");
    row("clock shift of a whole day in seconds", COMMAND_SET_DATETIME, [](CommandParameters &p) { p.dateTime_info.timeDifference = 86400; }, "less than one day");
    row("clock -86399 s", COMMAND_SET_DATETIME, [](CommandParameters &p) { p.dateTime_info.timeDifference = -86399; }, "");
    row("journal clear", COMMAND_CLEAR_JOURNAL, [](CommandParameters &) {}, "");
    row("code 23", 23, [](CommandParameters &) {}, "There is no command 23");
    row("code -1", -1, [](CommandParameters &) {}, "There is no command -1");
}

void tst_CommandRules::edgesOfEveryRange()
{
    QFETCH(int, code);
    QFETCH(Edit, edit);
    QFETCH(QString, refusal);
    CommandParameters p;
    edit(p);
    const CommandRules::Verdict v =
        CommandRules::check(code, p, QDateTime(QDate(2026, 1, 7), QTime(15, 45)));
    QCOMPARE(v.ok, refusal.isEmpty());
    QVERIFY2(v.reason.contains(refusal), qPrintable(v.reason));
}

void tst_CommandRules::phaseDuration_isThePagesPlan_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    for (int v : {1, 999, 1000, 1001, 2000, 2001, -1999, 999999999, 1000000000, -1000000000})
        QTest::addRow("%d ps", v) << v << int(PhasePlan::Picoseconds);
    for (int v : {1, 2, 3, -7, 2147483, -2147483})
        QTest::addRow("%d ns", v) << v << int(PhasePlan::Nanoseconds);
}

void tst_CommandRules::phaseDuration_isThePagesPlan()
{
    QFETCH(int, value);
    QFETCH(int, unit);
    const auto u = PhasePlan::Unit(unit);
    const qint32 ps = qint32(PhasePlan::picoseconds(value, u));
    QVERIFY(CommandRules::isPhaseShift(ps));
    QCOMPARE(CommandRules::phaseSeconds(ps), qint64(PhasePlan::make(value, u).interval));
}

QTEST_APPLESS_MAIN(tst_CommandRules)
#include "tst_commandrules.moc"
