#include "ServiceRig.h"

#include "access/LoginGuard.h"
#include "protocol/ServiceMessages.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSettings.h"
#include "tests/support/VirtualClock.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

namespace {
Account account(int level, const char *login, const char *password)
{
    return {level, login, QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex()};
}
QByteArray json(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}
}  // namespace

class tst_ServiceServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void localSocket_isForTheServicesUserAndGroupOnly();
    void badGreeting_isRefusedAndClosed_data();
    void badGreeting_isRefusedAndClosed();
    void hundredMegabyteMessage_dropsOnlyItsClient_data();
    void hundredMegabyteMessage_dropsOnlyItsClient();
    void silentCrowd_leavesRoomForAWindow();
    void clientThatNeverReads_isDropped_othersGetEverything();
    void snapshotLargerThanTheBound_stillAttaches();
    void commands_data();
    void commands();
    void commandFlood_isBoundedPerClient();
    void fullService_saysBusy();
    void tls_attachesOnlyOverTlsAndNeverFromABrowserPage();

private:
    void start(const ServiceLimits &limits);
    QUrl listenTcp(const ServiceSettings &settings = ServiceSettings());
    RawClient *client(bool webSocket = false);

    QTemporaryDir m_dir;
    QString m_name;
    QUrl m_url;
    std::shared_ptr<VirtualClock> m_clock;  // stands still: no request budget refills
    std::unique_ptr<FakeServiceSide> m_side;
    std::unique_ptr<LoginGuard> m_logins;
    std::unique_ptr<ServiceServer> m_server;
    QStringList m_log;
};

void tst_ServiceServer::init()
{
    m_clock = std::make_shared<VirtualClock>();
    m_side = std::make_unique<FakeServiceSide>();
    m_logins = std::make_unique<LoginGuard>(m_clock);
    m_logins->setAccounts({account(3, "alice", "secret"), account(7, "bob", "b"), account(2, "carol", "c")});
    m_log.clear();
    ServiceLimits limits;
    limits.greetingMs = 1000;
    limits.maxQueuedBytes = 256 * 1024;
    start(limits);
}

void tst_ServiceServer::start(const ServiceLimits &limits)
{
    m_server.reset();
    m_server = std::make_unique<ServiceServer>(*m_side, *m_logins, m_clock, limits);
    connect(m_server.get(), &ServiceServer::logLine, this, [this](const QString &t) { m_log << t; });
    m_name = ServiceSettings::localServerName(m_dir.path());
    QString error;
    QVERIFY2(m_server->listenLocal(m_name, &error), qPrintable(error));
}

QUrl tst_ServiceServer::listenTcp(const ServiceSettings &settings)
{
    QString error;
    if (!m_server->listenTcp(settings, &error))
        qWarning() << error;
    return QUrl(QString("%1://127.0.0.1:%2").arg(settings.tls ? "wss" : "ws").arg(m_server->tcpPort()));
}

void tst_ServiceServer::cleanup()
{
    m_server.reset();
}

RawClient *tst_ServiceServer::client(bool webSocket)
{
    if (!webSocket)
        return new RawClient(m_name, this);
    if (m_url.isEmpty() || !m_server->tcpPort())
        m_url = listenTcp();
    return new RawClient(m_url, this);
}

void tst_ServiceServer::localSocket_isForTheServicesUserAndGroupOnly()
{
#ifdef Q_OS_UNIX
    const QFile::Permissions p = QFile::permissions(m_name);
    QVERIFY(p.testFlag(QFile::ReadGroup) && p.testFlag(QFile::WriteGroup) && p.testFlag(QFile::WriteOwner));
    QVERIFY(!p.testFlag(QFile::ReadOther) && !p.testFlag(QFile::WriteOther));
    // A socket file left by a service that died does not keep the next one out.
    m_server.reset();
    QFile stale(m_name);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    start(ServiceLimits());
    std::unique_ptr<RawClient> c(client());
    QVERIFY(c->attach());
#else
    QSKIP("named pipes have no file mode");
#endif
}

