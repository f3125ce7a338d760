#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One operator allowed to log in. The password is kept only as the
// lower-case hexadecimal MD5 digest of its UTF-8 bytes.
struct Account {
    int level = 0;
    QByteArray login;   // UTF-8
    QByteArray digest;  // 32 lower-case hex characters

    bool operator==(const Account &o) const
    {
        return level == o.level && login == o.login && digest == o.digest;
    }
};

// The accounts file: one account per line, fields separated by single
// blanks. "level login digest", or "login digest" for level 3; any other
// line is skipped, and so is a login already listed above it.
class AccountsFile
{
public:
    static QList<Account> parse(const QByteArray &content);
    // An unreadable file gives no accounts.
    static QList<Account> read(const QString &path);
};
