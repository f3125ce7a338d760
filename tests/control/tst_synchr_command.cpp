#include "control/SYNCHR_command.h"
#include "FormChild.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using Codes = QList<int>;

class TestSynchrCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openPage_showsTheDeviceState();
    void ok_data();
    void ok();
    void backup1No_disablesAndResetsTheOthers();
    void referenceTakenFromABackup_dropsThatBackupAndThoseAfter();
    void sync_data();
    void sync();
    void statusRefreshWhileOpen_keepsTheOperatorsChoices();
    void statusRefreshWhileHidden_followsTheDevice();
    void cancel_returnsToTheLastSentSelection();
    void renamedChannels_keepTheSelection();
    void channelThatReturns_canBeIncludedAgain();

private:
    template<typename T>
    T *child(const QString &name) const
    {
        return formChild<T>(m_tab.get(), name);
    }
    QComboBox *combo(const QString &name) const { return child<QComboBox>(name); }
    void choose(const QString &comboName, const QString &text) const;
    void clickOk() const;
    Codes codes() const;
    void setSwitchingDevice();

    SyncControlInfo m_sync;
    std::unique_ptr<SYNCHR_command> m_tab;
    std::unique_ptr<QSignalSpy> m_codes;
};

// The device: switching mode, synchronised, channel 1 the reference,
// channels 2 and 3 its backups, channel 4 detected but unused.
void TestSynchrCommand::setSwitchingDevice()
{
    m_sync = SyncControlInfo();
    m_sync.modeCur = '2';
    m_sync.syncStatus = 1;
    const qint16 stat[4] = {3, 11, 12, 1};
    for (int i = 0; i < 4; ++i) {
        m_sync.chanAvailable[i] = 1;
        m_sync.stat[i] = stat[i];
    }
}

void TestSynchrCommand::init()
{
    setSwitchingDevice();
    m_tab = std::make_unique<SYNCHR_command>(&m_sync, nullptr);
    m_tab->set_channelNames({"A", "B", "C", "D"});
    m_tab->openPage();
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    m_codes = std::make_unique<QSignalSpy>(m_tab.get(), &SYNCHR_command::sendCommand);
}

void TestSynchrCommand::cleanup()
{
    m_codes.reset();
    m_tab.reset();
}

