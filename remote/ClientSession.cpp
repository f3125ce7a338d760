#include "ClientSession.h"

#include "ClientChannel.h"
#include "ClientHistory.h"

#include "access/AccessPolicy.h"
#include "access/LoginGuard.h"
#include "link/COMThread.h"
#include "link/CommandRules.h"
#include "link/LinkClock.h"
#include "protocol/ParameterCodec.h"
#include "protocol/ProtocolMessage.h"
#include "protocol/ServiceMessages.h"

namespace {

const QString kRed = QStringLiteral("red");
const QString kBlack = QStringLiteral("black");
constexpr int kMaxCredential = 256;
constexpr qint64 kMaxId = (qint64(1) << 53) - 1;

}  // namespace

ClientSession::ClientSession(quint64 id, ClientChannel *channel, ServiceSide &side, LoginGuard &logins,
                             std::shared_ptr<LinkClock> clock, const ServiceLimits &limits, qint64 startedMs,
                             QObject *parent)
    : QObject(parent),
      m_id(id),
      m_channel(channel),
      m_side(side),
      m_logins(logins),
      m_clock(std::move(clock)),
      m_limits(limits),
      m_rate(limits.requestsPerSecond, limits.requestBurst),
      m_startedMs(startedMs)
{
    m_channel->setParent(this);
    m_identity.id = id;
    m_identity.address = channel->address();
    connect(m_channel, &ClientChannel::received, this, &ClientSession::onMessage);
    connect(m_channel, &ClientChannel::faulted, this, [this](const QString &why) {
        send(ServiceMessages::error(QStringLiteral("tooLarge"), why));
        drop(why);
    });
    connect(m_channel, &ClientChannel::closed, this, [this] {
        m_state = State::Closing;
        emit finished();
    });
    m_greeting.setSingleShot(true);
    connect(&m_greeting, &QTimer::timeout, this, [this] {
        refuse(QStringLiteral("greeting"), tr("No hello within %1 s.").arg(m_limits.greetingMs / 1000.0));
    });
    m_greeting.start(limits.greetingMs);
}

ClientSession::~ClientSession()
{
    m_channel->disconnect(this);
}

void ClientSession::onHistory(const ProtocolMessage &m)
{
    if (!m_history) {
        m_history = std::make_unique<ClientHistory>(
            m_side.historyDatabase(), [this](const QByteArray &message, bool large) { send(message, large); });
    }
    m_history->take(m);
}

void ClientSession::send(const QByteArray &message, bool large)
{
    if (m_state == State::Closing)
        return;
    const qint64 queued = m_channel->queuedBytes();
    if (queued <= m_limits.maxQueuedBytes)
        m_allowance = 0;  // caught up
    const qint64 room = m_limits.maxQueuedBytes + m_allowance + (large ? message.size() : 0);
    if (queued + message.size() > room) {
        drop(tr("it does not read what the service sends"));
        return;
    }
    if (large)
        m_allowance = qMax<qint64>(m_allowance, message.size());
    m_channel->send(message);
}

void ClientSession::drop(const QString &why)
{
    if (m_state == State::Closing)
        return;
    m_state = State::Closing;
    emit logLine(tr("Client %1 dropped: %2").arg(m_identity.describe(), why), kRed);
    m_channel->abort();
}

void ClientSession::refuse(const QString &reason, const QString &text)
{
    if (m_state == State::Closing)
        return;
    send(ServiceMessages::error(reason, text));
    m_state = State::Closing;
    m_channel->close();
}

void ClientSession::attach()
{
    m_state = State::Attached;
    // 500 long lines may make it larger than the bound itself.
    send(ServiceMessages::snapshot(m_side.snapshot()), true);
}

