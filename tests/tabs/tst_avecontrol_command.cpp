#include "TabTest.h"

#include "control/AVECONTROL_command.h"
#include "control/FieldCheck.h"
#include "dialogs/MessageBox.h"
#include "link/CommandParameters.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

using namespace TabTest;

class tst_AVECONTROL_command : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void value_data();
    void value();
    void notANumber_isRefusedWhole();
    void uncheckedBox_sendsOnlyEnableChange();
    void checkingBox_sendsEnableThenValues();
    void unchangedValues_sendNothingAndResetFields();
    void opening_readsValuesAndRefreshesUntilHidden();
    void cancel_resetsEntries();

private:
    void enterAll(const QStringList &texts);
    QStringList entries() const;

    AveControlInfo m_ave;
    AVECONTROL_command *m_tab = nullptr;
    QSignalSpy *m_spy = nullptr;
};

void tst_AVECONTROL_command::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void tst_AVECONTROL_command::init()
{
    m_ave = AveControlInfo();
    m_ave.enabledCur = true;
    m_tab = new AVECONTROL_command(&m_ave, nullptr);
    m_tab->openPage();
    m_spy = new QSignalSpy(m_tab, &AVECONTROL_command::sendCommand);
    MessageBox::setAutoAnswer(true);
    MessageBox::clearShownTexts();
}

void tst_AVECONTROL_command::cleanup()
{
    MessageBox::setAutoAnswer(false);
    delete m_spy;
    delete m_tab;
}

void tst_AVECONTROL_command::enterAll(const QStringList &texts)
{
    for (int ch = 1; ch <= 4; ++ch)
        type(m_tab, QString("newAVE_chan%1_line").arg(ch).toLatin1(), texts[ch - 1]);
}

QStringList tst_AVECONTROL_command::entries() const
{
    QStringList result;
    for (int ch = 1; ch <= 4; ++ch)
        result << child<QLineEdit>(m_tab, QString("newAVE_chan%1_line").arg(ch).toLatin1())->text();
    return result;
}

void tst_AVECONTROL_command::value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("0 valid") << "0" << true;
    QTest::newRow("1e-9 valid") << "1e-9" << true;
    QTest::newRow("-1e-9 valid") << "-1e-9" << true;
    QTest::newRow("8e-22 valid") << "8e-22" << true;
    QTest::newRow("-8e-22 valid") << "-8e-22" << true;
    QTest::newRow("1.1e-9 refused") << "1.1e-9" << false;
    QTest::newRow("-1.1e-9 refused") << "-1.1e-9" << false;
    QTest::newRow("4e-22 refused") << "4e-22" << false;
    QTest::newRow("-4e-22 refused like 4e-22") << "-4e-22" << false;
    QTest::newRow("nan refused") << "nan" << false;
}

void tst_AVECONTROL_command::value()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    m_ave.aveCur[1] = 3e-10f;  // every valid entry differs from what the device has
    enterAll({"0", text, "5e-10", "0"});
    clickOk(m_tab, "buttonBox");
    if (valid) {
        QVERIFY(MessageBox::shownTexts().isEmpty());
        QCOMPARE(codes(*m_spy), QList<int>{17});
        double v = 0;
        FieldCheck::parse(text, &v);
        QCOMPARE(m_ave.aveNew[1], float(v));
        QCOMPARE(entries(), QStringList({"0", "0", "0", "0"}));
    } else {
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList("AVE should be between -1.0e-9 and 1.0e-9 with step 1.0e-21."));
        QVERIFY(m_spy->isEmpty());
        QCOMPARE(entries()[2], QString("5e-10"));
    }
}

void tst_AVECONTROL_command::notANumber_isRefusedWhole()
{
    enterAll({"1.234567891e-10", "x", "0", "0"});
    clickOk(m_tab, "buttonBox");
    QCOMPARE(MessageBox::shownTexts(), QStringList("Invalid value!"));
    QVERIFY(m_spy->isEmpty());
    QCOMPARE(entries(), QStringList({"1.23457e-10", "x", "0", "0"}));
}

void tst_AVECONTROL_command::uncheckedBox_sendsOnlyEnableChange()
{
    click(m_tab, "enabledAVE_chBox");
    QVERIFY(!child<QGroupBox>(m_tab, "groupBox")->isEnabled());
    enterAll({"1e-10", "0", "0", "0"});
    clickOk(m_tab, "buttonBox");
    QCOMPARE(codes(*m_spy), QList<int>{20});
    QCOMPARE(m_ave.enabledNew, 0);
    QCOMPARE(m_ave.aveNew[0], 0.0f);
}

void tst_AVECONTROL_command::checkingBox_sendsEnableThenValues()
{
    m_ave.enabledCur = false;
    m_tab->openPage();
    QVERIFY(!child<QGroupBox>(m_tab, "groupBox")->isEnabled());
    m_spy->clear();
    click(m_tab, "enabledAVE_chBox");
    enterAll({"1e-10", "0", "0", "0"});
    clickOk(m_tab, "buttonBox");
    QCOMPARE(codes(*m_spy), QList<int>({20, 17}));
    QCOMPARE(m_ave.enabledNew, 1);
    QCOMPARE(m_ave.aveNew[0], 1e-10f);
}

void tst_AVECONTROL_command::unchangedValues_sendNothingAndResetFields()
{
    const float current[4] = {1e-10f, -2e-10f, 0, 3e-12f};
    std::copy(current, current + 4, m_ave.aveCur);
    enterAll({"1e-10", "-2e-10", "0", "3e-12"});
    clickOk(m_tab, "buttonBox");
    QVERIFY(m_spy->isEmpty());
    QVERIFY(MessageBox::shownTexts().isEmpty());
    QCOMPARE(entries(), QStringList({"0", "0", "0", "0"}));
}

void tst_AVECONTROL_command::opening_readsValuesAndRefreshesUntilHidden()
{
    m_ave.aveCur[3] = 2.5e-10f;
    m_tab->openPage();
    QCOMPARE(codes(*m_spy), QList<int>({19, 18}));
    QCOMPARE(child<QLineEdit>(m_tab, "actualAVE_chan4_line")->text(), QString("2.5e-10"));
    QVERIFY(child<QCheckBox>(m_tab, "enabledAVE_chBox")->isChecked());
    QVERIFY(m_tab->isRefreshing());
    QCOMPARE(m_tab->findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->interval(), 5000);
    m_tab->hide();
    QVERIFY(!m_tab->isRefreshing());
}

void tst_AVECONTROL_command::cancel_resetsEntries()
{
    enterAll({"abc", "1e-10", "0", "0"});
    click(m_tab, "cancel_pBtn");
    QCOMPARE(entries(), QStringList({"0", "0", "0", "0"}));
    QVERIFY(child<QLabel>(m_tab, "warningAVE1_lbl")->text().isEmpty());
    QVERIFY(m_spy->isEmpty());
}

QTEST_MAIN(tst_AVECONTROL_command)
#include "tst_avecontrol_command.moc"
