#include "control/DATETIME_command.h"
#include "control/OFFSET_command.h"
#include "control/SCONTROL_command.h"
#include "control/SYNCHR_command.h"
#include "control/Settings.h"
#include "dialogs/MessageBox.h"
#include "dialogs/authentication.h"
#include "link/CommandParameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opening_showsModeFirstAndAsksTheDevice();
    void optionalRows_followTheConfiguration_data();
    void optionalRows_followTheConfiguration();
    void position_isTakenFromTheConfigurationOnlyWhileNeverPlaced();
    void menuRow_showsItsPageAlone_data();
    void menuRow_showsItsPageAlone();
    void rowOfShownPage_keepsUnsentChoices();
    void closing_stopsTheClockAndReopeningStartsIt();
    void statusRelays_reachThePages();
    void pageCommands_areRelayed();
    void smoothTarget_isShownOnTheOffsetPage();
    void repeatedInit_replacesThePages();

private:
    void writeConfiguration(const QByteArray &text);
    void createWindow();
    QTableWidget *menu() const { return m_window->findChild<QTableWidget *>("menu_tabWidget"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    CommandParameters m_params;
    authentication m_access;
    std::unique_ptr<Settings> m_window;
};

void TestSettings::init()
{
    QLocale::setDefault(QLocale::c());
    MessageBox::setAutoAnswer(true);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_params = CommandParameters();
}

void TestSettings::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
    MessageBox::setAutoAnswer(false);
}