void ClientSession::onMessage(const QByteArray &bytes)
{
    if (m_state == State::Closing)
        return;
    // Over its rate the message is not even read.
    if (!m_rate.take(m_clock->monotonicMs())) {
        if (++m_refusedInRow > m_limits.floodLimit) {
            const QString why = tr("more than %1 requests refused in a row").arg(m_limits.floodLimit);
            emit logLine(tr("Client %1 dropped: %2").arg(m_identity.describe(), why), kRed);
            refuse(QStringLiteral("tooManyRequests"), why);
        } else if (m_refusedInRow == 1) {
            send(ServiceMessages::error(QStringLiteral("tooManyRequests"),
                                        tr("More than %1 requests a second.").arg(m_limits.requestsPerSecond)));
        }
        return;
    }
    m_refusedInRow = 0;
    ProtocolMessage m;
    QString why;
    if (!ProtocolMessage::parse(bytes, m_limits.maxMessageBytes, &m, &why)) {
        if (m_state == State::Greeting)
            refuse(QStringLiteral("greeting"), tr("The first message must be hello: %1").arg(why));
        else
            send(ServiceMessages::error(QStringLiteral("malformed"), why));
        return;
    }
    if (m_state == State::Greeting) {
        if (m.type == QLatin1String("hello"))
            onHello(m);
        else
            refuse(QStringLiteral("greeting"), tr("The first message must be hello."));
        return;
    }
    if (m.type == QLatin1String("login"))
        onLogin(m);
    else if (m.type == QLatin1String("logout")) {
        m_identity.account.clear();
        m_identity.level = 0;
        ServiceMessages::LoginReply reply;
        reply.outcome = QStringLiteral("loggedOut");
        reply.rights = AccessPolicy::names(0);
        send(ServiceMessages::loginResult(reply));
    } else if (m.type == QLatin1String("command"))
        onCommand(m);
    else if (m.type == QLatin1String("abortSteering"))
        onAbortSteering(m);
    else if (m.type == QLatin1String("ping"))
        onPing(m);
    else if (ClientHistory::handles(m.type))
        onHistory(m);
    else
        send(ServiceMessages::error(QStringLiteral("unknown"),
                                    tr("There is no message \"%1\" in protocol version %2.")
                                        .arg(m.type)
                                        .arg(Protocol::Version)));
}

void ClientSession::onHello(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    int version = 0;
    QString client;
    r.integer("version", &version, 1, 1000000);
    r.text("client", 256, &client);
    if (!r.finish()) {
        refuse(QStringLiteral("greeting"), r.error());
        return;
    }
    if (version != Protocol::Version) {
        emit logLine(tr("Client %1 refused: it speaks protocol version %2, the service version %3")
                         .arg(m_identity.describe())
                         .arg(version)
                         .arg(Protocol::Version),
                     kRed);
        refuse(QStringLiteral("version"),
               tr("This service speaks protocol version %1, the window version %2.")
                   .arg(Protocol::Version)
                   .arg(version));
        return;
    }
    m_greeting.stop();
    emit greeted();
}

void ClientSession::onLogin(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    QString login;
    QString password;
    r.text("login", kMaxCredential, &login);
    r.text("password", kMaxCredential, &password);
    if (!r.finish()) {
        send(ServiceMessages::error(QStringLiteral("malformed"), r.error()));
        return;
    }
    const LoginGuard::Result result = m_logins.attempt(m_channel->host(), login.toUtf8(), password.toUtf8());
    ServiceMessages::LoginReply reply;
    reply.maxAttempts = m_logins.maxAttempts();
    switch (result.outcome) {
    case LoginGuard::Outcome::Granted:
        m_identity.account = QString::fromUtf8(result.account.login);
        m_identity.level = result.account.level;
        reply.outcome = QStringLiteral("granted");
        reply.account = m_identity.account;
        reply.level = m_identity.level;
        emit logLine(tr("%1 logged in").arg(m_identity.describe()), kBlack);
        break;
    case LoginGuard::Outcome::Refused:
        reply.outcome = QStringLiteral("refused");
        reply.attemptsLeft = result.attemptsLeft;
        break;
    case LoginGuard::Outcome::LockedOut:
        reply.outcome = QStringLiteral("lockedOut");
        reply.waitSeconds = result.waitSeconds;
        if (result.lockStarted)
            emit logLine(tr("Logins from %1 locked for %2 s after %3 failed attempts")
                             .arg(m_channel->host())
                             .arg(result.waitSeconds)
                             .arg(reply.maxAttempts),
                         kRed);
        break;
    case LoginGuard::Outcome::Ignored:
        reply.outcome = QStringLiteral("ignored");
        break;
    }
    reply.rights = AccessPolicy::names(m_identity.account.isEmpty() ? 0 : m_identity.level);
    send(ServiceMessages::loginResult(reply));
}

void ClientSession::reject(qint64 id, int code, const QString &reason)
{
    send(ServiceMessages::commandResult(id, code, QStringLiteral("refused"), reason));
}

