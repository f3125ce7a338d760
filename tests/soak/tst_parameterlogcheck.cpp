#include "ParameterLogCheck.h"
#include "SoakReport.h"
#include "SoakRun.h"

#include <QtTest>

class tst_ParameterLogCheck : public QObject
{
    Q_OBJECT

private slots:
    void rows_areWholeAndOnTheMinute_data();
    void rows_areWholeAndOnTheMinute();
};

namespace {

const QDateTime Start(QDate(2026, 1, 7), QTime(10, 0, 0), Qt::UTC);

QByteArray row(const QString &time)
{
    return (time + QStringLiteral(" AVERAGING mode")).toUtf8().leftJustified(ParameterLogCheck::ShortestRow, ' ')
           + '\n';
}

const QByteArray Header = "Time      Mode\n";

}  // namespace

void tst_ParameterLogCheck::rows_areWholeAndOnTheMinute_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("passes");

    QTest::newRow("header, start row and a row a minute pass")
        << Header + row("10:00:00") + row("10:01:00") + row("10:02:01") << true;
    QTest::newRow("a missing minute fails") << Header + row("10:00:00") + row("10:02:00") << false;
    QTest::newRow("no start row fails") << Header + row("10:01:00") + row("10:02:00") << false;
    QTest::newRow("a cut-off last row fails")
        << Header + row("10:00:00") + row("10:01:00") + row("10:02:00").left(40) << false;
    QTest::newRow("a short row within fails")
        << Header + row("10:00:00") + "10:01:00 AVERAGING\n" + row("10:02:00") << false;
    QTest::newRow("no header fails") << row("10:00:00") + row("10:01:00") + row("10:02:00") << false;
}

void tst_ParameterLogCheck::rows_areWholeAndOnTheMinute()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, passes);

    SoakRun run;
    run.driver = {{Start.toMSecsSinceEpoch(), QStringLiteral("start"), {}},
                  {Start.addSecs(125).toMSecsSinceEpoch(), QStringLiteral("closing"), {}}};
    run.parameterLogs = {{QStringLiteral("20260107.log"), file}};
    SoakReport report;
    ParameterLogCheck::run(run, report);
    QVERIFY2(report.passed() == passes, qPrintable(report.text()));
}

QTEST_GUILESS_MAIN(tst_ParameterLogCheck)
#include "tst_parameterlogcheck.moc"