// Picks an entry from the open list as an operator does with the mouse; the
// box raises its activated signal once.
void TestSynchrCommand::choose(const QString &comboName, const QString &text) const
{
    QComboBox *box = combo(comboName);
    const int row = box->findText(text);
    QVERIFY2(row >= 0, qPrintable(text + " is not offered in " + comboName));
    QVERIFY(box->isEnabled());
    box->showPopup();
    QAbstractItemView *list = box->view();
    QTRY_VERIFY(list->isVisible());
    const QModelIndex item = box->model()->index(row, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(box->currentText(), text);
}

void TestSynchrCommand::clickOk() const
{
    QTest::mouseClick(child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

Codes TestSynchrCommand::codes() const
{
    Codes result;
    for (const QList<QVariant> &call : *m_codes)
        result.append(call.at(0).toInt());
    return result;
}

void TestSynchrCommand::openPage_showsTheDeviceState()
{
    QVERIFY(child<QRadioButton>("mode_RESERVE_rBtn")->isChecked());
    QVERIFY(!child<QWidget>("mode_RESERVE_gBox")->isHidden());
    QVERIFY(child<QWidget>("mode_SUMM_gBox")->isHidden());
    QCOMPARE(combo("reference_cBox")->currentText(), QStringLiteral("A"));
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("B"));
    QCOMPARE(combo("backUp2_cBox")->currentText(), QStringLiteral("C"));
    QCOMPARE(combo("backUp3_cBox")->currentText(), QStringLiteral("No"));
    QVERIFY(child<QCheckBox>("synchr_IsOn_chBox")->isChecked());
    QVERIFY(child<QCheckBox>("chan1_chBox")->isChecked());
    QVERIFY(!child<QCheckBox>("chan4_chBox")->isChecked());
}

void TestSynchrCommand::ok_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("backup1");
    QTest::addColumn<QString>("backup2");
    QTest::addColumn<QString>("backup3");
    QTest::addColumn<Codes>("expected");
    QTest::addColumn<QVector<int>>("channels");  // reference, backups 1 to 3

    QTest::newRow("unchanged assignment is still sent") << "" << "" << "" << "" << Codes{0}
                                                        << QVector<int>{1, 2, 3, 0};
    QTest::newRow("only backups changed: 0 without 16") << "" << "" << "D" << "" << Codes{0}
                                                          << QVector<int>{1, 2, 4, 0};
    QTest::newRow("third backup added") << "" << "" << "" << "D" << Codes{0} << QVector<int>{1, 2, 3, 4};
    QTest::newRow("new reference: 16 then 0") << "D" << "" << "" << "" << Codes{16, 0}
                                              << QVector<int>{4, 2, 3, 0};
    QTest::newRow("backup 1 No: no channels for 2 and 3") << "" << "No" << "" << "" << Codes{0}
                                                            << QVector<int>{1, 0, 0, 0};
}

void TestSynchrCommand::ok()
{
    QFETCH(QString, reference);
    QFETCH(QString, backup1);
    QFETCH(QString, backup2);
    QFETCH(QString, backup3);
    QFETCH(Codes, expected);
    QFETCH(QVector<int>, channels);

    const QStringList names = {"reference_cBox", "backUp1_cBox", "backUp2_cBox", "backUp3_cBox"};
    const QStringList choices = {reference, backup1, backup2, backup3};
    for (int i = 0; i < 4; ++i) {
        if (!choices[i].isEmpty())
            choose(names[i], choices[i]);
    }
    clickOk();

    QCOMPARE(codes(), expected);
    QCOMPARE((QVector<int>{m_sync.Ref_Chan, m_sync.BackUp1_Chan, m_sync.BackUp2_Chan, m_sync.BackUp3_Chan}),
             channels);
}

void TestSynchrCommand::backup1No_disablesAndResetsTheOthers()
{
    choose("backUp3_cBox", "D");
    choose("backUp1_cBox", "No");
    for (const char *name : {"backUp2_cBox", "backUp3_cBox"}) {
        QVERIFY(!combo(name)->isEnabled());
        QCOMPARE(combo(name)->currentText(), QStringLiteral("No"));
    }

    choose("backUp1_cBox", "C");
    QVERIFY(combo("backUp2_cBox")->isEnabled());
    QVERIFY(!combo("backUp3_cBox")->isEnabled());
    // Backups never repeat the reference or each other.
    QCOMPARE(combo("backUp2_cBox")->findText("A"), -1);
    QCOMPARE(combo("backUp2_cBox")->findText("C"), -1);
}

void TestSynchrCommand::referenceTakenFromABackup_dropsThatBackupAndThoseAfter()
{
    choose("backUp3_cBox", "D");
    choose("reference_cBox", "C");
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("B"));
    QCOMPARE(combo("backUp2_cBox")->currentText(), QStringLiteral("No"));
    QCOMPARE(combo("backUp3_cBox")->currentText(), QStringLiteral("No"));
    QVERIFY(!combo("backUp3_cBox")->isEnabled());
    QCOMPARE(combo("backUp1_cBox")->findText("C"), -1);
}

void TestSynchrCommand::sync_data()
{
    QTest::addColumn<char>("modeBefore");
    QTest::addColumn<QString>("clickMode");
    QTest::addColumn<qint16>("syncStatus");
    QTest::addColumn<bool>("syncWanted");
    QTest::addColumn<Codes>("expected");

    QTest::newRow("to averaging: 14 first, then 15") << '2' << "mode_SUMM_rBtn" << qint16(1) << true << Codes{14, 15};
    QTest::newRow("to switching: 14 first, then 0") << '1' << "mode_RESERVE_rBtn" << qint16(1) << true << Codes{14, 0};
    QTest::newRow("averaging unchanged sends 15") << '1' << "" << qint16(1) << true << Codes{15};
    QTest::newRow("sync switched off sends 1") << '2' << "" << qint16(1) << false << Codes{0, 1};
    QTest::newRow("sync switched on sends 1") << '2' << "" << qint16(0) << true << Codes{0, 1};
    QTest::newRow("unknown sync status sends nothing for it") << '2' << "" << qint16(7) << false << Codes{0};
}

void TestSynchrCommand::sync()
{
    QFETCH(char, modeBefore);
    QFETCH(QString, clickMode);
    QFETCH(qint16, syncStatus);
    QFETCH(bool, syncWanted);
    QFETCH(Codes, expected);

    m_tab->hide();
    m_sync.modeCur = modeBefore;
    m_sync.syncStatus = syncStatus;
    m_tab->openPage();
    m_tab->show();
    if (!clickMode.isEmpty())
        QTest::mouseClick(child<QRadioButton>(clickMode), Qt::LeftButton);
    child<QCheckBox>("synchr_IsOn_chBox")->setChecked(syncWanted);
    if (child<QCheckBox>("chan4_chBox")->isVisible())
        QTest::mouseClick(child<QCheckBox>("chan4_chBox"), Qt::LeftButton);
    clickOk();

    QCOMPARE(codes(), expected);
    if (expected.contains(14))
        QCOMPARE(m_sync.modeNew, modeBefore == '1' ? '2' : '1');
    if (expected.contains(15)) {
        const bool included[4] = {true, true, true, true};
        QVERIFY(std::equal(included, included + 4, m_sync.chanIncluded));
    }
    if (expected.contains(1))
        QCOMPARE(m_sync.SyncIsOn, syncWanted);
}

