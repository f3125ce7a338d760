#include "remote/ServiceAddress.h"
#include "remote/ServiceSettings.h"

#include <QtTest>

class tst_ServiceAddress : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void tst_ServiceAddress::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("url");  // empty: the local socket; "-": refused
    QTest::addColumn<bool>("sameComputer");
    QTest::newRow("none: the folder's service") << "" << "" << true;
    QTest::newRow("loopback: plain") << "127.0.0.1:7583" << "ws://127.0.0.1:7583" << true;
    QTest::newRow("localhost: plain") << "localhost:7583" << "ws://localhost:7583" << true;
    QTest::newRow("IPv6 loopback") << "[::1]:7583" << "ws://[::1]:7583" << true;
    QTest::newRow("another computer: TLS") << "labpc:7583" << "wss://labpc:7583" << false;
    QTest::newRow("a URL as given") << "ws://192.0.2.7:7583" << "ws://192.0.2.7:7583" << false;
    QTest::newRow("a tunnel's socket") << "/tmp/labpc.socket" << "" << false;
    QTest::newRow("no port") << "labpc" << "-" << false;
    QTest::newRow("port out of range") << "labpc:70000" << "-" << false;
    QTest::newRow("a path") << "labpc:7583/x" << "-" << false;
    QTest::newRow("credentials in it") << "ws://a:b@labpc:7583" << "-" << false;
    QTest::newRow("port zero") << "labpc:0" << "-" << false;
    QTest::newRow("no host") << ":7583" << "-" << false;
    QTest::newRow("a URL without a port") << "wss://labpc/" << "-" << false;
    QTest::newRow("too long") << QString(400, 'a') + ":1" << "-" << false;
}

void tst_ServiceAddress::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, url);
    QFETCH(bool, sameComputer);
    ServiceAddress a;
    QString error;
    const bool ok = ServiceAddress::parse(text, "/srv/ksr583", &a, &error);
    QCOMPARE(ok, url != "-");
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(a.url.toString(), url);
    const QString socket = text.startsWith('/') ? text : ServiceSettings::localServerName("/srv/ksr583");
    QCOMPARE(a.localName, url.isEmpty() ? socket : QString());
    QCOMPARE(a.sameComputer(), sameComputer);
}

QTEST_GUILESS_MAIN(tst_ServiceAddress)
#include "tst_serviceaddress.moc"
