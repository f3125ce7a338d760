#include "remote/ServiceSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_ServiceSettings : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

void tst_ServiceSettings::read_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("expected");  // "local" or "address port tls"; then the problem's start
    QTest::addColumn<QString>("problem");
    QTest::newRow("nothing set: the local socket only") << QByteArray("[Settings]\nCOM=COM3\n") << "local" << "";
    QTest::newRow("a port: loopback, no TLS") << QByteArray("[Service]\nPort= 4583 \n") << "127.0.0.1 4583 plain" << "";
    QTest::newRow("port 0") << QByteArray("[Service]\nPort=0\n") << "local" << "Service/Port \"0\"";
    QTest::newRow("port 65536") << QByteArray("[Service]\nPort=65536\n") << "local" << "Service/Port \"65536\"";
    QTest::newRow("a port that is a word") << QByteArray("[Service]\nPort=http\n") << "local" << "Service/Port \"http\"";
    QTest::newRow("a list of ports") << QByteArray("[Service]\nPort=4583, 4584\n") << "local" << "Service/Port";
    QTest::newRow("a host name") << QByteArray("[Service]\nPort=4583\nAddress=labpc\n") << "local" << "Service/Address \"labpc\"";
    QTest::newRow("localhost") << QByteArray("[Service]\nPort=4583\nAddress=localhost\n") << "127.0.0.1 4583 plain" << "";
    QTest::newRow("IPv6 loopback") << QByteArray("[Service]\nPort=4583\nAddress=::1\n") << "::1 4583 plain" << "";
    QTest::newRow("every address without TLS")
        << QByteArray("[Service]\nPort=4583\nAddress=0.0.0.0\n") << "local" << "Service/Address 0.0.0.0 is reachable";
    QTest::newRow("a LAN address with TLS, relative paths")
        << QByteArray("[Service]\nPort=4583\nAddress=192.0.2.7\nCertificate=tls/service.crt\nKey=tls/service.key\n")
        << "192.0.2.7 4583 tls" << "";
    QTest::newRow("a certificate without its key")
        << QByteArray("[Service]\nPort=4583\nCertificate=service.crt\n") << "local" << "TLS needs both";
}

void tst_ServiceSettings::read()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, expected);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QFile f(dir.filePath("fconn583.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini);
    f.close();
    const ServiceSettings s = ServiceSettings::read(f.fileName());
    const QString got = s.tcp ? QString("%1 %2 %3").arg(s.address.toString()).arg(s.port).arg(s.tls ? "tls" : "plain")
                              : QString("local");
    QCOMPARE(got, expected);
    QCOMPARE(s.problems.isEmpty(), problem.isEmpty());
    if (!problem.isEmpty())
        QVERIFY2(s.problems.first().startsWith(problem), qPrintable(s.problems.first()));
    if (s.tcp && s.tls)
        QCOMPARE(s.certificate, dir.filePath("tls/service.crt"));
}

QTEST_APPLESS_MAIN(tst_ServiceSettings)
#include "tst_servicesettings.moc"
