#include "startup/StatusCommand.h"
#include "startup/StatusReport.h"

#include <QtTest>

// What a script is told: which service an address names, and the exit code
// a snapshot gives.
class tst_StatusCommand : public QObject
{
    Q_OBJECT

private slots:
    void address_namesUrl_data();
    void address_namesUrl();
    void snapshot_givesExitCode_data();
    void snapshot_givesExitCode();
};

void tst_StatusCommand::address_namesUrl_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url");  // empty: refused

    QTest::newRow("loopback: plain") << "127.0.0.1:7583" << "ws://127.0.0.1:7583/";
    QTest::newRow("localhost: plain") << "localhost:7583" << "ws://localhost:7583/";
    QTest::newRow("IPv6 loopback") << "[::1]:7583" << "ws://[::1]:7583/";
    QTest::newRow("another host: TLS") << "labpc:7583" << "wss://labpc:7583/";
    QTest::newRow("a URL as it is") << "ws://192.0.2.7:80/" << "ws://192.0.2.7:80/";
    QTest::newRow("no port") << "labpc" << "";
    QTest::newRow("port out of range") << "labpc:70000" << "";
    QTest::newRow("port zero") << "labpc:0" << "";
    QTest::newRow("no host") << ":7583" << "";
    QTest::newRow("URL without a port") << "wss://labpc/" << "";
}

void tst_StatusCommand::address_namesUrl()
{
    QFETCH(QString, address);
    QFETCH(QString, url);
    QCOMPARE(StatusCommand::urlOf(address).toString(), url);
}

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
