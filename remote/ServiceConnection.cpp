#include "ServiceConnection.h"

#include "CertificatePins.h"

#include "protocol/HistoryCodec.h"
#include "protocol/ProtocolMessage.h"
#include "protocol/RecordCodec.h"
#include "protocol/ViewCodec.h"

#include <QLocalSocket>
#include <QWebSocket>

ServiceConnection::ServiceConnection(const QString &clientName, QObject *parent)
    : QObject(parent), m_clientName(clientName), m_framer(Protocol::MaxServiceMessage)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ServiceConnection::start);
}

ServiceConnection::~ServiceConnection()
{
    m_retry.stop();
    if (m_local)
        m_local->disconnect(this);
    if (m_ws)
        m_ws->disconnect(this);
}

void ServiceConnection::setRetryDelays(int firstMs, int longestMs)
{
    m_firstDelayMs = qMax(1, firstMs);
    m_longestDelayMs = qMax(m_firstDelayMs, longestMs);
    m_delayMs = m_firstDelayMs;
}

void ServiceConnection::openLocal(const QString &serverName)
{
    close();
    m_localName = serverName;
    m_url.clear();
    m_delayMs = m_firstDelayMs;
    start();
}

void ServiceConnection::openUrl(const QUrl &url)
{
    close();
    m_localName.clear();
    m_url = url;
    m_delayMs = m_firstDelayMs;
    start();
}

void ServiceConnection::close()
{
    m_retry.stop();
    setState(State::Closed);
    drop();
}

void ServiceConnection::drop()
{
    // Deleted later: this may run inside one of the socket's own signals.
    if (m_local) {
        m_local->disconnect(this);
        m_local->abort();
        m_local.release()->deleteLater();
    }
    if (m_ws) {
        m_ws->disconnect(this);
        m_ws->abort();
        m_ws.release()->deleteLater();
    }
}

void ServiceConnection::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged(s);
}

void ServiceConnection::start()
{
    drop();
    m_welcomed = false;
    m_framer = LineFramer(Protocol::MaxServiceMessage);
    setState(State::Connecting);
    if (!m_localName.isEmpty()) {
        m_local = std::make_unique<QLocalSocket>();
        m_local->setReadBufferSize(256 * 1024);
        connect(m_local.get(), &QLocalSocket::readyRead, this, [this] {
            while (m_local && m_local->bytesAvailable() > 0) {
                const QList<QByteArray> lines = m_framer.feed(m_local->read(256 * 1024));
                for (const QByteArray &line : lines) {
                    if (!m_local)
                        return;
                    onBytes(line);
                }
                if (m_framer.overflowed()) {
                    emit problem(tr("The service sent a message larger than %1 bytes.").arg(Protocol::MaxServiceMessage));
                    onClosed();
                    return;
                }
            }
        });
        connect(m_local.get(), &QLocalSocket::disconnected, this, &ServiceConnection::onClosed);
        connect(m_local.get(), &QLocalSocket::errorOccurred, this, [this] {
            emit problem(m_local->errorString());
            onClosed();
        });
        m_local->connectToServer(m_localName);
        return;
    }
    m_ws = std::make_unique<QWebSocket>();
    m_ws->setMaxAllowedIncomingFrameSize(Protocol::MaxServiceMessage);
    m_ws->setMaxAllowedIncomingMessageSize(Protocol::MaxServiceMessage);
    connect(m_ws.get(), &QWebSocket::textMessageReceived, this, [this](const QString &t) { onBytes(t.toUtf8()); });
    connect(m_ws.get(), &QWebSocket::disconnected, this, &ServiceConnection::onClosed);
    connect(m_ws.get(), &QWebSocket::sslErrors, this, &ServiceConnection::onSslErrors);
    connect(m_ws.get(), QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
            [this] { emit problem(m_ws->errorString()); });
    m_ws->open(m_url);
}

void ServiceConnection::onSslErrors(const QList<QSslError> &errors)
{
    const QSslCertificate certificate = m_ws->sslConfiguration().peerCertificate();
    const QString peer = m_url.host() + QLatin1Char(':') + QString::number(m_url.port());
    const QByteArray pinned = m_pins ? m_pins->pinned(peer) : QByteArray();
    if (certificate.isNull()) {
        refuse(QStringLiteral("certificate"), tr("The service at %1 shows no certificate.").arg(peer));
        return;
    }
    if (!pinned.isEmpty()) {
        if (pinned == CertificatePins::digest(certificate)) {
            m_ws->ignoreSslErrors(errors);
            return;
        }
        refuse(QStringLiteral("certificate"),
               tr("The service at %1 shows another certificate than the one accepted before "
                  "(SHA-256 %2). If it was not replaced on purpose, someone may be in between.")
                   .arg(peer, QString::fromLatin1(CertificatePins::digest(certificate))));
        return;
    }
    if (m_hook && m_hook(peer, certificate)) {
        if (m_pins)
            m_pins->pin(peer, certificate);
        m_ws->ignoreSslErrors(errors);
        return;
    }
    refuse(QStringLiteral("certificate"), tr("The certificate of the service at %1 is not accepted.").arg(peer));
}

