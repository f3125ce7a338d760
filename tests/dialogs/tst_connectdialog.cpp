#include "dialogs/ConnectDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

class tst_ConnectDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newList_isShownWithItsSelection_data();
    void newList_isShownWithItsSelection();
    void apply_withoutEntry_doesNothing();
    void apply_asksForChosenPort_andWaitsForNextList();
    void update_asksForScan_andWaitsForNextList();
    void listArrivingWhileHidden_isApplied();
    void close_hidesDialog();
    void setAnalyseAtStart_setsBoxAndFlag_data();
    void setAnalyseAtStart_setsBoxAndFlag();
    void clickingBox_changesFlag_withoutSignal();
    void translate_keepsListAndBox();

private:
    template<typename T> T *child(const char *name)
    {
        T *widget = m_dialog->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    void checkButtons(bool list, bool update, bool apply);

    ConnectDialog *m_dialog = nullptr;
};

void tst_ConnectDialog::init()
{
    m_dialog = new ConnectDialog;
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void tst_ConnectDialog::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
}

void tst_ConnectDialog::checkButtons(bool list, bool update, bool apply)
{
    QCOMPARE(child<QComboBox>("comBox")->isEnabled(), list);
    QCOMPARE(child<QPushButton>("upd_Btn")->isEnabled(), update);
    QCOMPARE(child<QPushButton>("connectBtn")->isEnabled(), apply);
}

void tst_ConnectDialog::newList_isShownWithItsSelection_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QString>("expectedText");

    const QStringList ports{"COM1", "COM3 KSR-583 #0042", "COM21"};
    QTest::newRow("found instrument is preselected") << ports << 1 << 1 << "COM3 KSR-583 #0042";
    QTest::newRow("first port before any choice") << ports << 0 << 0 << "COM1";
    QTest::newRow("empty list leaves no entry") << QStringList() << 0 << -1 << QString();
    QTest::newRow("index past the list leaves no entry") << ports << 3 << -1 << QString();
}

void tst_ConnectDialog::newList_isShownWithItsSelection()
{
    QFETCH(QStringList, items);
    QFETCH(int, index);
    QFETCH(int, expectedIndex);
    QFETCH(QString, expectedText);

    auto *combo = child<QComboBox>("comBox");
    m_dialog->on_updPorts({"COM9 old"}, 0);
    m_dialog->on_updPorts(items, index);

    QCOMPARE(combo->count(), items.size());
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(combo->itemText(i), items.at(i));
    QCOMPARE(combo->currentIndex(), expectedIndex);
    QCOMPARE(combo->currentText(), expectedText);
}

void tst_ConnectDialog::apply_withoutEntry_doesNothing()
{
    QSignalSpy connectSpy(m_dialog, &ConnectDialog::connectToSelPort);
    QSignalSpy reconnectSpy(m_dialog, &ConnectDialog::reconnect);
    m_dialog->on_updPorts({}, 0);

    QTest::mouseClick(child<QPushButton>("connectBtn"), Qt::LeftButton);

    QCOMPARE(connectSpy.count(), 0);
    QCOMPARE(reconnectSpy.count(), 0);
    checkButtons(true, true, true);
}

void tst_ConnectDialog::apply_asksForChosenPort_andWaitsForNextList()
{
    QSignalSpy spy(m_dialog, &ConnectDialog::connectToSelPort);
    m_dialog->on_updPorts({"COM1", "COM3 KSR-583 #0042", "COM21"}, 1);
    auto *combo = child<QComboBox>("comBox");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 2);

    QTest::mouseClick(child<QPushButton>("connectBtn"), Qt::LeftButton);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 2);
    checkButtons(true, false, false);

    m_dialog->on_updPorts({"COM1", "COM3 KSR-583 #0042", "COM21 KSR-583 #0007"}, 2);
    checkButtons(true, true, true);
}

