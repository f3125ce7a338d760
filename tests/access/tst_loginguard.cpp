#include "access/AccessPolicy.h"
#include "access/LoginGuard.h"

#include "link/CommandParameters.h"
#include "tests/support/VirtualClock.h"

#include <QCryptographicHash>
#include <QtTest>

namespace {
QByteArray digest(const char *password)
{
    return QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex();
}
}  // namespace

class tst_LoginGuard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void attempts_data();
    void attempts();
    void clientsAreLockedOutApart();
    void wallClockStep_neitherEndsNorLengthensALockOut();
    void levels_data();
    void levels();

private:
    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<LoginGuard> m_guard;
};

void tst_LoginGuard::init()
{
    m_clock = std::make_shared<VirtualClock>();
    m_guard = std::make_unique<LoginGuard>(m_clock);
    m_guard->setAccounts({{3, "alice", digest("secret")}, {2, "wardn", digest("other")}});
    m_guard->setMaxAttempts(5);
    m_guard->setMaxAttempts(0);  // kept at 5, as the dialog keeps its own
    m_guard->setLockSeconds(1800);
}

// Each step: seconds to wait first, login, password; then the outcome and
// attempts left (or seconds to wait when locked out).
void tst_LoginGuard::attempts_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("outcomes");
    QTest::newRow("four wrong leave 4..1, the fifth locks for 30 minutes")
        << QStringList{"0 alice x", "0 alice x", "0 bob x", "0 alice x", "0 alice x", "1799 alice secret"}
        << QStringList{"refused 4", "refused 3", "refused 2", "refused 1", "lockedOut 1800", "lockedOut 1"};
    QTest::newRow("the lock-out runs out, and the count starts again")
        << QStringList{"0 a x", "0 a x", "0 a x", "0 a x", "0 a x", "1801 alice x", "0 alice secret"}
        << QStringList{"refused 4", "refused 3", "refused 2", "refused 1", "lockedOut 1800", "refused 4", "granted 3"};
    QTest::newRow("a failure older than the lock-out time is forgotten")
        << QStringList{"0 a x", "0 a x", "1801 a x"} << QStringList{"refused 4", "refused 3", "refused 4"};
    QTest::newRow("an empty login counts for nothing")
        << QStringList{"0 a x", "0 - x", "0 a x"} << QStringList{"refused 4", "ignored 0", "refused 3"};
    QTest::newRow("success resets the count")
        << QStringList{"0 a x", "0 alice secret", "0 a x"} << QStringList{"refused 4", "granted 3", "refused 4"};
    QTest::newRow("the built-in account wins over a file's line with its login")
        << QStringList{"0 wardn other"} << QStringList{"refused 4"};
}

void tst_LoginGuard::attempts()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, outcomes);
    const char *const names[] = {"granted", "refused", "lockedOut", "ignored"};
    for (int i = 0; i < steps.size(); ++i) {
        const QStringList s = steps[i].split(' ');
        m_clock->advance(s[0].toLongLong() * 1000);
        const QByteArray login = s[1] == "-" ? QByteArray() : s[1].toUtf8();
        const LoginGuard::Result r = m_guard->attempt("192.0.2.7", login, s[2].toUtf8());
        const qint64 number = r.outcome == LoginGuard::Outcome::Refused     ? r.attemptsLeft
                              : r.outcome == LoginGuard::Outcome::LockedOut ? r.waitSeconds
                                                                            : r.account.level;
        QCOMPARE(QString("%1 %2").arg(names[int(r.outcome)]).arg(number), outcomes[i]);
    }
}

void tst_LoginGuard::clientsAreLockedOutApart()
{
    for (int i = 0; i < 5; ++i)
        m_guard->attempt("192.0.2.7", "alice", "x");
    QCOMPARE(m_guard->attempt("192.0.2.7", "alice", "secret").outcome, LoginGuard::Outcome::LockedOut);
    QCOMPARE(m_guard->attempt("local", "alice", "secret").outcome, LoginGuard::Outcome::Granted);
    // A crowd of addresses cannot grow the records without end.
    for (int i = 0; i < 2 * LoginGuard::MaxClients; ++i)
        m_guard->attempt(QString("10.0.%1.%2").arg(i / 256).arg(i % 256), "alice", "x");
    QCOMPARE(m_guard->attempt("192.0.2.7", "alice", "secret").outcome, LoginGuard::Outcome::LockedOut);
}

void tst_LoginGuard::wallClockStep_neitherEndsNorLengthensALockOut()
{
    for (int i = 0; i < 5; ++i)
        m_guard->attempt("local", "alice", "x");
    m_clock->setUtc(m_clock->nowUtc().addDays(-3));
    m_clock->advance(1799 * 1000);
    QCOMPARE(m_guard->attempt("local", "alice", "secret").outcome, LoginGuard::Outcome::LockedOut);
    m_clock->setUtc(m_clock->nowUtc().addYears(1));
    m_clock->advance(2 * 1000);
    QCOMPARE(m_guard->attempt("local", "alice", "secret").outcome, LoginGuard::Outcome::Granted);
}

void tst_LoginGuard::levels_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("operator steers") << 3 << int(COMMAND_SMART_CONTROL) << true;
    QTest::newRow("operator sets qualification intervals") << 3 << int(COMMAND_SET_QUAL_INTERVALS) << true;
    QTest::newRow("operator may not clear the journal") << 3 << int(COMMAND_CLEAR_JOURNAL) << false;
    QTest::newRow("operator may not set the clock") << 3 << int(COMMAND_SET_DATETIME) << false;
    QTest::newRow("supervisor clears the journal") << 2 << int(COMMAND_CLEAR_JOURNAL) << true;
    QTest::newRow("administrator sets the clock") << 1 << int(COMMAND_SET_DATETIME) << true;
    QTest::newRow("level 0 only watches") << 0 << int(COMMAND_GET_AVE) << false;
    QTest::newRow("level 4 only watches") << 4 << int(COMMAND_SET_FREQ_OFFSET) << false;
    QTest::newRow("an unknown code needs the most") << 3 << 99 << false;
}

void tst_LoginGuard::levels()
{
    QFETCH(int, level);
    QFETCH(int, code);
    QFETCH(bool, allowed);
    QCOMPARE(AccessPolicy::allows(level, AccessPolicy::needed(code)), allowed);
    QVERIFY(AccessPolicy::names(level).contains("watch"));
}

QTEST_APPLESS_MAIN(tst_LoginGuard)
#include "tst_loginguard.moc"
