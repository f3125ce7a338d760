#include "ProgramLogCheck.h"
#include "SoakReport.h"
#include "SoakRun.h"

#include <QtTest>

class tst_ProgramLogCheck : public QObject
{
    Q_OBJECT

private slots:
    void log_isCheckedAgainstWhatTheLinkReported_data();
    void log_isCheckedAgainstWhatTheLinkReported();
};

void tst_ProgramLogCheck::log_isCheckedAgainstWhatTheLinkReported_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<bool>("passes");

    const QStringList two{"New offset applied: 1e-11", "Sync command has been applied"};
    const QByteArray start = "10:00:00 Program started.\n";
    const QByteArray end = "10:01:00 Program is closed.\n";
    QTest::newRow("every reported line, in order, passes")
        << start + "10:00:01 New offset applied: 1e-11\n10:00:02 Sync command has been applied\n" + end
        << two << true;
    QTest::newRow("a line that reached the log after the driver stopped listening passes")
        << start + "10:00:01 New offset applied: 1e-11\n10:00:02 Sync command has been applied\n"
                   "10:00:59 Time command failed!\n" + end
        << two << true;
    QTest::newRow("a reported line missing from the log fails")
        << start + "10:00:02 Sync command has been applied\n" + end << two << false;
    QTest::newRow("the last reported line missing fails")
        << start + "10:00:01 New offset applied: 1e-11\n" + end << two << false;
    QTest::newRow("lines in another order fail")
        << start + "10:00:02 Sync command has been applied\n10:00:01 New offset applied: 1e-11\n" + end
        << two << false;
    QTest::newRow("a torn line fails")
        << start + "10:00:01 New offset applied: 1e-11\n10:00:02 Sync comm" << two << false;
    QTest::newRow("two lines run together fail")
        << start + "10:00:01 New offset applied: 1e-1110:00:02 Sync command has been applied\n" + end
        << two << false;
    QTest::newRow("no close line fails")
        << start + "10:00:01 New offset applied: 1e-11\n10:00:02 Sync command has been applied\n" << two
        << false;
    QTest::newRow("no start line fails") << QByteArray("10:01:00 Program is closed.\n") << QStringList()
                                         << false;
}

void tst_ProgramLogCheck::log_isCheckedAgainstWhatTheLinkReported()
{
    QFETCH(QByteArray, log);
    QFETCH(QStringList, reported);
    QFETCH(bool, passes);

    SoakRun run;
    run.log = SoakRun::parseLog(log);
    for (const QString &text : reported)
        run.driver.append({1, QStringLiteral("debug"), {text, QStringLiteral("black")}});
    SoakReport report;
    ProgramLogCheck::run(run, report);
    QVERIFY2(report.passed() == passes, qPrintable(report.text()));
}

QTEST_GUILESS_MAIN(tst_ProgramLogCheck)
#include "tst_programlogcheck.moc"
