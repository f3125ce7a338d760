#include "dialogs/MessageBox.h"
#include "dialogs/authentication.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

class tst_Authentication : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rightPassword_grantsAccess();
    void fiveAttempts_countDownThenLockOut();
    void lockOut_refusesUntilItRunsOut();
    void emptyLogin_isNoFailure();
    void wrongEntry_countsAsFailure_data();
    void wrongEntry_countsAsFailure();
    void closing_refusesAndKeepsFailureCount();
    void failureOlderThanLockTime_isForgotten();
    void success_resetsFailureCount();
    void limits_data();
    void limits();
    void repeatedLogins_areIgnored();

private:
    // Runs requestAccess() with `entries` carried out while the dialog is up.
    int request(const std::function<void()> &entries);
    void enter(const QString &login, const QString &password);
    QString message() const;

    authentication *m_dlg = nullptr;
    QDateTime m_now;
    QStringList m_messages;
};

void tst_Authentication::init()
{
    m_now = QDateTime(QDate(2025, 6, 1), QTime(12, 0));
    m_dlg = new authentication;
    m_dlg->setClock([this] { return m_now; });
    m_dlg->setAccounts(
        {{2, "op", QCryptographicHash::hash("secret", QCryptographicHash::Md5).toHex()}});
    m_messages.clear();
    MessageBox::setAutoAnswer(true);
    MessageBox::clearShownTexts();
}

void tst_Authentication::cleanup()
{
    MessageBox::setAutoAnswer(false);
    delete m_dlg;
}

int tst_Authentication::request(const std::function<void()> &entries)
{
    // A timer of this call only: when no dialog comes up, it never fires.
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, m_dlg, [this, entries] {
        entries();
        if (m_dlg->isVisible())
            m_dlg->close();
    });
    timer.start(0);
    return m_dlg->requestAccess();
}

void tst_Authentication::enter(const QString &login, const QString &password)
{
    auto *loginField = m_dlg->findChild<QLineEdit *>("lineLogin");
    auto *passField = m_dlg->findChild<QLineEdit *>("linePass");
    loginField->clear();
    passField->clear();
    QTest::keyClicks(loginField, login);
    QTest::keyClicks(passField, password);
    QTest::mouseClick(m_dlg->findChild<QPushButton *>("pushButton"), Qt::LeftButton);
    m_messages << message();
}

QString tst_Authentication::message() const
{
    return m_dlg->findChild<QLabel *>("label_out")->text();
}

void tst_Authentication::rightPassword_grantsAccess()
{
    bool shown = false;
    QCOMPARE(request([&] {
                 shown = m_dlg->isVisible();
                 QCOMPARE(message(), QString("Enter login and password!"));
                 enter("op", "secret");
             }),
             1);
    QVERIFY(shown);
    QVERIFY(!m_dlg->isVisible());
    QVERIFY(m_dlg->findChild<QLineEdit *>("linePass")->text().isEmpty());
}

void tst_Authentication::fiveAttempts_countDownThenLockOut()
{
    m_dlg->setMaxAttempts(5);
    QCOMPARE(request([&] {
                 for (int i = 0; i < 4; ++i)
                     enter("op", "wrong");
                 QVERIFY(m_dlg->isVisible());
                 QVERIFY(MessageBox::shownTexts().isEmpty());
                 enter("op", "wrong");
             }),
             0);
    const QString left = "Login or password are not correct\nNumber of attempts: ";
    QCOMPARE(m_messages.mid(0, 4), QStringList({left + "4", left + "3", left + "2", left + "1"}));
    QCOMPARE(MessageBox::shownTexts(), QStringList("5 attempts expended.\nWait 30 minutes"));
}

void tst_Authentication::lockOut_refusesUntilItRunsOut()
{
    m_dlg->setMaxAttempts(1);
    request([&] { enter("op", "wrong"); });
    MessageBox::clearShownTexts();

    m_now = m_now.addSecs(25 * 60);
    bool shown = false;
    QCOMPARE(request([&] { shown = true; }), 0);
    QVERIFY(!shown);
    QCOMPARE(MessageBox::shownTexts(), QStringList("Data entry is not possible.\nWait 5 minutes"));

    m_now = m_now.addSecs(5 * 60 + 1);
    QCOMPARE(request([&] { enter("op", "secret"); }), 1);
}

