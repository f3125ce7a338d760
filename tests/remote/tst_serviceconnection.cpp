#include "ServiceRig.h"

#include "access/LoginGuard.h"
#include "protocol/ServiceMessages.h"
#include "remote/CertificatePins.h"
#include "remote/ServiceConnection.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSettings.h"
#include "tests/support/VirtualClock.h"

#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>

class tst_ServiceConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void serviceRestarted_windowAttachesAgainWithGrowingWaits();
    void serviceOfAnotherVersion_isRefusedAndToldSo();
    void selfSignedCertificate_isPinnedOnceAccepted_andAnotherRefused();

private:
    void startService();

    QTemporaryDir m_dir;
    QString m_name;
    std::shared_ptr<VirtualClock> m_clock;
    FakeServiceSide m_side;
    std::unique_ptr<LoginGuard> m_logins;
    std::unique_ptr<ServiceServer> m_server;
};

void tst_ServiceConnection::init()
{
    m_clock = std::make_shared<VirtualClock>();
    m_logins = std::make_unique<LoginGuard>(m_clock);
    m_name = ServiceSettings::localServerName(m_dir.path());
}

void tst_ServiceConnection::cleanup()
{
    m_server.reset();
}

void tst_ServiceConnection::startService()
{
    m_server = std::make_unique<ServiceServer>(m_side, *m_logins, m_clock);
    m_server->setIdentity("labpc", "ksr583-monitor test");
    QString error;
    QVERIFY2(m_server->listenLocal(m_name, &error), qPrintable(error));
}

void tst_ServiceConnection::serviceRestarted_windowAttachesAgainWithGrowingWaits()
{
    ServiceConnection c("test window");
    c.setRetryDelays(50, 400);
    QSignalSpy snapshots(&c, &ServiceConnection::snapshotReceived);
    QSignalSpy lines(&c, &ServiceConnection::lineReceived);
    c.openLocal(m_name);  // before the service runs
    QTest::qWait(300);
    QCOMPARE(c.state(), ServiceConnection::State::Disconnected);
    QVERIFY(c.retryDelayMs() > 50);
    startService();
    QTRY_COMPARE_WITH_TIMEOUT(c.state(), ServiceConnection::State::Attached, 5000);
    QCOMPARE(c.serviceName(), QString("labpc"));
    const ServiceSnapshot s = snapshots.first().first().value<ServiceSnapshot>();
    QCOMPARE(s.lines.size(), ServiceSnapshot::MaxLines);
    QCOMPARE(s.titleItem, m_side.m_snapshot.titleItem);
    QCOMPARE(c.retryDelayMs(), 50);  // attached: the next loss starts again at the first wait
    m_server->broadcast(ServiceMessages::line({QDateTime::currentDateTime(), "Command applied!", "black"}));
    QTRY_COMPARE(lines.count(), 1);

    m_server.reset();
    QTRY_COMPARE(c.state(), ServiceConnection::State::Disconnected);
    startService();
    QTRY_COMPARE_WITH_TIMEOUT(c.state(), ServiceConnection::State::Attached, 5000);
    QCOMPARE(snapshots.count(), 2);
}

void tst_ServiceConnection::serviceOfAnotherVersion_isRefusedAndToldSo()
{
    // A service of a later version: it greets with its own number.
    QLocalServer later;
    QLocalServer::removeServer(m_name);
    QVERIFY(later.listen(m_name));
    QByteArray heard;
    connect(&later, &QLocalServer::newConnection, this, [&] {
        QLocalSocket *s = later.nextPendingConnection();
        s->write(R"({"type":"welcome","version":3,"service":"labpc","program":"x","news":1})" "\n");
        connect(s, &QLocalSocket::readyRead, this, [s, &heard] { heard += s->readAll(); });
    });
    ServiceConnection c("test window");
    c.setRetryDelays(20, 20);
    QSignalSpy refused(&c, &ServiceConnection::refused);
    c.openLocal(m_name);
    QTRY_COMPARE(refused.count(), 1);
    QCOMPARE(refused.first().at(0).toString(), QString("version"));
    QVERIFY(refused.first().at(1).toString().contains("protocol version 3, this window version 2"));
    QTRY_VERIFY(heard.contains(R"("version":2)"));  // the service hears this window's version
    QTest::qWait(100);
    QCOMPARE(c.state(), ServiceConnection::State::Refused);  // and no new try
}

void tst_ServiceConnection::selfSignedCertificate_isPinnedOnceAccepted_andAnotherRefused()
{
    TestCertificate first;
    TestCertificate second;
    QString error;
    if (!first.make("labpc", &error) || !second.make("labpc", &error))
        QSKIP(qPrintable(error));
    ServiceSettings s;
    s.tcp = s.tls = true;
    s.certificate = first.certificate;
    s.key = first.key;
    startService();
    QVERIFY2(m_server->listenTcp(s, &error), qPrintable(error));
    CertificatePins pins(m_dir.filePath("pins.ini"));
    int asked = 0;
    bool accept = false;
    const auto connectOnce = [&](ServiceConnection &c) {
        c.setPins(&pins);
        c.setCertificateHook([&](const QString &peer, const QSslCertificate &cert) {
            ++asked;
            return accept && peer.endsWith(QString::number(m_server->tcpPort())) && !cert.isNull();
        });
        c.openUrl(QUrl(QString("wss://127.0.0.1:%1").arg(m_server->tcpPort())));
    };
    {
        ServiceConnection declined("test window");
        QSignalSpy refused(&declined, &ServiceConnection::refused);
        connectOnce(declined);
        QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 5000);
        QCOMPARE(declined.state(), ServiceConnection::State::Refused);
        QVERIFY(pins.pinned("127.0.0.1:" + QString::number(m_server->tcpPort())).isEmpty());
    }
    accept = true;
    for (int round = 0; round < 2; ++round) {
        ServiceConnection c("test window");
        connectOnce(c);
        QTRY_COMPARE_WITH_TIMEOUT(c.state(), ServiceConnection::State::Attached, 5000);
    }
    QCOMPARE(asked, 2);  // declined once, accepted once; then the pin decides

    // The same address with another certificate: refused without asking.
    m_server.reset();
    s.certificate = second.certificate;
    s.key = second.key;
    startService();
    QVERIFY(m_server->listenTcp(s, &error));
    ServiceConnection c("test window");
    connectOnce(c);  // a new port, a new peer: asked and pinned
    QTRY_COMPARE_WITH_TIMEOUT(c.state(), ServiceConnection::State::Attached, 5000);
    pins.pin("127.0.0.1:" + QString::number(m_server->tcpPort()), QSslCertificate::fromPath(first.certificate).first());
    ServiceConnection again("test window");
    QSignalSpy refusedAgain(&again, &ServiceConnection::refused);
    connectOnce(again);
    QTRY_COMPARE_WITH_TIMEOUT(refusedAgain.count(), 1, 5000);
    QVERIFY(refusedAgain.first().at(1).toString().contains("another certificate"));
    QCOMPARE(asked, 3);
}

QTEST_MAIN(tst_ServiceConnection)
#include "tst_serviceconnection.moc"
