#include "FormWidget.h"
#include "dialogs/ConnectDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
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
    void analyseFlag_followsSetterAndBox();
    void translate_keepsListAndBox();
    void details_standBesideEachPort_andInFullForTheChosen();
    void detailsOfAnotherList_areNotShown();

private:
    template<typename T> T *child(const char *name) { return formWidget<T>(m_dialog, name); }
    void checkEnabled(bool list, bool update, bool apply);
    QString cell(int row, int column) const
    {
        auto *combo = formWidget<QComboBox>(m_dialog, "comBox");
        return combo->model()->index(row, column).data().toString();
    }
    QString detailsText() const { return formWidget<QTextEdit>(m_dialog, "portDetails")->toPlainText(); }
    static QList<PortInfo> describedPorts();

    ConnectDialog *m_dialog = nullptr;
    const QStringList m_ports{"COM1", "COM3 KSR-583 #0042", "COM21"};
};

QList<PortInfo> tst_ConnectDialog::describedPorts()
{
    PortInfo plain;
    plain.name = "COM1";
    PortInfo adapter;
    adapter.name = "COM3";
    adapter.description = QString::fromUtf8("Преобразователь <USB-RS232>");
    adapter.manufacturer = "Prolific Technology Inc.";
    adapter.serialNumber = "A10K 3XYZ";
    adapter.usbId = "067b:2303";
    adapter.stableName = "/dev/serial/by-id/usb-Prolific_USB 2.0 Serial-if00-port0";
    PortInfo refusing;
    refusing.name = "COM21";
    refusing.failure = PortFailure::PermissionDenied;
    return {plain, adapter, refusing};
}

void tst_ConnectDialog::init()
{
    m_dialog = new ConnectDialog;
    m_dialog->show();
}

void tst_ConnectDialog::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
}

void tst_ConnectDialog::checkEnabled(bool list, bool update, bool apply)
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

    QTest::newRow("found instrument is preselected") << m_ports << 1 << 1;
    QTest::newRow("empty list leaves no entry") << QStringList() << 0 << -1;
    QTest::newRow("index past the list leaves no entry") << m_ports << 3 << -1;
}

void tst_ConnectDialog::newList_isShownWithItsSelection()
{
    QFETCH(QStringList, items);
    QFETCH(int, index);
    QFETCH(int, expectedIndex);

    auto *combo = child<QComboBox>("comBox");
    m_dialog->on_updPorts({"COM9 old"}, 0);
    m_dialog->on_updPorts(items, index);

    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, items);
    QCOMPARE(combo->currentIndex(), expectedIndex);
}

void tst_ConnectDialog::apply_withoutEntry_doesNothing()
{
    QSignalSpy spy(m_dialog, &ConnectDialog::connectToSelPort);
    m_dialog->on_updPorts({}, 0);

    QTest::mouseClick(child<QPushButton>("connectBtn"), Qt::LeftButton);

    QCOMPARE(spy.count(), 0);
    checkEnabled(true, true, true);
}

void tst_ConnectDialog::apply_asksForChosenPort_andWaitsForNextList()
{
    QSignalSpy spy(m_dialog, &ConnectDialog::connectToSelPort);
    m_dialog->on_updPorts(m_ports, 1);
    auto *combo = child<QComboBox>("comBox");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);

    QTest::mouseClick(child<QPushButton>("connectBtn"), Qt::LeftButton);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 2);
    checkEnabled(true, false, false);
    m_dialog->on_updPorts(m_ports, 2);
    checkEnabled(true, true, true);
}

void tst_ConnectDialog::update_asksForScan_andWaitsForNextList()
{
    QSignalSpy reconnectSpy(m_dialog, &ConnectDialog::reconnect);
    QSignalSpy connectSpy(m_dialog, &ConnectDialog::connectToSelPort);
    m_dialog->on_updPorts(m_ports, 0);

    QTest::mouseClick(child<QPushButton>("upd_Btn"), Qt::LeftButton);

    QCOMPARE(reconnectSpy.count(), 1);
    QCOMPARE(connectSpy.count(), 0);
    checkEnabled(false, false, false);
    // The answer may arrive while the operator has closed the dialog.
    m_dialog->hide();
    m_dialog->on_updPorts(m_ports, 1);
    checkEnabled(true, true, true);
}

void tst_ConnectDialog::analyseFlag_followsSetterAndBox()
{
    auto *box = child<QCheckBox>("checkBox");
    m_dialog->setAnalyseAtStart(5);
    QCOMPARE(m_dialog->analyseAtStart(), 1);
    QVERIFY(box->isChecked());

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(m_dialog->analyseAtStart(), 0);

    m_dialog->setAnalyseAtStart(0);
    QVERIFY(!box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QCOMPARE(m_dialog->analyseAtStart(), 1);
}

void tst_ConnectDialog::translate_keepsListAndBox()
{
    QTranslator russian;
    QVERIFY(russian.load(":/Brontel583_ru"));
    m_dialog->setAnalyseAtStart(1);
    m_dialog->on_updPorts(m_ports, 1);

    m_dialog->setPortDetails(describedPorts());

    QCoreApplication::installTranslator(&russian);
    m_dialog->translate();
    QCoreApplication::removeTranslator(&russian);

    QCOMPARE(cell(2, 1), QString::fromUtf8("доступ запрещён"));
    QCOMPARE(m_dialog->windowTitle(), QString::fromUtf8("Подключение к прибору"));
    QCOMPARE(child<QPushButton>("connectBtn")->text(), QString::fromUtf8("Применить"));
    QCOMPARE(child<QComboBox>("comBox")->currentText(), m_ports.at(1));
    QVERIFY(child<QCheckBox>("checkBox")->isChecked());
}

void tst_ConnectDialog::details_standBesideEachPort_andInFullForTheChosen()
{
    m_dialog->setPortDetails(describedPorts());
    m_dialog->on_updPorts(m_ports, 1);

    QCOMPARE(child<QComboBox>("comBox")->currentText(), m_ports.at(1));
    QCOMPARE(cell(1, 2), QString::fromUtf8("Преобразователь <USB-RS232>, Prolific Technology Inc., "
                                           "serial number A10K 3XYZ, USB 067b:2303\n")
                             + describedPorts().at(1).stableName);
    QCOMPARE(cell(2, 1), QString("permission denied"));
    QCOMPARE(cell(0, 1), QString());
    QCOMPARE(detailsText(),
             QString::fromUtf8("COM3\nПреобразователь <USB-RS232>, Prolific Technology Inc., serial "
                               "number A10K 3XYZ, USB 067b:2303\nStable name: "
                               "/dev/serial/by-id/usb-Prolific_USB 2.0 Serial-if00-port0"));

    auto *combo = child<QComboBox>("comBox");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(detailsText(), QString("COM21: permission denied\nThe system tells nothing more of this port."));
}

void tst_ConnectDialog::detailsOfAnotherList_areNotShown()
{
    m_dialog->setPortDetails(describedPorts());
    m_dialog->on_updPorts({"COM1", "COM3"}, 1);

    QCOMPARE(cell(1, 2), QString());
    QCOMPARE(detailsText(), QString());
}

QTEST_MAIN(tst_ConnectDialog)
#include "tst_connectdialog.moc"