void tst_Authentication::emptyLogin_isNoFailure()
{
    request([&] { enter("", "anything"); });
    QCOMPARE(m_dlg->failedAttempts(), 0);
    QCOMPARE(m_messages, QStringList("Enter login and password!"));
}

void tst_Authentication::wrongEntry_countsAsFailure_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::newRow("known login, wrong password") << "op" << "wrong";
    QTest::newRow("unknown login") << "nobody" << "secret";
    QTest::newRow("login in other case") << "OP" << "secret";
    QTest::newRow("built-in login, wrong password") << "wardn" << "secret";
}

void tst_Authentication::wrongEntry_countsAsFailure()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QCOMPARE(request([&] { enter(login, password); }), 0);
    QCOMPARE(m_dlg->failedAttempts(), 1);
    QCOMPARE(m_messages, QStringList("Login or password are not correct\nNumber of attempts: 2"));
}

void tst_Authentication::closing_refusesAndKeepsFailureCount()
{
    QCOMPARE(request([&] {
                 enter("op", "wrong");
                 QTest::keyClicks(m_dlg->findChild<QLineEdit *>("lineLogin"), "op");
                 m_dlg->close();
             }),
             0);
    QCOMPARE(m_dlg->failedAttempts(), 1);
    QVERIFY(m_dlg->findChild<QLineEdit *>("lineLogin")->text().isEmpty());

    request([&] { enter("op", "wrong"); });
    QCOMPARE(m_messages.last(), QString("Login or password are not correct\nNumber of attempts: 1"));
}

void tst_Authentication::failureOlderThanLockTime_isForgotten()
{
    request([&] {
        enter("op", "wrong");
        m_now = m_now.addSecs(1801);
        enter("op", "wrong");
    });
    QCOMPARE(m_dlg->failedAttempts(), 1);
}

void tst_Authentication::success_resetsFailureCount()
{
    request([&] {
        enter("op", "wrong");
        enter("op", "secret");
    });
    QCOMPARE(m_dlg->failedAttempts(), 0);
}

void tst_Authentication::limits_data()
{
    QTest::addColumn<int>("attempts");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("expectedAttempts");
    QTest::addColumn<int>("expectedSeconds");
    QTest::newRow("NumOfAttemps 0 keeps 3") << 0 << 1800 << 3 << 1800;
    QTest::newRow("negative values keep the defaults") << -2 << -1 << 3 << 1800;
    QTest::newRow("lock time 0 is taken") << 5 << 0 << 5 << 0;
    QTest::newRow("values taken") << 7 << 60 << 7 << 60;
}

void tst_Authentication::limits()
{
    QFETCH(int, attempts);
    QFETCH(int, seconds);
    m_dlg->setMaxAttempts(attempts);
    m_dlg->setLockSeconds(seconds);
    QFETCH(int, expectedAttempts);
    QFETCH(int, expectedSeconds);
    QCOMPARE(m_dlg->maxAttempts(), expectedAttempts);
    QCOMPARE(m_dlg->lockSeconds(), expectedSeconds);
}

void tst_Authentication::repeatedLogins_areIgnored()
{
    m_dlg->setAccounts({{1, "wardn", "x"}, {1, "op", "y"}, {4, "new", "z"}, {5, "new", "w"}});
    const QList<Account> accounts = m_dlg->accounts();
    QCOMPARE(accounts.size(), 3);
    QCOMPARE(accounts[0].digest, QByteArray("5b1d0e7a93c4f2a86e0d3b7c19f4a2e6"));
    QCOMPARE(accounts[1].level, 2);
    QCOMPARE(accounts[2].level, 4);
}

QTEST_MAIN(tst_Authentication)
#include "tst_authentication.moc"
