#pragma once

#include "core/AccountsFile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class LinkClock;

// The service's login: the accounts of the login dialog, checked the same way
// (MD5 digest of the UTF-8 password), and the same lock-out, kept apart for
// each client address: after the maximum of failed attempts that address may
// not try again for the lock-out time, and a failure older than that time is
// forgotten. Time is the clock's monotonic time, so a step of the wall clock
// neither ends nor lengthens a lock-out.
class LoginGuard
{
public:
    enum class Outcome {
        Granted,
        Refused,    // wrong login or password; attemptsLeft more tries
        LockedOut,  // no try now; waitSeconds to go
        Ignored,    // an empty login: neither a success nor a failure
    };

    struct Result {
        Outcome outcome = Outcome::Refused;
        Account account;       // when granted
        int attemptsLeft = 0;  // when refused
        qint64 waitSeconds = 0;  // when locked out
        bool lockStarted = false;  // this attempt used up the last try
    };

    // Lock-out records kept at most; clients beyond wait like locked ones.
    static constexpr int MaxClients = 256;

    explicit LoginGuard(std::shared_ptr<LinkClock> clock);

    // The built-in account first, then every account of `accounts` whose
    // login is not known yet (as the login dialog takes them).
    void setAccounts(const QList<Account> &accounts);
    void setMaxAttempts(int attempts);  // applied only when greater than 0
    void setLockSeconds(int seconds);   // applied only when 0 or greater

    Result attempt(const QString &client, const QByteArray &login, const QByteArray &password);

    static Account builtInAccount();
    int maxAttempts() const { return m_maxAttempts; }
    int lockSeconds() const { return m_lockSeconds; }

private:
    struct Record {
        int failed = 0;
        qint64 lockStartMs = -1;    // -1: never locked
        qint64 lastFailureMs = -1;  // -1: no counted failure
    };

    qint64 secondsSince(qint64 ms) const;
    const Account *match(const QByteArray &login, const QByteArray &password) const;
    void prune();

    std::shared_ptr<LinkClock> m_clock;
    QList<Account> m_accounts;
    QHash<QString, Record> m_records;
    int m_maxAttempts = 3;
    int m_lockSeconds = 1800;
};
