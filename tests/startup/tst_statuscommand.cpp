#include "startup/StatusReport.h"

#include <QtTest>

// What a script is told: the exit code a snapshot gives. The addresses are
// ServiceAddress's, tested with it.
class tst_StatusCommand : public QObject
{
    Q_OBJECT

private slots:
    void snapshot_givesExitCode_data();
    void snapshot_givesExitCode();
};

void tst_StatusCommand::snapshot_givesExitCode_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<bool>("heard");
    QTest::addColumn<int>("exit");

    QTest::newRow("connected and heard") << int(LinkView::Connected) << true << 0;
    QTest::newRow("connected, silent") << int(LinkView::Connected) << false << 1;
    QTest::newRow("searching") << int(LinkView::Searching) << false << 1;
    QTest::newRow("no connection, an old answer") << int(LinkView::NoConnection) << true << 1;
}

void tst_StatusCommand::snapshot_givesExitCode()
{
    QFETCH(int, phase);
    QFETCH(bool, heard);
    QFETCH(int, exit);
    ServiceSnapshot s;
    s.link.phase = LinkView::Phase(phase);
    s.instrumentHeard = heard;
    QCOMPARE(int(StatusReport::exitOf(s)), exit);
    QCOMPARE(StatusReport::json(s).value("instrumentAnswers").toBool(), exit == 0);
}

QTEST_GUILESS_MAIN(tst_StatusCommand)
#include "tst_statuscommand.moc"