void tst_ConnectDialog::update_asksForScan_andWaitsForNextList()
{
    QSignalSpy reconnectSpy(m_dialog, &ConnectDialog::reconnect);
    QSignalSpy connectSpy(m_dialog, &ConnectDialog::connectToSelPort);
    m_dialog->on_updPorts({"COM1"}, 0);

    QTest::mouseClick(child<QPushButton>("upd_Btn"), Qt::LeftButton);

    QCOMPARE(reconnectSpy.count(), 1);
    QCOMPARE(connectSpy.count(), 0);
    checkButtons(false, false, false);

    m_dialog->on_updPorts({"COM1", "COM2 KSR-583 #0042"}, 1);
    checkButtons(true, true, true);
}

void tst_ConnectDialog::listArrivingWhileHidden_isApplied()
{
    QTest::mouseClick(child<QPushButton>("upd_Btn"), Qt::LeftButton);
    m_dialog->hide();

    m_dialog->on_updPorts({"COM1", "COM2 KSR-583 #0042"}, 1);
    m_dialog->show();

    QCOMPARE(child<QComboBox>("comBox")->currentText(), QString("COM2 KSR-583 #0042"));
    checkButtons(true, true, true);
}

void tst_ConnectDialog::close_hidesDialog()
{
    QSignalSpy destroyed(m_dialog, &QObject::destroyed);
    QTest::mouseClick(child<QPushButton>("closeBtn"), Qt::LeftButton);

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(destroyed.count(), 0);
}

void tst_ConnectDialog::setAnalyseAtStart_setsBoxAndFlag_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("0 clears the box") << 0 << 0;
    QTest::newRow("1 checks the box") << 1 << 1;
    QTest::newRow("other non-zero value is stored as 1") << 5 << 1;
    QTest::newRow("negative value is stored as 1") << -1 << 1;
}

void tst_ConnectDialog::setAnalyseAtStart_setsBoxAndFlag()
{
    QFETCH(int, value);
    QFETCH(int, expected);

    m_dialog->setAnalyseAtStart(expected ? 0 : 1);
    m_dialog->setAnalyseAtStart(value);

    QCOMPARE(m_dialog->analyseAtStart(), expected);
    QCOMPARE(child<QCheckBox>("checkBox")->isChecked(), expected != 0);
}

void tst_ConnectDialog::clickingBox_changesFlag_withoutSignal()
{
    QSignalSpy reconnectSpy(m_dialog, &ConnectDialog::reconnect);
    QSignalSpy connectSpy(m_dialog, &ConnectDialog::connectToSelPort);
    auto *box = child<QCheckBox>("checkBox");
    m_dialog->setAnalyseAtStart(1);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(m_dialog->analyseAtStart(), 0);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(m_dialog->analyseAtStart(), 1);

    QCOMPARE(reconnectSpy.count() + connectSpy.count(), 0);
}

void tst_ConnectDialog::translate_keepsListAndBox()
{
    QTranslator russian;
    QVERIFY(russian.load(":/Brontel583_ru"));
    QCoreApplication::installTranslator(&russian);
    m_dialog->setAnalyseAtStart(1);
    m_dialog->on_updPorts({"COM1", "COM3 KSR-583 #0042"}, 1);

    m_dialog->translate();
    QCoreApplication::removeTranslator(&russian);

    QCOMPARE(m_dialog->windowTitle(), QString::fromUtf8("Подключение к прибору"));
    QCOMPARE(child<QPushButton>("connectBtn")->text(), QString::fromUtf8("Применить"));
    QCOMPARE(child<QComboBox>("comBox")->count(), 2);
    QCOMPARE(child<QComboBox>("comBox")->currentIndex(), 1);
    QVERIFY(child<QCheckBox>("checkBox")->isChecked());
    QCOMPARE(m_dialog->analyseAtStart(), 1);

    m_dialog->translate();
    QCOMPARE(m_dialog->windowTitle(), QString("Device connection"));
}

QTEST_MAIN(tst_ConnectDialog)
#include "tst_connectdialog.moc"
