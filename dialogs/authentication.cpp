#include "authentication.h"
#include "ui_authentication.h"

#include "MessageBox.h"
#include "RemainingTime.h"

#include <QCloseEvent>
#include <QCryptographicHash>

#include <algorithm>

authentication::authentication(QWidget *parent)
    : QDialog(parent),
      ui(new Ui::authentication),
      m_now([] { return QDateTime::currentDateTime(); }),
      m_lockStart(QDate(1500, 1, 1), QTime(0, 0))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    m_accounts.append({1, QByteArrayLiteral("wardn"),
                       QByteArrayLiteral("5b1d0e7a93c4f2a86e0d3b7c19f4a2e6")});
}

authentication::~authentication()
{
    delete ui;
}

QList<Account> authentication::readAccountsFile(const QString &path, QString *refusal)
{
    return AccountsFile::read(path, refusal);
}

void authentication::setAccounts(const QList<Account> &accounts)
{
    for (const Account &a : accounts) {
        const bool known = std::any_of(m_accounts.cbegin(), m_accounts.cend(),
                                       [&](const Account &k) { return k.login == a.login; });
        if (!known)
            m_accounts.append(a);
    }
}

void authentication::setMaxAttempts(int attempts)
{
    if (attempts > 0)
        m_maxAttempts = attempts;
}

void authentication::setLockSeconds(int seconds)
{
    if (seconds >= 0)
        m_lockSeconds = seconds;
}

void authentication::setClock(std::function<QDateTime()> now)
{
    m_now = std::move(now);
}

qint64 authentication::secondsFrom(const QDateTime &moment) const
{
    if (!moment.isValid())
        return 0;
    return qAbs(moment.secsTo(m_now()));
}

int authentication::requestAccess()
{
    const qint64 sinceLockOut = secondsFrom(m_lockStart);
    if (sinceLockOut > m_lockSeconds) {
        if (m_failedAttempts >= m_maxAttempts)
            m_failedAttempts = 0;
        m_result = 0;
        ui->lineLogin->setFocus();
        clearEntry();
        ui->label_out->setText(tr("Enter login and password!"));
        exec();
    } else {
        MessageBox::warning(this, tr("Data entry is not possible.\nWait ")
                                      + RemainingTime::text(m_lockSeconds - sinceLockOut));
    }
    hide();
    return m_result;
}

bool authentication::passwordMatches(const QByteArray &login, const QByteArray &password) const
{
    const QByteArray digest = QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex();
    for (const Account &a : m_accounts) {
        if (a.login == login && a.digest == digest)
            return true;
    }
    return false;
}

void authentication::on_pushButton_clicked()
{
    if (secondsFrom(m_lastFailure) > m_lockSeconds)
        m_failedAttempts = 0;

    const QByteArray login = ui->lineLogin->text().toUtf8();
    if (login.isEmpty())
        return;

    if (m_checkedByService) {
        m_enteredLogin = ui->lineLogin->text();
        m_enteredPassword = ui->linePass->text();
        m_result = 1;
        close();
        return;
    }

    if (passwordMatches(login, ui->linePass->text().toUtf8())) {
        m_failedAttempts = 0;
        m_result = 1;
        close();
        return;
    }

    ++m_failedAttempts;
    if (m_failedAttempts < m_maxAttempts) {
        clearEntry();
        m_lastFailure = m_now();
        ui->label_out->setText(tr("Login or password are not correct\nNumber of attempts: ")
                               + QString::number(m_maxAttempts - m_failedAttempts));
        ui->lineLogin->setFocus();
        return;
    }

    m_result = 0;
    m_lockStart = m_now();
    MessageBox::warning(this, QString::number(m_maxAttempts) + tr(" attempts expended.\nWait ")
                                  + RemainingTime::text(m_lockSeconds));
    close();
}

bool authentication::takeEntry(QString *login, QString *password)
{
    if (m_enteredLogin.isEmpty())
        return false;
    *login = m_enteredLogin;
    *password = m_enteredPassword;
    m_enteredLogin.clear();
    m_enteredPassword.clear();
    return true;
}

void authentication::clearEntry()
{
    ui->label_out->clear();
    ui->lineLogin->clear();
    ui->linePass->clear();
}

void authentication::closeEvent(QCloseEvent *event)
{
    clearEntry();
    hide();
    event->ignore();
}

void authentication::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