void ServiceConnection::refuse(const QString &reason, const QString &text)
{
    m_retry.stop();
    setState(State::Refused);
    emit refused(reason, text);
    drop();
}

void ServiceConnection::onClosed()
{
    if (m_state == State::Closed || m_state == State::Refused)
        return;
    drop();
    setState(State::Disconnected);
    m_retry.start(m_delayMs);
    m_delayMs = qMin(m_longestDelayMs, m_delayMs * 2);
}

void ServiceConnection::send(const QByteArray &message)
{
    if (m_local)
        m_local->write(LineFramer::frame(message));
    else if (m_ws)
        m_ws->sendTextMessage(QString::fromUtf8(message));
}

void ServiceConnection::login(const QString &login, const QString &password)
{
    send(ServiceMessages::login(login, password));
}

void ServiceConnection::logout()
{
    send(ServiceMessages::logout());
}

qint64 ServiceConnection::submit(int code, const CommandParameters &params, const QString &login,
                                 const QString &password)
{
    const qint64 id = m_nextId++;
    send(ServiceMessages::command(id, code, params, login, password));
    return id;
}

qint64 ServiceConnection::abortSteering()
{
    const qint64 id = m_nextId++;
    send(ServiceMessages::abortSteering(id));
    return id;
}

bool ServiceConnection::sendHistory(const QByteArray &message)
{
    if (m_state != State::Attached)
        return false;
    send(message);
    return true;
}

bool ServiceConnection::dispatchHistory(const ProtocolMessage &m, QString *why)
{
    JsonReader r = m.reader();
    int id = 0;
    r.integer("id", &id, 1, 0x7fffffff);
    if (m.type == QLatin1String("historyView")) {
        HistoryView view;
        TimeRange extent;
        HistoryCodec::fromJson(r.object("view"), &view);
        HistoryCodec::fromJson(r.object("extent"), &extent);
        if (r.finish())
            emit historyViewReceived(id, view, extent);
    } else if (m.type == QLatin1String("stability")) {
        StabilityResult result;
        HistoryCodec::fromJson(r.object("result"), &result);
        if (r.finish())
            emit stabilityReceived(id, result);
    } else if (m.type == QLatin1String("historyChunk")) {
        ExportChunk chunk;
        HistoryCodec::fromJson(r.object("chunk"), &chunk);
        if (r.finish())
            emit historyChunkReceived(id, chunk);
    } else if (m.type == QLatin1String("historyProgress")) {
        int percent = 0;
        r.integer("percent", &percent, 0, 100);
        if (r.finish())
            emit historyProgressReceived(id, percent);
    } else if (m.type == QLatin1String("historyUnavailable")) {
        QString reason;
        r.text("reason", 4096, &reason, true);
        if (r.finish())
            emit historyUnavailableReceived(id, reason);
    } else {
        r.fail("type", tr("there is no message \"%1\" in protocol version %2").arg(m.type).arg(Protocol::Version));
    }
    *why = r.error();
    return r.ok();
}

qint64 ServiceConnection::ping()
{
    const qint64 id = m_nextId++;
    send(ServiceMessages::ping(id));
    return id;
}

void ServiceConnection::onBytes(const QByteArray &bytes)
{
    ProtocolMessage m;
    QString why;
    if (!ProtocolMessage::parse(bytes, Protocol::MaxServiceMessage, &m, &why) || !dispatch(m, &why)) {
        // A service that breaks the protocol is not shown half understood.
        emit problem(tr("The service's message cannot be read: %1").arg(why));
        onClosed();
    }
}

