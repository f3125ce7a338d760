#include "dialogs/aboutDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

namespace {
const char *const deviceLabels[] = {"serialNumber_lbl",  "CPU_firmware_lbl",
                                    "PLIS_CPUver_lbl",   "comparatorVer_lbl",
                                    "outherComparator_ver_lbl", "OSFver_lbl"};
}  // namespace

class tst_aboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void beforeIdentification_showsBareCaptions_data();
    void beforeIdentification_showsBareCaptions();
    void identification_fillsDeviceLines_data();
    void identification_fillsDeviceLines();
    void secondIdentification_replacesAllTexts();
    void deviceFace_showsDeviceLinesOnly();
    void programFace_showsNameVersionAndContact();
    void ok_hidesBox();
    void languageSwitch_keepsIdentification();

private:
    static void quietRaise(QtMsgType type, const QMessageLogContext &context,
                           const QString &message);

    QLabel *label(const char *name)
    {
        QLabel *widget = m_about->findChild<QLabel *>(name);
        if (!widget)
            qFatal("no label %s", name);
        return widget;
    }
    void identify()
    {
        m_about->setDeviceInfo("2.20", "15.05.2020", "0042", "5", "05", "3", "01.07");
    }

    aboutDialog *m_about = nullptr;
};

namespace {
QtMessageHandler g_testHandler = nullptr;
}  // namespace

// The off-screen platform warns that it cannot raise a window; that says
// nothing about the box.
void tst_aboutDialog::quietRaise(QtMsgType type, const QMessageLogContext &context,
                                 const QString &message)
{
    if (message == QLatin1String("This plugin does not support raise()"))
        return;
    g_testHandler(type, context, message);
}

void tst_aboutDialog::initTestCase()
{
    g_testHandler = qInstallMessageHandler(quietRaise);
}

void tst_aboutDialog::init()
{
    m_about = new aboutDialog;
}

void tst_aboutDialog::cleanup()
{
    delete m_about;
    m_about = nullptr;
}

void tst_aboutDialog::beforeIdentification_showsBareCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("serial number") << "serialNumber_lbl" << "Serial number: ";
    QTest::newRow("firmware without a lone separator")
        << "CPU_firmware_lbl" << "CPU Firmware version: ";
    QTest::newRow("PLIS CPU") << "PLIS_CPUver_lbl" << "PLIS CPU version: ";
    QTest::newRow("comparator") << "comparatorVer_lbl" << "Comparator version: ";
    QTest::newRow("outher comparator")
        << "outherComparator_ver_lbl" << "Outher Comparator version: ";
    QTest::newRow("OSF") << "OSFver_lbl" << "OSF version: ";
}

void tst_aboutDialog::beforeIdentification_showsBareCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    m_about->on_showDevInfo();

    QCOMPARE(label(qPrintable(name))->text(), text);
}

void tst_aboutDialog::identification_fillsDeviceLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("serial number") << "serialNumber_lbl" << "Serial number: 0042";
    QTest::newRow("firmware number and date")
        << "CPU_firmware_lbl" << "CPU Firmware version: 2.20 / 15.05.2020";
    QTest::newRow("PLIS CPU") << "PLIS_CPUver_lbl" << "PLIS CPU version: 3";
    QTest::newRow("comparator") << "comparatorVer_lbl" << "Comparator version: 5";
    QTest::newRow("outher comparator")
        << "outherComparator_ver_lbl" << "Outher Comparator version: 05";
    QTest::newRow("OSF") << "OSFver_lbl" << "OSF version: 01.07";
}

void tst_aboutDialog::identification_fillsDeviceLines()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    identify();

    QCOMPARE(label(qPrintable(name))->text(), text);
}

void tst_aboutDialog::secondIdentification_replacesAllTexts()
{
    identify();

    m_about->setDeviceInfo("2.21", "", "0042", "6", "07", "4", "02.00");

    QCOMPARE(label("serialNumber_lbl")->text(), QString("Serial number: 0042"));
    QCOMPARE(label("CPU_firmware_lbl")->text(), QString("CPU Firmware version: 2.21 / "));
    QCOMPARE(label("PLIS_CPUver_lbl")->text(), QString("PLIS CPU version: 4"));
    QCOMPARE(label("comparatorVer_lbl")->text(), QString("Comparator version: 6"));
    QCOMPARE(label("outherComparator_ver_lbl")->text(),
             QString("Outher Comparator version: 07"));
    QCOMPARE(label("OSFver_lbl")->text(), QString("OSF version: 02.00"));
}

void tst_aboutDialog::deviceFace_showsDeviceLinesOnly()
{
    m_about->on_showProgInfo();

    m_about->on_showDevInfo();

    QVERIFY(m_about->isVisible());
    QCOMPARE(m_about->windowTitle(), QString("Device Information"));
    QCOMPARE(label("label")->text(), QString("MICROSTEPPER COMBINER SYNTHESIZER\n KSR-583"));
    QVERIFY(!label("label_program")->isVisible());
    for (const char *name : deviceLabels)
        QVERIFY2(label(name)->isVisible(), name);
}

void tst_aboutDialog::programFace_showsNameVersionAndContact()
{
    m_about->on_showDevInfo();

    m_about->on_showProgInfo();

    QVERIFY(m_about->isVisible());
    QCOMPARE(m_about->windowTitle(), QString("Program Information"));
    QCOMPARE(label("label")->text(), QString("MONITOR\nKSR-583"));
    QVERIFY(label("label_program")->isVisible());
    const QString text = label("label_program")->text();
    QVERIFY2(text.startsWith("Monitor KSR-583 v.2.20.05.091"), qPrintable(text));
    QVERIFY2(text.contains("Time and Frequency Laboratory"), qPrintable(text));
    for (const char *name : deviceLabels)
        QVERIFY2(!label(name)->isVisible(), name);
}

void tst_aboutDialog::ok_hidesBox()
{
    identify();
    m_about->on_showDevInfo();

    QTest::mouseClick(m_about->findChild<QPushButton *>("pushButton"), Qt::LeftButton);

    QVERIFY(!m_about->isVisible());
    m_about->on_showDevInfo();
    QCOMPARE(label("serialNumber_lbl")->text(), QString("Serial number: 0042"));
}

void tst_aboutDialog::languageSwitch_keepsIdentification()
{
    QTranslator russian;
    QVERIFY(russian.load(":/Brontel583_ru"));
    identify();
    m_about->on_showDevInfo();

    QCoreApplication::installTranslator(&russian);
    m_about->translate();
    QCoreApplication::removeTranslator(&russian);

    QCOMPARE(m_about->windowTitle(), QString::fromUtf8("Информация о приборе"));
    QCOMPARE(label("serialNumber_lbl")->text(), QString::fromUtf8("Серийный номер: 0042"));
    QCOMPARE(label("CPU_firmware_lbl")->text(),
             QString::fromUtf8("Версия микропрограммы CPU: 2.20 / 15.05.2020"));
    QCOMPARE(label("OSFver_lbl")->text(), QString::fromUtf8("Версия OSF: 01.07"));
    QVERIFY(label("label_program")->text().contains("v.2.20.05.091"));
    QVERIFY(!label("label_program")->isVisible());

    m_about->translate();
    QCOMPARE(label("serialNumber_lbl")->text(), QString("Serial number: 0042"));
    QCOMPARE(m_about->windowTitle(), QString("Device Information"));
}

QTEST_MAIN(tst_aboutDialog)
#include "tst_aboutdialog.moc"
