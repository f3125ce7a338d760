#include "FormWidget.h"
#include "dialogs/aboutDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTranslator>

namespace {
const char *const deviceLabels[] = {"serialNumber_lbl",         "CPU_firmware_lbl",
                                    "PLIS_CPUver_lbl",          "comparatorVer_lbl",
                                    "outherComparator_ver_lbl", "OSFver_lbl"};

QtMessageHandler g_testHandler = nullptr;

// The off-screen platform warns that it cannot raise a window; that says
// nothing about the box.
void quietRaise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        g_testHandler(type, context, message);
}
}  // namespace

class tst_aboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void deviceLines_showLastIdentification_data();
    void deviceLines_showLastIdentification();
    void faces_showTheirOwnLines_data();
    void faces_showTheirOwnLines();
    void languageSwitch_keepsIdentification();

private:
    QString text(const char *name) const { return formWidget<QLabel>(m_about, name)->text(); }

    aboutDialog *m_about = nullptr;
};

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

void tst_aboutDialog::deviceLines_showLastIdentification_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("before identification the captions are bare")
        << QStringList() << QStringList()
        << QStringList{"Serial number: ",    "CPU Firmware version: ",
                       "PLIS CPU version: ", "Comparator version: ",
                       "Outher Comparator version: ", "OSF version: "};
    QTest::newRow("identification fills every line")
        << QStringList() << QStringList{"2.20", "15.05.2020", "0042", "5", "05", "3", "01.07"}
        << QStringList{"Serial number: 0042", "CPU Firmware version: 2.20 / 15.05.2020",
                       "PLIS CPU version: 3", "Comparator version: 5",
                       "Outher Comparator version: 05", "OSF version: 01.07"};
    QTest::newRow("second identification replaces all seven texts")
        << QStringList{"2.20", "15.05.2020", "0042", "5", "05", "3", "01.07"}
        << QStringList{"2.21", "", "0042", "6", "07", "4", "02.00"}
        << QStringList{"Serial number: 0042", "CPU Firmware version: 2.21 / ",
                       "PLIS CPU version: 4", "Comparator version: 6",
                       "Outher Comparator version: 07", "OSF version: 02.00"};
}

void tst_aboutDialog::deviceLines_showLastIdentification()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, lines);

    for (const QStringList &info : {first, second}) {
        if (info.size() == 7)
            m_about->setDeviceInfo(info[0], info[1], info[2], info[3], info[4], info[5],
                                   info[6]);
    }
    m_about->on_showDevInfo();

    QStringList shown;
    for (const char *name : deviceLabels)
        shown << text(name);
    QCOMPARE(shown, lines);
}

void tst_aboutDialog::faces_showTheirOwnLines_data()
{
    QTest::addColumn<bool>("device");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");

    QTest::newRow("device face") << true << "Device Information"
                                 << "MICROSTEPPER COMBINER SYNTHESIZER\n KSR-583";
    QTest::newRow("program face") << false << "Program Information" << "MONITOR\nKSR-583";
}

void tst_aboutDialog::faces_showTheirOwnLines()
{
    QFETCH(bool, device);
    QFETCH(QString, title);
    QFETCH(QString, heading);

    // Start from the other face, so every visibility has to change.
    device ? m_about->on_showProgInfo() : m_about->on_showDevInfo();
    device ? m_about->on_showDevInfo() : m_about->on_showProgInfo();

    QVERIFY(m_about->isVisible());
    QCOMPARE(m_about->windowTitle(), title);
    QCOMPARE(text("label"), heading);
    QCOMPARE(formWidget<QLabel>(m_about, "label_program")->isVisible(), !device);
    for (const char *name : deviceLabels)
        QVERIFY2(formWidget<QLabel>(m_about, name)->isVisible() == device, name);
    QVERIFY(text("label_program").startsWith("Monitor KSR-583 v.2.20.05.091\n"));
    QVERIFY(text("label_program").contains("Time and Frequency Laboratory"));
}

void tst_aboutDialog::languageSwitch_keepsIdentification()
{
    QTranslator russian;
    QVERIFY(russian.load(":/Brontel583_ru"));
    m_about->setDeviceInfo("2.20", "15.05.2020", "0042", "5", "05", "3", "01.07");
    m_about->on_showDevInfo();

    QCoreApplication::installTranslator(&russian);
    m_about->translate();
    QCoreApplication::removeTranslator(&russian);

    QCOMPARE(m_about->windowTitle(), QString::fromUtf8("Информация о приборе"));
    QCOMPARE(text("serialNumber_lbl"), QString::fromUtf8("Серийный номер: 0042"));
    QCOMPARE(text("CPU_firmware_lbl"),
             QString::fromUtf8("Версия микропрограммы CPU: 2.20 / 15.05.2020"));
    QCOMPARE(text("OSFver_lbl"), QString::fromUtf8("Версия OSF: 01.07"));
    QVERIFY(text("label_program").contains(" v.2.20.05.091\n"));
    QVERIFY(!formWidget<QLabel>(m_about, "label_program")->isVisible());
}

QTEST_MAIN(tst_aboutDialog)
#include "tst_aboutdialog.moc"