bool ClientSession::mayCommand(qint64 id, int code)
{
    if (m_identity.account.isEmpty()) {
        reject(id, code, tr("Commands need an operator login."));
        return false;
    }
    if (!AccessPolicy::allows(m_identity.level, AccessPolicy::needed(code))) {
        reject(id, code, tr("The account %1 (%2) may not do this.")
                             .arg(m_identity.account, AccessPolicy::levelName(m_identity.level)));
        return false;
    }
    if (m_pending.size() >= m_limits.maxCommands) {
        reject(id, code, tr("%1 commands of this window are waiting already.").arg(m_pending.size()));
        // Once for a run of refusals, as the service's own bound is said.
        if (!m_commandsFull)
            m_side.announce(tr("Commands from %1 refused: %2 of its commands wait for the instrument already.")
                                .arg(m_identity.describe())
                                .arg(m_pending.size()),
                            kRed);
        m_commandsFull = true;
        return false;
    }
    m_commandsFull = false;
    return true;
}

void ClientSession::onCommand(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    qint64 id = 0;
    int code = 0;
    r.integer("id", &id, 0, kMaxId);
    r.integer("code", &code, COMMAND_SET_SYNC_CHLIST, COMMAND_GET_FREQ_LIMIT);
    CommandParameters params = m_side.parameters();
    ParameterCodec::requestFromJson(code, r.object("params"), &params);
    QString login;
    QString password;
    const bool again = AccessPolicy::asksPasswordAgain(code);
    if (again) {
        r.text("login", kMaxCredential, &login);
        r.text("password", kMaxCredential, &password);
    }
    if (!r.finish()) {
        send(ServiceMessages::error(QStringLiteral("malformed"), r.error(), id));
        return;
    }
    if (!mayCommand(id, code))
        return;
    CommandSubmission submission{code, params, m_identity};
    if (again) {
        // As the login dialog does: the password again, counted like any login.
        const LoginGuard::Result result = m_logins.attempt(m_channel->host(), login.toUtf8(), password.toUtf8());
        if (result.outcome != LoginGuard::Outcome::Granted) {
            reject(id, code, result.outcome == LoginGuard::Outcome::LockedOut
                                 ? tr("Data entry is not possible. Wait %1 s.").arg(result.waitSeconds)
                                 : tr("Login or password are not correct."));
            return;
        }
        if (!AccessPolicy::allows(result.account.level, AccessPolicy::needed(code))) {
            reject(id, code, tr("The account %1 may not do this.").arg(QString::fromUtf8(result.account.login)));
            return;
        }
        submission.sender.account = QString::fromUtf8(result.account.login);
        submission.sender.level = result.account.level;
    }
    const CommandRules::Verdict verdict = CommandRules::check(code, params, m_clock->now());
    if (!verdict.ok) {
        reject(id, code, verdict.reason);
        return;
    }
    QString refusal;
    const quint64 ticket = m_side.submit(submission, &refusal);
    if (ticket == 0) {
        reject(id, code, refusal);
        return;
    }
    m_pending.insert(ticket, {id, code});
    emit logLine(tr("Command %1 from %2").arg(COMThread::commandVerb(code), submission.sender.describe()), kBlack);
    send(ServiceMessages::commandResult(id, code, QStringLiteral("queued")));
}

bool ClientSession::commandFinished(quint64 ticket, bool ok)
{
    const auto it = m_pending.find(ticket);
    if (it == m_pending.end())
        return false;
    const Pending p = *it;
    m_pending.erase(it);
    send(ServiceMessages::commandResult(p.id, p.code, ok ? QStringLiteral("done") : QStringLiteral("failed")));
    return true;
}

void ClientSession::onAbortSteering(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    qint64 id = 0;
    r.integer("id", &id, 0, kMaxId);
    if (!r.finish()) {
        send(ServiceMessages::error(QStringLiteral("malformed"), r.error()));
        return;
    }
    if (m_identity.account.isEmpty() || !AccessPolicy::allows(m_identity.level, AccessPolicy::Right::Operate)) {
        reject(id, -1, tr("Commands need an operator login."));
        return;
    }
    QString refusal;
    if (!m_side.abortSteering(m_identity, &refusal)) {
        reject(id, -1, refusal);
        return;
    }
    emit logLine(tr("Smooth steering aborted by %1").arg(m_identity.describe()), kBlack);
    send(ServiceMessages::commandResult(id, -1, QStringLiteral("done")));
}

void ClientSession::onPing(const ProtocolMessage &m)
{
    JsonReader r = m.reader();
    qint64 id = 0;
    r.integer("id", &id, 0, kMaxId);
    if (!r.finish()) {
        send(ServiceMessages::error(QStringLiteral("malformed"), r.error()));
        return;
    }
    send(ServiceMessages::pong(id));
}
