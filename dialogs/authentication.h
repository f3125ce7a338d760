#pragma once

#include "core/AccountsFile.h"

#include <QDateTime>
#include <QDialog>
#include <QList>

#include <functional>

namespace Ui {
class authentication;
}

// The login asked before a protected command is sent. Counts failed
// attempts and, after too many, refuses data entry for a while. One object
// lives for the whole run and is reused for every request.
class authentication : public QDialog
{
    Q_OBJECT

public:
    explicit authentication(QWidget *parent = nullptr);
    ~authentication() override;

    // The accounts of a file; none when it cannot be read, or when it is
    // refused (no regular file, too large), and then `refusal` says why.
    static QList<Account> readAccountsFile(const QString &path, QString *refusal = nullptr);

    // Adds, in order, every account whose login is not known yet.
    void setAccounts(const QList<Account> &accounts);
    // Applied only when greater than 0.
    void setMaxAttempts(int attempts);
    // Applied only when 0 or greater.
    void setLockSeconds(int seconds);

    // Asks for login and password (unless locked out); non-zero when granted.
    int requestAccess();

    // For a window attached to a service, which decides on every login and
    // counts the failures itself: requestAccess() then takes what is entered
    // unchecked, for takeEntry().
    void setCheckedByService(bool on) { m_checkedByService = on; }
    bool checkedByService() const { return m_checkedByService; }
    // The login and password of the last granted request, once; false when
    // none is waiting.
    bool takeEntry(QString *login, QString *password);

    // The source of "now" (local time); tests set their own.
    void setClock(std::function<QDateTime()> now);

    QList<Account> accounts() const { return m_accounts; }
    int maxAttempts() const { return m_maxAttempts; }
    int lockSeconds() const { return m_lockSeconds; }
    int failedAttempts() const { return m_failedAttempts; }

protected:
    // Closing only hides: the object outlives every request.
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void on_pushButton_clicked();

private:
    void clearEntry();
    bool passwordMatches(const QByteArray &login, const QByteArray &password) const;
    qint64 secondsFrom(const QDateTime &moment) const;

    Ui::authentication *ui;
    std::function<QDateTime()> m_now;
    QList<Account> m_accounts;
    int m_result = 0;
    int m_failedAttempts = 0;
    int m_maxAttempts = 3;
    int m_lockSeconds = 1800;
    QDateTime m_lockStart;
    QDateTime m_lastFailure;  // invalid until the first counted failure
    bool m_checkedByService = false;
    QString m_enteredLogin;
    QString m_enteredPassword;
};
