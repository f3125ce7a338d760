#include "LoginGuard.h"

#include "link/LinkClock.h"

#include <QCryptographicHash>

LoginGuard::LoginGuard(std::shared_ptr<LinkClock> clock) : m_clock(std::move(clock))
{
    m_accounts.append(builtInAccount());
}

Account LoginGuard::builtInAccount()
{
    // The same account the login dialog knows without an accounts file.
    return {1, QByteArrayLiteral("wardn"), QByteArrayLiteral("5b1d0e7a93c4f2a86e0d3b7c19f4a2e6")};
}

void LoginGuard::setAccounts(const QList<Account> &accounts)
{
    m_accounts = {builtInAccount()};
    for (const Account &a : accounts) {
        bool known = false;
        for (const Account &k : qAsConst(m_accounts))
            known = known || k.login == a.login;
        if (!known)
            m_accounts.append(a);
    }
}

void LoginGuard::setMaxAttempts(int attempts)
{
    if (attempts > 0)
        m_maxAttempts = attempts;
}

void LoginGuard::setLockSeconds(int seconds)
{
    if (seconds >= 0)
        m_lockSeconds = seconds;
}

qint64 LoginGuard::secondsSince(qint64 ms) const
{
    if (ms < 0)
        return 0;
    return qAbs(m_clock->monotonicMs() - ms) / 1000;
}

const Account *LoginGuard::match(const QByteArray &login, const QByteArray &password) const
{
    const QByteArray digest = QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex();
    for (const Account &a : m_accounts) {
        if (a.login == login)
            return a.digest == digest ? &a : nullptr;  // the first account with the login decides
    }
    return nullptr;
}

void LoginGuard::prune()
{
    for (auto it = m_records.begin(); it != m_records.end();) {
        const bool locked = it->lockStartMs >= 0 && secondsSince(it->lockStartMs) <= m_lockSeconds;
        const bool recent = it->lastFailureMs >= 0 && secondsSince(it->lastFailureMs) <= m_lockSeconds;
        it = locked || recent ? std::next(it) : m_records.erase(it);
    }
}

LoginGuard::Result LoginGuard::attempt(const QString &client, const QByteArray &login,
                                       const QByteArray &password)
{
    Result result;
    if (!m_records.contains(client) && m_records.size() >= MaxClients) {
        prune();
        if (m_records.size() >= MaxClients) {
            result.outcome = Outcome::LockedOut;
            result.waitSeconds = m_lockSeconds;
            return result;
        }
    }
    Record &r = m_records[client];
    const qint64 sinceLock = secondsSince(r.lockStartMs);
    if (r.lockStartMs >= 0 && sinceLock <= m_lockSeconds) {
        result.outcome = Outcome::LockedOut;
        result.waitSeconds = m_lockSeconds - sinceLock;
        return result;
    }
    if (r.failed >= m_maxAttempts || secondsSince(r.lastFailureMs) > m_lockSeconds)
        r.failed = 0;
    if (login.isEmpty()) {
        result.outcome = Outcome::Ignored;
        return result;
    }
    if (const Account *a = match(login, password)) {
        m_records.remove(client);
        result.outcome = Outcome::Granted;
        result.account = *a;
        return result;
    }
    ++r.failed;
    r.lastFailureMs = m_clock->monotonicMs();
    if (r.failed < m_maxAttempts) {
        result.outcome = Outcome::Refused;
        result.attemptsLeft = m_maxAttempts - r.failed;
        return result;
    }
    r.lockStartMs = m_clock->monotonicMs();
    result.outcome = Outcome::LockedOut;
    result.waitSeconds = m_lockSeconds;
    result.lockStarted = true;
    return result;
}