bool ServiceConnection::dispatch(const ProtocolMessage &m, QString *why)
{
    JsonReader r = m.reader();
    const auto done = [&r, why] {
        if (r.finish())
            return true;
        *why = r.error();
        return false;
    };
    if (!m_welcomed) {
        int version = 0;
        if (m.type == QLatin1String("error")) {
            QString reason;
            QString text;
            r.text("reason", 64, &reason);
            r.text("text", 4096, &text, true);
            if (!done())
                return false;
            emit serviceError(reason, text);
            return true;
        }
        if (m.type != QLatin1String("welcome")) {
            *why = tr("the first message is not a welcome");
            return false;
        }
        // Read before the version is judged: a later version may add fields.
        r.integer("version", &version, 1, 1000000);
        if (r.ok() && version != Protocol::Version) {
            // The service learns of it too, from the version of this hello.
            send(ServiceMessages::hello(m_clientName));
            if (m_local)
                m_local->flush();
            if (m_ws)
                m_ws->flush();
            refuse(QStringLiteral("version"), tr("The service speaks protocol version %1, this window version %2.")
                                                  .arg(version)
                                                  .arg(Protocol::Version));
            return true;
        }
        QString program;
        r.text("service", ViewCodec::MaxNameLength, &m_serviceName);
        r.text("program", ViewCodec::MaxNameLength, &program);
        if (!done())
            return false;
        m_welcomed = true;
        send(ServiceMessages::hello(m_clientName));
        return true;
    }
    if (m.type.startsWith(QLatin1String("history")) || m.type == QLatin1String("stability"))
        return dispatchHistory(m, why);
    if (m.type == QLatin1String("snapshot")) {
        ServiceSnapshot s;
        if (!ViewCodec::fromJson(r.object("snapshot"), &s) || !done())
            return false;
        m_delayMs = m_firstDelayMs;
        setState(State::Attached);
        emit snapshotReceived(s);
    } else if (m.type == QLatin1String("record")) {
        PollReading p;
        if (!RecordCodec::fromJson(r, &p))
            return (*why = r.error()), false;
        emit recordReceived(p);
    } else if (m.type == QLatin1String("results")) {
        QString event;
        ServiceMessages::ResultsEvent e{};
        LinkResults v;
        r.text("event", 32, &event);
        RecordCodec::fromJson(r.object("value"), &v);
        if (r.ok() && !ServiceMessages::eventFromName(event, &e))
            r.fail("event", tr("unknown"));
        if (!done())
            return false;
        emit resultsReceived(v, e);
    } else if (m.type == QLatin1String("line")) {
        ServiceLine l;
        if (!ViewCodec::fromJson(r, &l))
            return (*why = r.error()), false;
        emit lineReceived(l);
    } else if (m.type == QLatin1String("link")) {
        LinkView s;
        if (!ViewCodec::fromJson(r, &s))
            return (*why = r.error()), false;
        emit linkChanged(s);
    } else if (m.type == QLatin1String("title")) {
        QString item;
        r.text("item", ViewCodec::MaxNameLength, &item);
        if (!done())
            return false;
        emit titleChanged(item);
    } else if (m.type == QLatin1String("deviceInfo")) {
        DeviceInfo d;
        if (!ViewCodec::fromJson(r, &d))
            return (*why = r.error()), false;
        emit deviceInfoReceived(d);
    } else if (m.type == QLatin1String("progress")) {
        WorkProgress p;
        if (!ViewCodec::fromJson(r, &p))
            return (*why = r.error()), false;
        emit progressChanged(p);
    } else if (m.type == QLatin1String("counters")) {
        LinkCounters c;
        if (!RecordCodec::fromJson(r, &c))
            return (*why = r.error()), false;
        emit countersChanged(c);
    } else if (m.type == QLatin1String("channelNames")) {
        QStringList names;
        ViewCodec::takeChannelNames(r, &names);
        if (!done())
            return false;
        emit channelNamesChanged(names);
    } else if (m.type == QLatin1String("loginResult")) {
        ServiceMessages::LoginReply reply;
        r.text("outcome", 16, &reply.outcome);
        r.text("account", 256, &reply.account);
        r.integer("level", &reply.level);
        const QJsonArray rights = r.arrayOf("rights", 0, 8);
        for (const QJsonValue &v : rights)
            reply.rights.append(v.toString().left(16));
        r.integer("attemptsLeft", &reply.attemptsLeft, 0, 1000000);
        r.integer("maxAttempts", &reply.maxAttempts, 0, 1000000);
        r.integer("waitSeconds", &reply.waitSeconds, 0, qint64(1) << 40);
        if (!done())
            return false;
        emit loginAnswered(reply);
    } else if (m.type == QLatin1String("commandResult")) {
        qint64 id = 0;
        int code = 0;
        QString outcome;
        QString reason;
        r.integer("id", &id, 0, (qint64(1) << 53) - 1);
        r.integer("code", &code, -1, COMMAND_GET_FREQ_LIMIT);
        r.text("outcome", 16, &outcome);
        r.text("reason", 4096, &reason, true);
        if (!done())
            return false;
        emit commandAnswered(id, code, outcome, reason);
    } else if (m.type == QLatin1String("pong")) {
        qint64 id = 0;
        r.integer("id", &id, 0, (qint64(1) << 53) - 1);
        if (!done())
            return false;
        emit pongReceived(id);
    } else if (m.type == QLatin1String("error")) {
        QString reason;
        QString text;
        r.text("reason", 64, &reason);
        r.text("text", 4096, &text, true);
        qint64 id = -1;
        if (r.has("id"))
            r.integer("id", &id, 0, (qint64(1) << 53) - 1);
        if (!done())
            return false;
        emit serviceError(reason, text);
    } else {
        *why = tr("there is no message \"%1\" in protocol version %2").arg(m.type).arg(Protocol::Version);
        return false;
    }
    return true;
}
