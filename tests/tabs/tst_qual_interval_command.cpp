#include "TabTest.h"

#include "control/QUAL_INTERVAL_command.h"
#include "dialogs/MessageBox.h"
#include "dialogs/authentication.h"
#include "link/CommandParameters.h"

#include <QCryptographicHash>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

using namespace TabTest;

class tst_QUAL_INTERVAL_command : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void spinBoxes_holdWhatTheWireCarries();
    void grantedLogin_sendsIntervals();
    void refusedLogin_sendsNothingAndKeepsEntries();
    void cancel_restoresLastValuesSent();
    void lockedOut_showsTimeToGoAndSendsNothing();

private:
    void setSpins(const QList<int> &values);
    QList<int> spins() const;
    // Confirms on the page and, if the login comes up, answers it.
    void confirm(const QString &login, const QString &password);

    QualIntervalInfo m_record;
    QDateTime m_now;
    authentication *m_access = nullptr;
    QUAL_INTERVAL_command *m_tab = nullptr;
    QSignalSpy *m_spy = nullptr;
    bool m_loginShown = false;
};

void tst_QUAL_INTERVAL_command::init()
{
    m_record = QualIntervalInfo();
    m_now = QDateTime(QDate(2025, 6, 1), QTime(12, 0));
    m_access = new authentication;
    m_access->setClock([this] { return m_now; });
    m_access->setAccounts(
        {{2, "op", QCryptographicHash::hash("secret", QCryptographicHash::Md5).toHex()}});
    m_tab = new QUAL_INTERVAL_command(&m_record, m_access);
    m_tab->show();
    m_spy = new QSignalSpy(m_tab, &QUAL_INTERVAL_command::sendCommand);
    m_loginShown = false;
    MessageBox::setAutoAnswer(true);
    MessageBox::clearShownTexts();
}

void tst_QUAL_INTERVAL_command::cleanup()
{
    MessageBox::setAutoAnswer(false);
    delete m_spy;
    delete m_tab;
    delete m_access;
}

void tst_QUAL_INTERVAL_command::setSpins(const QList<int> &values)
{
    for (int ch = 1; ch <= 4; ++ch) {
        auto *box = child<QSpinBox>(m_tab, QString("qualInt_chan%1_sBox").arg(ch).toLatin1());
        box->selectAll();
        QTest::keyClicks(box, QString::number(values[ch - 1]));
    }
}

QList<int> tst_QUAL_INTERVAL_command::spins() const
{
    QList<int> result;
    for (int ch = 1; ch <= 4; ++ch)
        result << child<QSpinBox>(m_tab, QString("qualInt_chan%1_sBox").arg(ch).toLatin1())->value();
    return result;
}

void tst_QUAL_INTERVAL_command::confirm(const QString &login, const QString &password)
{
    QTimer answer;
    answer.setSingleShot(true);
    connect(&answer, &QTimer::timeout, this, [&] {
        m_loginShown = m_access->isVisible();
        if (!login.isEmpty()) {
            QTest::keyClicks(child<QLineEdit>(m_access, "lineLogin"), login);
            QTest::keyClicks(child<QLineEdit>(m_access, "linePass"), password);
            click(m_access, "pushButton");
        }
        if (m_access->isVisible())
            m_access->close();
    });
    answer.start(0);
    clickOk(m_tab, "buttonBox");
}

void tst_QUAL_INTERVAL_command::spinBoxes_holdWhatTheWireCarries()
{
    for (int ch = 1; ch <= 4; ++ch) {
        auto *box = child<QSpinBox>(m_tab, QString("qualInt_chan%1_sBox").arg(ch).toLatin1());
        QCOMPARE(box->minimum(), 600);
        QCOMPARE(box->maximum(), 65535);
    }
    setSpins({86400, 65535, 600, 700});
    confirm("op", "secret");
    QCOMPARE(spins(), QList<int>({8640, 65535, 600, 700}));  // the fifth digit is refused
    QCOMPARE(m_record.qual_Interval_chan2, quint16(65535));
}

void tst_QUAL_INTERVAL_command::grantedLogin_sendsIntervals()
{
    setSpins({600, 700, 800, 900});
    confirm("op", "secret");
    QVERIFY(m_loginShown);
    QCOMPARE(codes(*m_spy), QList<int>{11});
    QCOMPARE(m_record.qual_Interval_chan1, quint16(600));
    QCOMPARE(m_record.qual_Interval_chan2, quint16(700));
    QCOMPARE(m_record.qual_Interval_chan3, quint16(800));
    QCOMPARE(m_record.qual_Interval_chan4, quint16(900));
}

void tst_QUAL_INTERVAL_command::refusedLogin_sendsNothingAndKeepsEntries()
{
    setSpins({1000, 1100, 1200, 1300});
    confirm("op", "wrong");
    QVERIFY(m_loginShown);
    QVERIFY(m_spy->isEmpty());
    QCOMPARE(m_record.qual_Interval_chan1, quint16(600));
    QCOMPARE(spins(), QList<int>({1000, 1100, 1200, 1300}));

    confirm("", "");  // closed without an answer
    QVERIFY(m_spy->isEmpty());
}

void tst_QUAL_INTERVAL_command::cancel_restoresLastValuesSent()
{
    setSpins({1000, 1100, 1200, 1300});
    click(m_tab, "cancel_pBtn");
    QCOMPARE(spins(), QList<int>({600, 600, 600, 600}));

    setSpins({700, 800, 900, 1000});
    confirm("op", "secret");
    setSpins({2000, 2000, 2000, 2000});
    click(m_tab, "cancel_pBtn");
    QCOMPARE(spins(), QList<int>({700, 800, 900, 1000}));
}

void tst_QUAL_INTERVAL_command::lockedOut_showsTimeToGoAndSendsNothing()
{
    m_access->setMaxAttempts(5);
    QTimer answer;
    answer.setSingleShot(true);
    connect(&answer, &QTimer::timeout, this, [&] {
        for (int i = 0; i < 5; ++i) {
            QTest::keyClicks(child<QLineEdit>(m_access, "lineLogin"), "op");
            QTest::keyClicks(child<QLineEdit>(m_access, "linePass"), "wrong");
            click(m_access, "pushButton");
        }
    });
    answer.start(0);
    clickOk(m_tab, "buttonBox");
    QCOMPARE(MessageBox::shownTexts(), QStringList("5 attempts expended.\nWait 30 minutes"));

    MessageBox::clearShownTexts();
    m_now = m_now.addSecs(10 * 60 + 15);
    confirm("op", "secret");
    QVERIFY(!m_loginShown);
    QVERIFY(m_spy->isEmpty());
    QCOMPARE(MessageBox::shownTexts(),
             QStringList("Data entry is not possible.\nWait 19 minutes 45 seconds"));
}

QTEST_MAIN(tst_QUAL_INTERVAL_command)
#include "tst_qual_interval_command.moc"