void tst_ServiceServer::badGreeting_isRefusedAndClosed_data()
{
    QTest::addColumn<bool>("webSocket");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QString>("reason");
    for (bool ws : {false, true}) {
        const char *t = ws ? "ws" : "local";
        QTest::addRow("%s: TLS hello bytes", t) << ws << QByteArray("\x16\x03\x01\x00\xa5\x01", 6) << "greeting";
        QTest::addRow("%s: a command before hello", t) << ws << QByteArray(R"({"type":"command","id":1,"code":3})") << "greeting";
        QTest::addRow("%s: another version", t) << ws << QByteArray(R"({"type":"hello","version":3,"client":"x"})") << "version";
        QTest::addRow("%s: hello with a surplus field", t) << ws << QByteArray(R"({"type":"hello","version":2,"client":"x","admin":true})") << "greeting";
        QTest::addRow("%s: nothing at all", t) << ws << QByteArray() << "greeting";
    }
}

void tst_ServiceServer::badGreeting_isRefusedAndClosed()
{
    QFETCH(bool, webSocket);
    QFETCH(QByteArray, first);
    QFETCH(QString, reason);
    std::unique_ptr<RawClient> c(client(webSocket));
    QCOMPARE(c->take("welcome").value("version").toInt(), 2);
    if (!first.isEmpty())
        c->send(first);
    QCOMPARE(c->take("error").value("reason").toString(), reason);
    QVERIFY(c->waitClosed());
    if (reason == "version")
        QVERIFY(m_log.join('\n').contains("speaks protocol version 3, the service version 2"));
}

void tst_ServiceServer::hundredMegabyteMessage_dropsOnlyItsClient_data()
{
    QTest::addColumn<bool>("webSocket");
    QTest::newRow("local socket") << false;
    QTest::newRow("WebSocket") << true;
}

void tst_ServiceServer::hundredMegabyteMessage_dropsOnlyItsClient()
{
    QFETCH(bool, webSocket);
    std::unique_ptr<RawClient> good(client(webSocket));
    std::unique_ptr<RawClient> huge(client(webSocket));
    QVERIFY(good->attach() && huge->attach());
    huge->sendRaw(R"({"type":"ping","id":1,"x":")" + QByteArray(100 * 1024 * 1024, 'a'));
    QVERIFY(huge->waitClosed(20000));
    m_server->broadcast(ServiceMessages::title("after"));
    QCOMPARE(good->take("title").value("item").toString(), QString("after"));
    QCOMPARE(m_server->attachedCount(), 1);
}

void tst_ServiceServer::silentCrowd_leavesRoomForAWindow()
{
    m_url = listenTcp();
    std::vector<std::unique_ptr<QLocalSocket>> local;
    std::vector<std::unique_ptr<QTcpSocket>> tcp;
    for (int i = 0; i < 200; ++i) {
        local.push_back(std::make_unique<QLocalSocket>());
        local.back()->connectToServer(m_name);
        tcp.push_back(std::make_unique<QTcpSocket>());
        tcp.back()->connectToHost(QHostAddress::LocalHost, m_server->tcpPort());
    }
    const auto arriving = [&] {
        return std::any_of(local.begin(), local.end(), [](const auto &s) { return s->state() == QLocalSocket::ConnectingState; })
            || std::any_of(tcp.begin(), tcp.end(), [](const auto &s) { return s->state() == QAbstractSocket::ConnectingState; });
    };
    QTRY_VERIFY_WITH_TIMEOUT(!arriving(), 20000);
    // A crowd that arrived together keeps its grace; a window after it finds room.
    QTest::qWait(ServiceLimits().greetingGraceMs + 100);
    QVERIFY(m_server->greetingCount() <= ServiceLimits().maxGreeting);
    std::unique_ptr<RawClient> window(client(false));
    std::unique_ptr<RawClient> script(client(true));
    QVERIFY(window->attach());
    QVERIFY(script->attach());
    // Past the greeting time none of the crowd is held.
    QTRY_COMPARE_WITH_TIMEOUT(m_server->greetingCount(), 0, 5000);
    QCOMPARE(m_server->attachedCount(), 2);
}

void tst_ServiceServer::clientThatNeverReads_isDropped_othersGetEverything()
{
    std::unique_ptr<RawClient> reader(client());
    QVERIFY(reader->attach());
    QLocalSocket sleeper;
    sleeper.setReadBufferSize(1024);  // takes no more than this, and never reads it
    sleeper.connectToServer(m_name);
    QVERIFY(sleeper.waitForConnected(5000));
    sleeper.write(R"({"type":"hello","version":2,"client":"asleep"})" "\n");
    QTRY_COMPARE(m_server->attachedCount(), 2);
    const QByteArray snapshot = ServiceMessages::snapshot(m_side->snapshot());
    const int count = int(4 * 1024 * 1024 / snapshot.size()) + 1;
    for (int i = 0; i < count; ++i) {
        m_server->broadcast(snapshot);
        QCoreApplication::processEvents();
    }
    QTRY_COMPARE_WITH_TIMEOUT(reader->messages.size(), count + 2, 20000);  // welcome, first snapshot
    QCOMPARE(m_server->attachedCount(), 1);
    QVERIFY(m_log.join('\n').contains("it does not read"));
}

