#include "AccountsFile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {
bool hasLogin(const QList<Account> &accounts, const QByteArray &login)
{
    for (const Account &a : accounts) {
        if (a.login == login)
            return true;
    }
    return false;
}

// Every byte of the file is one Latin-1 character; login and digest are kept
// as that text's UTF-8 form.
QByteArray field(const QString &text)
{
    return text.toUtf8();
}
}  // namespace

QList<Account> AccountsFile::parse(const QByteArray &content)
{
    QList<Account> accounts;
    const QList<QByteArray> lines = content.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QStringList fields = QString::fromLatin1(line).split(QLatin1Char(' '));
        Account a;
        if (fields.size() == 3) {
            a.level = fields[0].toInt();  // a non-number counts as 0
            a.login = field(fields[1]);
            a.digest = field(fields[2]);
        } else if (fields.size() == 2) {
            a.level = 3;
            a.login = field(fields[0]);
            a.digest = field(fields[1]);
        } else {
            continue;
        }
        if (!hasLogin(accounts, a.login))
            accounts.append(a);
    }
    return accounts;
}

QList<Account> AccountsFile::read(const QString &path, QString *refusal)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    const auto refuse = [&](const QString &reason) {
        if (refusal)
            *refusal = tr("The accounts file \"%1\" is not used: %2. Only the built-in account can log in.")
                           .arg(QDir::toNativeSeparators(path), reason);
        return QList<Account>();
    };
    // Checked before opening: opening a pipe would wait for a writer.
    if (!info.isFile())
        return refuse(tr("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Read with a bound: the file may have grown since it was looked at.
    const QByteArray content = file.read(MaxBytes + 1);
    if (content.size() > MaxBytes)
        return refuse(tr("it is larger than 1 MB"));
    return parse(content);
}
