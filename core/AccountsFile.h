#pragma once

#include <QByteArray>
#include <QCoreApplication>
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
    Q_DECLARE_TR_FUNCTIONS(AccountsFile)

public:
    // An accounts file is a few lines; anything larger is a wrong path.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    static QList<Account> parse(const QByteArray &content);
    // A missing or unreadable file gives no accounts. So does one that is no
    // regular file (a device would never end) or is larger than MaxBytes:
    // then `refusal` says why, for the operator.
    static QList<Account> read(const QString &path, QString *refusal = nullptr);
};