void tst_ServiceServer::snapshotLargerThanTheBound_stillAttaches()
{
    for (ServiceLine &line : m_side->m_snapshot.lines)
        line.text = QString(4000, QLatin1Char('x'));
    QVERIFY(ServiceMessages::snapshot(m_side->snapshot()).size() > 1024 * 1024);
    std::unique_ptr<RawClient> c(client());
    QVERIFY(c->attach());
    QCOMPARE(m_server->attachedCount(), 1);
}

void tst_ServiceServer::commands_data()
{
    QTest::addColumn<QString>("who");  // login:password, or empty
    QTest::addColumn<QJsonObject>("command");
    QTest::addColumn<QString>("answer");  // "queued", "refused <reason>", "error <reason>"
    const QJsonObject offset{{"type", "command"}, {"id", 7}, {"code", 3}, {"params", QJsonObject{{"freq_newOffset", 2.5e-12}}}};
    QJsonObject tooLarge = offset;
    tooLarge["params"] = QJsonObject{{"freq_newOffset", 1e-7}};
    QJsonObject sly = offset;
    sly["params"] = QJsonObject{{"freq_newOffset", 2.5e-12}, {"journalFolder", "/etc"}};
    const QJsonObject clear{{"type", "command"}, {"id", 8}, {"code", 13}, {"params", QJsonObject()}};
    const QJsonObject q{{"qual_Interval_chan1", 600}, {"qual_Interval_chan2", 600}, {"qual_Interval_chan3", 600}, {"qual_Interval_chan4", 900}};
    const QJsonObject qual{{"type", "command"}, {"id", 9}, {"code", 11}, {"params", q}, {"login", "alice"}, {"password", "secret"}};
    QJsonObject qualWrong = qual;
    qualWrong["password"] = "guess";
    QJsonObject qualBare = qual;
    qualBare.remove("login");
    qualBare.remove("password");
    QTest::newRow("without a login") << "" << offset << "refused Commands need an operator login";
    QTest::newRow("a level that only watches") << "bob:b" << offset << "refused may not";
    QTest::newRow("an operator's offset") << "alice:secret" << offset << "queued";
    QTest::newRow("an offset out of range") << "alice:secret" << tooLarge << "refused Frequency offset value range";
    QTest::newRow("a field of the service's own") << "alice:secret" << sly << "error journalFolder";
    QTest::newRow("journal clear by an operator") << "alice:secret" << clear << "refused may not";
    QTest::newRow("journal clear by a supervisor") << "carol:c" << clear << "queued";
    QTest::newRow("qualification, password again") << "alice:secret" << qual << "queued";
    QTest::newRow("qualification, wrong password again") << "alice:secret" << qualWrong << "refused not correct";
    QTest::newRow("qualification without the password") << "alice:secret" << qualBare << "error login";
    QTest::newRow("a code beyond the table") << "alice:secret" << QJsonObject{{"type", "command"}, {"id", 1}, {"code", 23}, {"params", QJsonObject()}} << "error code";
}

void tst_ServiceServer::commands()
{
    QFETCH(QString, who);
    QFETCH(QJsonObject, command);
    QFETCH(QString, answer);
    std::unique_ptr<RawClient> c(client());
    QVERIFY(c->attach());
    if (!who.isEmpty())
        QVERIFY(c->loginAs(who.section(':', 0, 0), who.section(':', 1)));
    c->send(json(command));
    const QString kind = answer.section(' ', 0, 0);
    const QString detail = answer.section(' ', 1);
    if (kind == "error") {
        QVERIFY2(c->take("error").value("text").toString().contains(detail), qPrintable(c->messages.last().value("text").toString()));
        QVERIFY(m_side->submitted.isEmpty());
        return;
    }
    const QJsonObject result = c->take("commandResult");
    QCOMPARE(result.value("id").toInt(), command.value("id").toInt());
    QCOMPARE(result.value("outcome").toString(), kind);
    QVERIFY2(result.value("reason").toString().contains(detail), qPrintable(result.value("reason").toString()));
    QCOMPARE(m_side->submitted.size(), kind == "queued" ? 1 : 0);
    if (kind == "queued") {
        const CommandSubmission &s = m_side->submitted.first();
        QCOMPARE(s.params.journalFolder, m_side->m_block.journalFolder);
        QCOMPARE(s.params.syncControl_info.stat[1], qint16(11));
        QCOMPARE(s.sender.describe(), who.section(':', 0, 0) + " at local");
        QVERIFY(m_log.join('\n').contains("from " + s.sender.describe()));
    }
}

