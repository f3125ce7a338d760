#pragma once

#include "remote/ServiceSide.h"

#include <QJsonObject>
#include <QList>
#include <QLocalSocket>
#include <QObject>
#include <QTemporaryDir>
#include <QWebSocket>

// A service as untidy as the real one: its block holds device fields a
// window must not overwrite, its log holds markup and the full 500 lines,
// and it refuses a command now and then, as a service without an instrument does.
class FakeServiceSide : public ServiceSide
{
public:
    FakeServiceSide();

    ServiceSnapshot snapshot() const override { return m_snapshot; }
    CommandParameters parameters() const override { return m_block; }
    quint64 submit(const CommandSubmission &command, QString *refusal) override;
    bool abortSteering(const ClientIdentity &who, QString *refusal) override;
    void announce(const QString &text, const QString &) override { announced.append(text); }
    QString historyDatabase() const override { return historyPath; }

    ServiceSnapshot m_snapshot;
    QString historyPath;
    CommandParameters m_block;
    QList<CommandSubmission> submitted;
    QStringList announced;
    QString refuseWith;  // non-empty: submit() refuses
    quint64 nextTicket = 41;
};

// A client that speaks the protocol by hand: over the local socket or a
// WebSocket, keeping every message it gets, parsed.
class RawClient : public QObject
{
    Q_OBJECT

public:
    explicit RawClient(const QString &localName, QObject *parent = nullptr);
    explicit RawClient(const QUrl &url, QObject *parent = nullptr);

    void sendRaw(const QByteArray &bytes);  // as it is, no framing added
    void send(const QByteArray &message);
    // hello, and waits for the snapshot.
    bool attach();
    bool loginAs(const QString &login, const QString &password);
    // Waits until a message of `type` came (the first one not yet taken).
    QJsonObject take(const QString &type, int timeoutMs = 5000);
    bool isClosed() const { return m_closed; }
    bool waitClosed(int timeoutMs = 5000);

    QList<QJsonObject> messages;

private:
    void onBytes(const QByteArray &bytes);

    QLocalSocket *m_local = nullptr;
    QWebSocket *m_ws = nullptr;
    QByteArray m_pending;
    int m_taken = 0;
    bool m_closed = false;
};

// A self-signed certificate and key made by openssl for this test run.
struct TestCertificate {
    QTemporaryDir dir;
    QString certificate;
    QString key;
    // False (with the reason in `error`) when openssl is not there.
    bool make(const QString &commonName, QString *error);
};
