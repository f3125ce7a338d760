#include "ServiceRig.h"

#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

FakeServiceSide::FakeServiceSide()
{
    m_block.journalFolder = QStringLiteral("/var/lib/ksr583-monitor");
    m_block.syncControl_info.stat[1] = 11;
    m_block.ave_info.aveCur[0] = 3e-21f;
    m_snapshot.serviceName = QStringLiteral("labpc");
    m_snapshot.titleItem = QStringLiteral("COM3 KSR-583 #0042");
    m_snapshot.parameters = m_block;
    for (int i = 0; i < ServiceSnapshot::MaxLines; ++i)
        m_snapshot.lines.append({QDateTime::currentDateTime(), QStringLiteral("<i>line</i> %1").arg(i),
                                 i % 7 ? QStringLiteral("black") : QStringLiteral("red")});
}

quint64 FakeServiceSide::submit(const CommandSubmission &command, QString *refusal)
{
    if (!refuseWith.isEmpty()) {
        *refusal = refuseWith;
        return 0;
    }
    submitted.append(command);
    return nextTicket++;
}

bool FakeServiceSide::abortSteering(const ClientIdentity &, QString *refusal)
{
    *refusal = QStringLiteral("No smooth steering runs.");
    return false;
}

RawClient::RawClient(const QString &localName, QObject *parent) : QObject(parent), m_local(new QLocalSocket(this))
{
    connect(m_local, &QLocalSocket::readyRead, this, [this] {
        m_pending += m_local->readAll();
        int end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            onBytes(m_pending.left(end));
            m_pending.remove(0, end + 1);
        }
    });
    connect(m_local, &QLocalSocket::disconnected, this, [this] { m_closed = true; });
    m_local->connectToServer(localName);
}

RawClient::RawClient(const QUrl &url, QObject *parent) : QObject(parent), m_ws(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this))
{
    connect(m_ws, &QWebSocket::textMessageReceived, this, [this](const QString &t) { onBytes(t.toUtf8()); });
    connect(m_ws, &QWebSocket::disconnected, this, [this] { m_closed = true; });
    connect(m_ws, &QWebSocket::sslErrors, this, [this] { m_ws->ignoreSslErrors(); });
    m_ws->open(url);
}

void RawClient::onBytes(const QByteArray &bytes)
{
    messages.append(QJsonDocument::fromJson(bytes).object());
}

void RawClient::sendRaw(const QByteArray &bytes)
{
    if (m_local)
        m_local->write(bytes);
    else
        m_ws->sendTextMessage(QString::fromUtf8(bytes));
}

void RawClient::send(const QByteArray &message)
{
    sendRaw(m_local ? message + '\n' : message);
}

QJsonObject RawClient::take(const QString &type, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        for (int i = m_taken; i < messages.size(); ++i) {
            if (messages[i].value("type").toString() == type) {
                m_taken = i + 1;
                return messages[i];
            }
        }
        if (t.elapsed() > timeoutMs)
            return {};
        QTest::qWait(5);
    }
}

bool RawClient::attach()
{
    if (take("welcome").isEmpty())
        return false;
    send(R"({"type":"hello","version":2,"client":"test"})");
    return !take("snapshot").isEmpty();
}

bool RawClient::loginAs(const QString &login, const QString &password)
{
    send(QJsonDocument(QJsonObject{{"type", "login"}, {"login", login}, {"password", password}}).toJson(QJsonDocument::Compact));
    return take("loginResult").value("outcome").toString() == "granted";
}

bool RawClient::waitClosed(int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!m_closed && t.elapsed() < timeoutMs)
        QTest::qWait(5);
    return m_closed;
}

bool TestCertificate::make(const QString &commonName, QString *error)
{
    certificate = dir.filePath(commonName + ".crt");
    key = dir.filePath(commonName + ".key");
    QProcess p;
    p.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                        "/CN=" + commonName, "-keyout", key, "-out", certificate});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *error = "openssl: " + p.errorString() + QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    return true;
}
