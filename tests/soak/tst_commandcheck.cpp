#include "CommandCheck.h"
#include "SoakReport.h"
#include "SoakRun.h"

#include "link/Frame.h"

#include <QtTest>

class tst_CommandCheck : public QObject
{
    Q_OBJECT

private slots:
    void commands_areFollowedToTheInstrumentAndTheLog_data();
    void commands_areFollowedToTheInstrumentAndTheLog();
};

namespace {

QString hex(float v)
{
    QByteArray b;
    Frame::appendF32(b, v);
    return QString::fromLatin1(b.toHex());
}

// Sent offsets; log lines after the start line; traced requests "code payload";
// window messages, each at the time of the traced request of the same index.
struct Story {
    QList<float> sent;
    QStringList log;
    QStringList trace;
    QStringList window = {};
};

}  // namespace

Q_DECLARE_METATYPE(Story)

void tst_CommandCheck::commands_areFollowedToTheInstrumentAndTheLog_data()
{
    QTest::addColumn<Story>("story");
    QTest::addColumn<bool>("passes");

    const float a = 1.5e-11f;
    const float b = -2.25e-11f;
    const QString applied = QStringLiteral("New offset applied: ");
    const QString failed = QStringLiteral("New offset command failed!");

    QTest::newRow("applied and failed commands, each received once, pass")
        << Story{{a, b}, {applied + "1.5e-11", failed}, {"m10 " + hex(a), "m10 " + hex(b)}} << true;
    QTest::newRow("a failed command the instrument never received passes")
        << Story{{a, b}, {applied + "1.5e-11", failed}, {"m10 " + hex(a)}} << true;
    QTest::newRow("smooth steering's own offsets within range pass")
        << Story{{a}, {applied + "1.5e-11"}, {"m10 " + hex(3e-12f), "m10 " + hex(a)}} << true;
    QTest::newRow("a command without an outcome line fails")
        << Story{{a, b}, {applied + "1.5e-11"}, {"m10 " + hex(a), "m10 " + hex(b)}} << false;
    QTest::newRow("a success line naming another value fails")
        << Story{{a, b}, {applied + "-2.25e-11", failed}, {"m10 " + hex(a), "m10 " + hex(b)}} << false;
    QTest::newRow("a success line for a value never received fails")
        << Story{{a}, {applied + "1.5e-11"}, {}} << false;
    QTest::newRow("the operator's offset sent again by a smooth steering passes")
        << Story{{a},
                 {applied + "1.5e-11", "offset is 1.5e-11"},
                 {"m10 " + hex(3e-12f), "m10 " + hex(a), "m10 " + hex(a)},
                 {"Smooth steering is started", "", "Smooth steering is finished"}}
        << true;
    QTest::newRow("a value received twice fails")
        << Story{{a}, {applied + "1.5e-11"}, {"m10 " + hex(a), "m10 " + hex(a)}} << false;
    QTest::newRow("values received in another order fail")
        << Story{{a, b}, {applied + "1.5e-11", failed}, {"m10 " + hex(b), "m10 " + hex(a)}} << false;
    QTest::newRow("an offset out of the instrument's range fails")
        << Story{{a}, {applied + "1.5e-11"}, {"m10 " + hex(a), "m10 " + hex(2e-8f)}} << false;
    QTest::newRow("an offset that is not a number fails")
        << Story{{a}, {applied + "1.5e-11"}, {"m10 " + hex(a), "m10 0000c07f"}} << false;
}

void tst_CommandCheck::commands_areFollowedToTheInstrumentAndTheLog()
{
    QFETCH(Story, story);
    QFETCH(bool, passes);

    SoakRun run;
    for (float v : story.sent)
        run.driver.append({1, QStringLiteral("send"), {QStringLiteral("3"), hex(v)}});
    QByteArray log = "10:00:00 Program started.\n";
    for (const QString &line : story.log)
        log += "10:00:01 " + line.toUtf8() + '\n';
    run.log = SoakRun::parseLog(log);
    QByteArray trace;
    for (int i = 0; i < story.trace.size(); ++i) {
        const QDateTime at(QDate(2026, 1, 7), QTime(10, 0, 10 * i));
        trace += at.toString("yyyy-MM-ddThh:mm:ss.zzz ").toLatin1() + story.trace.at(i).toLatin1() + '\n';
        if (!story.window.value(i).isEmpty())
            run.driver.append({at.toMSecsSinceEpoch(), QStringLiteral("window"), {story.window.at(i)}});
    }
    run.trace = SoakRun::parseTrace(trace, 1);

    SoakReport report;
    CommandCheck::checkKind(CommandCheck::kinds().first(), run, report);
    QVERIFY2(report.passed() == passes, qPrintable(report.text()));
}

QTEST_GUILESS_MAIN(tst_CommandCheck)
#include "tst_commandcheck.moc"