void TestSynchrCommand::statusRefreshWhileOpen_keepsTheOperatorsChoices()
{
    choose("reference_cBox", "D");
    child<QCheckBox>("synchr_IsOn_chBox")->setChecked(false);

    m_sync.stat[1] = 3;
    m_sync.stat[0] = 11;
    m_tab->set_syncAndChanStatus();

    QCOMPARE(combo("reference_cBox")->currentText(), QStringLiteral("D"));
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("B"));
    QVERIFY(!child<QCheckBox>("synchr_IsOn_chBox")->isChecked());
    clickOk();
    QCOMPARE(codes(), (Codes{16, 0, 1}));
    QCOMPARE(m_sync.Ref_Chan, 4);
}

void TestSynchrCommand::statusRefreshWhileHidden_followsTheDevice()
{
    m_tab->hide();
    const qint16 stat[4] = {0, 3, 11, 1};  // channel 1 lost, 2 leads, 3 backs it up
    std::copy(stat, stat + 4, m_sync.stat);
    m_sync.syncStatus = 0;
    m_tab->set_syncAndChanStatus();

    QCOMPARE(combo("reference_cBox")->currentText(), QStringLiteral("B"));
    QCOMPARE(combo("reference_cBox")->findText("A"), -1);
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("C"));
    QCOMPARE(combo("backUp2_cBox")->currentText(), QStringLiteral("No"));
    QVERIFY(!child<QCheckBox>("synchr_IsOn_chBox")->isChecked());

    // The refreshed state is what Cancel returns to.
    m_tab->show();
    choose("reference_cBox", "D");
    QTest::mouseClick(child<QPushButton>("cancel_pBtn"), Qt::LeftButton);
    QCOMPARE(combo("reference_cBox")->currentText(), QStringLiteral("B"));
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("C"));
}

void TestSynchrCommand::cancel_returnsToTheLastSentSelection()
{
    choose("backUp2_cBox", "D");
    clickOk();
    m_codes->clear();

    choose("reference_cBox", "B");
    choose("backUp1_cBox", "No");
    QTest::mouseClick(child<QRadioButton>("mode_SUMM_rBtn"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>("chan1_chBox"), Qt::LeftButton);
    child<QCheckBox>("synchr_IsOn_chBox")->setChecked(false);

    QTest::mouseClick(child<QPushButton>("cancel_pBtn"), Qt::LeftButton);
    QVERIFY(child<QRadioButton>("mode_RESERVE_rBtn")->isChecked());
    QVERIFY(!child<QWidget>("mode_RESERVE_gBox")->isHidden());
    QCOMPARE(combo("reference_cBox")->currentText(), QStringLiteral("A"));
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("B"));
    QCOMPARE(combo("backUp2_cBox")->currentText(), QStringLiteral("D"));
    QVERIFY(combo("backUp2_cBox")->isEnabled());
    QVERIFY(child<QCheckBox>("chan1_chBox")->isChecked());
    QVERIFY(child<QCheckBox>("synchr_IsOn_chBox")->isChecked());
    QCOMPARE(codes(), Codes{});
}

void TestSynchrCommand::renamedChannels_keepTheSelection()
{
    m_tab->set_channelNames({"A", "Same", "Same"});
    QCOMPARE(combo("backUp1_cBox")->currentText(), QStringLiteral("Same"));
    QCOMPARE(combo("backUp3_cBox")->itemText(0), QStringLiteral("Channel 4"));
    clickOk();
    QCOMPARE(m_sync.BackUp1_Chan, 2);
    QCOMPARE(m_sync.BackUp2_Chan, 3);
}

void TestSynchrCommand::channelThatReturns_canBeIncludedAgain()
{
    m_sync.chanAvailable[2] = 0;
    m_tab->set_signalInGroupStatus();
    QVERIFY(!child<QCheckBox>("chan3_chBox")->isEnabled());
    QVERIFY(!child<QCheckBox>("chan3_chBox")->isChecked());
    QVERIFY(!child<QLabel>("chan3_lbl")->isEnabled());

    m_sync.chanAvailable[2] = 1;
    m_tab->set_signalInGroupStatus();
    QVERIFY(child<QCheckBox>("chan3_chBox")->isEnabled());
    QVERIFY(child<QLabel>("chan3_lbl")->isEnabled());
    QVERIFY(child<QCheckBox>("chan3_chBox")->isChecked());
}

QTEST_MAIN(TestSynchrCommand)
#include "tst_synchr_command.moc"