void tst_ServiceServer::commandFlood_isBoundedPerClient()
{
    ServiceLimits limits;
    limits.maxCommands = 3;
    limits.requestBurst = 12;
    limits.floodLimit = 30;
    start(limits);
    std::unique_ptr<RawClient> c(client());
    std::unique_ptr<RawClient> other(client());
    QVERIFY(c->attach() && other->attach() && c->loginAs("alice", "secret"));
    const QByteArray offset = ServiceMessages::command(1, 3, CommandParameters());
    for (int i = 0; i < 5; ++i)
        c->send(offset);
    QStringList outcomes;
    for (int i = 0; i < 5; ++i)
        outcomes << c->take("commandResult").value("outcome").toString();
    QCOMPARE(outcomes, (QStringList{"queued", "queued", "queued", "refused", "refused"}));
    QVERIFY(c->messages.last().value("reason").toString().contains("3 commands of this window are waiting"));
    // Every window hears of the run once, and of the next run once again.
    const QString said = "Commands from alice at local refused: 3 of its commands wait for the instrument already.";
    QCOMPARE(m_side->announced, QStringList{said});
    m_server->commandFinished(42, true);
    QCOMPARE(c->take("commandResult").value("outcome").toString(), QString("done"));
    c->send(offset);
    c->send(offset);
    QCOMPARE(c->take("commandResult").value("outcome").toString(), QString("queued"));
    QCOMPARE(c->take("commandResult").value("outcome").toString(), QString("refused"));
    QCOMPARE(m_side->announced, (QStringList{said, said}));
    // Past its budget of requests the client hears it once, then is dropped.
    for (int i = 0; i < 60; ++i)
        c->send(ServiceMessages::ping(i));
    QCOMPARE(c->take("error").value("reason").toString(), QString("tooManyRequests"));
    QVERIFY(c->waitClosed());
    QCOMPARE(m_side->submitted.size(), 4);
    other->send(ServiceMessages::ping(5));
    QCOMPARE(other->take("pong").value("id").toInt(), 5);
}

void tst_ServiceServer::fullService_saysBusy()
{
    ServiceLimits limits;
    limits.maxClients = 4;
    start(limits);
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 4; ++i) {
        clients.emplace_back(client());
        QVERIFY(clients.back()->attach());
    }
    std::unique_ptr<RawClient> fifth(client());
    QVERIFY(!fifth->attach());
    QCOMPARE(fifth->take("error").value("reason").toString(), QString("busy"));
    QVERIFY(fifth->waitClosed());
}

void tst_ServiceServer::tls_attachesOnlyOverTlsAndNeverFromABrowserPage()
{
    TestCertificate cert;
    QString error;
    if (!cert.make("labpc", &error))
        QSKIP(qPrintable(error));
    ServiceSettings s;
    s.tcp = s.tls = true;
    s.certificate = cert.certificate;
    s.key = cert.key;
    const QUrl url = listenTcp(s);
    std::unique_ptr<RawClient> secure(new RawClient(url));
    QVERIFY(secure->attach());
    QUrl plain = url;
    plain.setScheme("ws");
    std::unique_ptr<RawClient> cleartext(new RawClient(plain));
    QVERIFY(cleartext->take("welcome", 1500).isEmpty());

    // A page in the operator's browser names its origin, and is turned away.
    QWebSocket page(QStringLiteral("http://attacker.example"));
    connect(&page, &QWebSocket::sslErrors, &page, [&page] { page.ignoreSslErrors(); });
    QSignalSpy message(&page, &QWebSocket::textMessageReceived);
    page.open(url);
    QTest::qWait(1500);
    QCOMPARE(message.count(), 0);
    QCOMPARE(m_server->attachedCount(), 1);

    m_server.reset();
    s.key = cert.dir.filePath("missing.key");
    start(ServiceLimits());
    QVERIFY(!m_server->listenTcp(s, &error));
    QVERIFY2(error.contains("missing.key"), qPrintable(error));
}

QTEST_MAIN(tst_ServiceServer)
#include "tst_serviceserver.moc"