void TestSettings::writeConfiguration(const QByteArray &text)
{
    QFile file(QStringLiteral("fconn583.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestSettings::createWindow()
{
    m_window = std::make_unique<Settings>();
    m_window->init(&m_access, &m_params);
}

void TestSettings::opening_showsModeFirstAndAsksTheDevice()
{
    createWindow();
    QSignalSpy codes(m_window.get(), &Settings::sendCommand);
    QSignalSpy timeAsked(m_window.get(), &Settings::updateTimeDifference);
    menu()->setCurrentCell(2, 0);
    m_window->on_menu_tabWidget_cellClicked(2, 0);

    m_window->MyShow();
    QVERIFY(m_window->isVisible());
    QList<int> sent;
    for (const QList<QVariant> &call : codes)
        sent.append(call.at(0).toInt());
    QCOMPARE(sent, (QList<int>{19, 18, 8, 22}));
    QCOMPARE(timeAsked.count(), 1);
    QCOMPARE(menu()->currentRow(), 0);
    QVERIFY(m_window->findChild<SYNCHR_command *>()->isVisible());
    QVERIFY(!m_window->findChild<SCONTROL_command *>()->isVisible());
}

void TestSettings::optionalRows_followTheConfiguration_data()
{
    QTest::addColumn<QByteArray>("configuration");
    QTest::addColumn<bool>("qualificationShown");
    QTest::addColumn<bool>("aveShown");

    QTest::newRow("no file hides both") << QByteArray() << false << false;
    QTest::newRow("0 hides") << QByteArray("[Settings]\nQualification=0\nAVE=0\n") << false << false;
    QTest::newRow("text that is no number hides") << QByteArray("[Settings]\nQualification=yes\nAVE=1x\n")
                                                  << false << false;
    QTest::newRow("1 shows") << QByteArray("[Settings]\nQualification=1\nAVE=1\n") << true << true;
    QTest::newRow("each row on its own") << QByteArray("[Settings]\nQualification=0\nAVE=2\n") << false << true;
}

void TestSettings::optionalRows_followTheConfiguration()
{
    QFETCH(QByteArray, configuration);
    QFETCH(bool, qualificationShown);
    QFETCH(bool, aveShown);

    if (!configuration.isEmpty())
        writeConfiguration(configuration);
    createWindow();
    QCOMPARE(!menu()->isRowHidden(6), qualificationShown);
    QCOMPARE(!menu()->isRowHidden(8), aveShown);
    for (int row : {0, 1, 2, 3, 4, 5, 7})
        QVERIFY(!menu()->isRowHidden(row));
    QCOMPARE(menu()->rowHeight(0), 40);
}

void TestSettings::position_isTakenFromTheConfigurationOnlyWhileNeverPlaced()
{
    writeConfiguration("[Windows_Position]\nControl_Window_x=120\nControl_Window_y=80\n");
    createWindow();
    m_window->MyShow();
    QCOMPARE(m_window->pos(), QPoint(120, 80));

    m_window->move(300, 200);
    m_window->reject();
    m_window->MyShow();
    QCOMPARE(m_window->pos(), QPoint(300, 200));
}

void TestSettings::menuRow_showsItsPageAlone_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("pageClass");
    const char *classes[] = {"SYNCHR_command", "OFFSET_command", "SCONTROL_command",
                             "FREQDIFFlim_command", "PPS_SYNC_command", "DATETIME_command",
                             "QUAL_INTERVAL_command", "JOURNAL_command", "AVECONTROL_command"};
    for (int row = 0; row < 9; ++row)
        QTest::addRow("row %d shows %s", row, classes[row]) << row << QString::fromLatin1(classes[row]);
}

void TestSettings::menuRow_showsItsPageAlone()
{
    QFETCH(int, row);
    QFETCH(QString, pageClass);

    createWindow();
    m_window->MyShow();
    m_window->on_menu_tabWidget_cellClicked(row, 0);
    const QList<QWidget *> pages = m_window->findChild<QWidget *>("widget")->findChildren<QWidget *>(
        QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(pages.size(), 9);
    for (QWidget *page : pages)
        QCOMPARE(page->isVisible(), QString::fromLatin1(page->metaObject()->className()) == pageClass);
}

void TestSettings::rowOfShownPage_keepsUnsentChoices()
{
    createWindow();
    m_window->MyShow();
    auto *sync = m_window->findChild<SYNCHR_command *>()->findChild<QCheckBox *>("synchr_IsOn_chBox");
    sync->setChecked(true);
    m_window->on_menu_tabWidget_cellClicked(0, 0);
    QVERIFY(sync->isChecked());

    m_window->on_menu_tabWidget_cellClicked(5, 0);
    auto *days = m_window->findChild<DATETIME_command *>()->findChild<QSpinBox *>("shift_days_sBox");
    days->setValue(3);
    m_window->on_menu_tabWidget_cellClicked(5, 0);
    QCOMPARE(days->value(), 3);

    // Shown again after another page: fresh from the instrument.
    m_window->on_menu_tabWidget_cellClicked(0, 0);
    QVERIFY(!sync->isChecked());
}

void TestSettings::closing_stopsTheClockAndReopeningStartsIt()
{
    createWindow();
    auto *dateTime = m_window->findChild<DATETIME_command *>();
    m_window->MyShow();
    QVERIFY(dateTime->isClockRunning());
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QVERIFY(!dateTime->isClockRunning());
    m_window->MyShow();
    QVERIFY(dateTime->isClockRunning());
}

void TestSettings::statusRelays_reachThePages()
{
    createWindow();
    emit m_window->set_offsetControl_curValues(1.5e-12f, -3e-16f);
    auto *offset = m_window->findChild<OFFSET_command *>();
    auto *smooth = m_window->findChild<SCONTROL_command *>();
    QCOMPARE(offset->findChild<QLineEdit *>("freq_curOffset_line")->text(), QStringLiteral("1.5e-12"));
    QCOMPARE(offset->findChild<QLineEdit *>("drift_curOffset_line")->text(), QStringLiteral("-3e-16"));
    QCOMPARE(smooth->findChild<QLineEdit *>("sm_freqCurOffset_line")->text(), QStringLiteral("1.5e-12"));

    emit m_window->set_channelNames({"North", "South", "East", "West"});
    auto *reference = m_window->findChild<SYNCHR_command *>()->findChild<QComboBox *>("reference_cBox");
    QCOMPARE(reference->itemText(0), QStringLiteral("North"));

    QSignalSpy stops(m_window.get(), &Settings::stopSmartControl);
    QTest::mouseClick(smooth->findChild<QPushButton *>("cancel_pBtn"), Qt::LeftButton);
    QCOMPARE(stops.count(), 1);
}

void TestSettings::pageCommands_areRelayed()
{
    createWindow();
    m_window->MyShow();
    m_window->on_menu_tabWidget_cellClicked(1, 0);
    QSignalSpy codes(m_window.get(), &Settings::sendCommand);
    auto *offset = m_window->findChild<OFFSET_command *>();
    QTest::keyClicks(offset->findChild<QLineEdit *>("freq_newOffset_line"), "4e-13");
    QTest::mouseClick(offset->findChild<QDialogButtonBox *>("freq_btnBox")->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    QCOMPARE(codes.count(), 1);
    QCOMPARE(codes.at(0).at(0).toInt(), 3);
    QCOMPARE(m_params.freq_newOffset, 4e-13);
}

void TestSettings::smoothTarget_isShownOnTheOffsetPage()
{
    createWindow();
    m_window->MyShow();
    m_window->on_menu_tabWidget_cellClicked(2, 0);
    auto *smooth = m_window->findChild<SCONTROL_command *>();
    QTest::keyClick(smooth->findChild<QLineEdit *>("sm_freqNewOffset_line"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(smooth->findChild<QLineEdit *>("sm_freqNewOffset_line"), "7e-12");
    QTest::mouseClick(smooth->findChild<QPushButton *>("sm_apply_pBtn"), Qt::LeftButton);
    QTest::mouseClick(smooth->findChild<QDialogButtonBox *>("sm_btnBox")->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);

    QCOMPARE(m_params.smartControl_info.freq_newValue, 7e-12);
    auto *offset = m_window->findChild<OFFSET_command *>();
    QCOMPARE(offset->findChild<QLineEdit *>("freq_curOffset_line")->text(), QStringLiteral("7e-12"));
}

void TestSettings::repeatedInit_replacesThePages()
{
    createWindow();
    m_window->init(&m_access, &m_params);
    QCOMPARE(m_window->findChildren<OFFSET_command *>().size(), 1);
    QSignalSpy codes(m_window.get(), &Settings::sendCommand);
    m_window->MyShow();
    QCOMPARE(codes.count(), 4);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
