#include "TabTest.h"

#include "control/FREQDIFFlim_command.h"
#include "control/FieldCheck.h"
#include "dialogs/MessageBox.h"

#include <QLabel>

using namespace TabTest;

class tst_FREQDIFFlim_command : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newLimit_data();
    void newLimit();
    void notANumber_sendsNothing();
    void deviceLimit_isShown();
    void cancel_clearsEntry();

private:
    double m_newLimit = 0;
    float m_currentLimit = 0;
    FREQDIFFlim_command *m_tab = nullptr;
    QSignalSpy *m_spy = nullptr;
};

void tst_FREQDIFFlim_command::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void tst_FREQDIFFlim_command::init()
{
    m_newLimit = 5e-11;
    m_currentLimit = 0;
    m_tab = new FREQDIFFlim_command(&m_newLimit, &m_currentLimit, nullptr);
    m_tab->show();
    m_spy = new QSignalSpy(m_tab, &FREQDIFFlim_command::sendCommand);
    MessageBox::setAutoAnswer(true);
    MessageBox::clearShownTexts();
}

void tst_FREQDIFFlim_command::cleanup()
{
    MessageBox::setAutoAnswer(false);
    delete m_spy;
    delete m_tab;
}

void tst_FREQDIFFlim_command::newLimit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1e-13 accepted") << "1e-13" << true;
    QTest::newRow("1e-8 accepted") << "1e-8" << true;
    QTest::newRow("decimal comma accepted") << "2,5e-10" << true;
    QTest::newRow("9e-14 refused") << "9e-14" << false;
    QTest::newRow("0 refused") << "0" << false;
    QTest::newRow("negative refused") << "-1e-10" << false;
    QTest::newRow("1.1e-8 refused") << "1.1e-8" << false;
    QTest::newRow("nan refused") << "nan" << false;
}

void tst_FREQDIFFlim_command::newLimit()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    type(m_tab, "fDiffLim_newValue_line", text);
    clickOk(m_tab, "fDiffLim_btnBox");

    auto *newLine = child<QLineEdit>(m_tab, "fDiffLim_newValue_line");
    auto *curLine = child<QLineEdit>(m_tab, "fDiffLim_curValue_line");
    if (accepted) {
        double v = 0;
        QVERIFY(FieldCheck::parse(text, &v));
        QCOMPARE(codes(*m_spy), QList<int>{6});
        QCOMPARE(m_newLimit, v);
        QCOMPARE(curLine->text(), QString::number(v, 'g', 6));
        QVERIFY(newLine->text().isEmpty());
        QVERIFY(MessageBox::shownTexts().isEmpty());
    } else {
        QVERIFY(m_spy->isEmpty());
        QCOMPARE(m_newLimit, 5e-11);
        QCOMPARE(curLine->text(), QString("5e-11"));
        QCOMPARE(newLine->text(), text);
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList("Frequency difference limit value should be between 1e-13 and 1e-8."));
    }
}

void tst_FREQDIFFlim_command::notANumber_sendsNothing()
{
    type(m_tab, "fDiffLim_newValue_line", "1e-1x");
    clickOk(m_tab, "fDiffLim_btnBox");
    QVERIFY(m_spy->isEmpty());
    QVERIFY(MessageBox::shownTexts().isEmpty());
}

void tst_FREQDIFFlim_command::deviceLimit_isShown()
{
    m_currentLimit = 2.5e-10f;
    m_tab->updateCurrentLimit();
    QCOMPARE(child<QLineEdit>(m_tab, "fDiffLim_curValue_line")->text(), QString("2.5e-10"));
}

void tst_FREQDIFFlim_command::cancel_clearsEntry()
{
    type(m_tab, "fDiffLim_newValue_line", "abc");
    click(m_tab, "cancel_pBtn");
    QVERIFY(child<QLineEdit>(m_tab, "fDiffLim_newValue_line")->text().isEmpty());
    QVERIFY(child<QLabel>(m_tab, "fDiffLim_warning_lbl")->text().isEmpty());
    QVERIFY(m_spy->isEmpty());
}

QTEST_MAIN(tst_FREQDIFFlim_command)
#include "tst_freqdifflim_command.moc"
