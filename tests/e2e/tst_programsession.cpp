#include "ProgramFolder.h"
#include "FolderSim.h"

#include "control/Settings.h"
#include "core/LocalCore.h"
#include "dialogs/AutoConnectForm.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/FolderChooser.h"
#include "dialogs/MessageBox.h"
#include "dialogs/aboutDialog.h"
#include "link/COMThread.h"
#include "link/Frame.h"
#include "mainwindow/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

// The whole program in this process, as main() builds it (real serial port,
// real clock), against ksr583-sim on a pseudo-terminal, driven through its
// windows as an operator would.
class tst_ProgramSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startupSearch_findsTheSimulatorAndShowsItsIdentity();
    void controlWindow_commandsReachTheInstrument_data();
    void controlWindow_commandsReachTheInstrument();
    void journalDownload_writesTheFileWithTheBarRunning();
    void closing_logsItAndWritesTheConfiguration();

private:
    bool startProgram(int analyseAtStart);
    bool waitForFirstStatus();
    void openControlPage(int row);
    void runStep(QWidget *page, const QString &step);
    QString messageLog() const;
    template <typename T>
    T *child(QObject *parent, const QString &name) const
    {
        T *found = parent->findChild<T *>(name);
        if (!found)
            qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return found;
    }

    QString m_oldDir;
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<FolderSim> m_sim;
    std::unique_ptr<MainWindow> m_window;
};

namespace {
// From start to the first poll: one identification on the configured port
// and, for a search, one on each port the system reports.
constexpr int ConnectMs = 30000;
constexpr int ExchangeMs = 15000;
constexpr int JournalRecords = 150;

QString hexOf(float value)
{
    QByteArray bytes;
    Frame::appendF32(bytes, value);
    return QString::fromLatin1(bytes.toHex());
}
}  // namespace

void tst_ProgramSession::initTestCase()
{
    const QString reason = FolderSim::unavailableReason();
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
    QLocale::setDefault(QLocale::c());
    MessageBox::setAutoAnswer(true);
    // The pages trace every command they raise; the test reads the windows.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void tst_ProgramSession::init()
{
    m_oldDir = QDir::currentPath();
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->isValid());
    // The program reads "fconn583.ini" from its current folder.
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_sim = std::make_unique<FolderSim>(m_folder->path());
    if (!m_sim->start({"--journal", QString::number(JournalRecords)}))
        QSKIP(qPrintable(m_sim->error()));
    MessageBox::clearShownTexts();
}

void tst_ProgramSession::cleanup()
{
    if (m_window)
        m_window->close();
    m_window.reset();
    m_sim.reset();
    QDir::setCurrent(m_oldDir);
    m_folder.reset();
}

bool tst_ProgramSession::startProgram(int analyseAtStart)
{
    if (!m_folder->writeConfiguration(m_sim->link(), analyseAtStart, "AVE=1\n"))
        return false;
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get());
}

// Connected, and the first command state record is on the screen.
bool tst_ProgramSession::waitForFirstStatus()
{
    QLineEdit *state = child<QLineEdit>(m_window.get(), "lineEdit_stat");
    return QTest::qWaitFor([this] { return m_window->windowTitle().contains("Connected to"); }, ConnectMs)
           && QTest::qWaitFor([state] { return state->text() != "No connection"; }, ExchangeMs);
}

void tst_ProgramSession::openControlPage(int row)
{
    QTest::mouseClick(child<QPushButton>(m_window.get(), "pushButtonControl"), Qt::LeftButton);
    Settings *control = m_window->controlWindow();
    QVERIFY(QTest::qWaitForWindowExposed(control));
    auto *menu = child<QTableWidget>(control, "menu_tabWidget");
    QTest::mouseClick(menu->viewport(), Qt::LeftButton, Qt::NoModifier,
                      menu->visualItemRect(menu->item(row, 0)).center());
}

// "name" clicks the widget (the OK button of a button box), "name=text"
// types the text over what the field holds.
void tst_ProgramSession::runStep(QWidget *page, const QString &step)
{
    const QString name = step.section('=', 0, 0);
    QWidget *widget = child<QWidget>(page, name);
    QVERIFY(widget);
    // A widget on a hidden inner tab is brought forward first; a tab's page
    // sits in the stack inside its tab widget.
    for (QWidget *w = widget; w != page; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget()))
            tabs->setCurrentWidget(w);
    }
    QVERIFY2(widget->isVisible() && widget->isEnabled(), qPrintable(name));
    if (step.contains('=')) {
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(widget, step.section('=', 1));
        QTest::keyClick(widget, Qt::Key_Tab);
    } else if (auto *box = qobject_cast<QDialogButtonBox *>(widget)) {
        QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    } else {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(5, widget->height() / 2));
    }
}

QString tst_ProgramSession::messageLog() const
{
    return child<QPlainTextEdit>(m_window.get(), "plainTextEdit")->toPlainText();
}

void tst_ProgramSession::startupSearch_findsTheSimulatorAndShowsItsIdentity()
{
    QVERIFY(startProgram(1));
    AutoConnectForm *progress = m_window->autoConnectForm();
    QVERIFY(progress->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(!progress->isVisible(), ConnectMs);
    const QString item = m_sim->link() + " KSR-583 #0042";
    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(),
                              "Monitor KSR-583 v.2.20.05.091. Connected to " + item, ExchangeMs);
    QVERIFY(qobject_cast<LocalCore *>(m_window->core())->link()->isConnected());
    // The system does not report a pseudo-terminal; the configured port is
    // searched all the same and shown with what answered there.
    auto *ports = child<QComboBox>(m_window->connectDialog(), "comBox");
    QCOMPARE(ports->currentText(), item);
    QCOMPARE(ports->count(), QSerialPortInfo::availablePorts().size() + 1);
    QCOMPARE(ports->currentIndex(), ports->count() - 1);
    QVERIFY(messageLog().contains("Looking for devices..."));

    m_window->findChild<QAction *>("actionAbout_device")->trigger();
    aboutDialog *about = m_window->aboutBox();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(about, "serialNumber_lbl")->text(),
                              QStringLiteral("Serial number: 0042"), ExchangeMs);
    QCOMPARE(child<QLabel>(about, "CPU_firmware_lbl")->text(),
             QStringLiteral("CPU Firmware version: 3.07 / 14.03.2019"));
    QCOMPARE(child<QLabel>(about, "comparatorVer_lbl")->text(), QStringLiteral("Comparator version: 5"));
    QCOMPARE(child<QLabel>(about, "outherComparator_ver_lbl")->text(),
             QStringLiteral("Outher Comparator version: 03"));
    QCOMPARE(child<QLabel>(about, "PLIS_CPUver_lbl")->text(), QStringLiteral("PLIS CPU version: 2"));
    QCOMPARE(child<QLabel>(about, "OSFver_lbl")->text(), QStringLiteral("OSF version: 01.07"));
}

void tst_ProgramSession::controlWindow_commandsReachTheInstrument_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QString>("message");

    QTest::newRow("frequency offset 1e-12 is set")
        << 1 << "OFFSET_command" << QStringList{"freq_newOffset_line=1e-12", "freq_btnBox"} << "m10"
        << hexOf(1e-12f) << "New offset applied: 1e-12";
    QTest::newRow("frequency trend -2e-15 is set")
        << 1 << "OFFSET_command" << QStringList{"drift_newOffset_line=-2e-15", "drift_btnBox"} << "m20"
        << hexOf(-2e-15f) << "New frequency drift applied: -2e-15";
    QTest::newRow("frequency difference limit 5e-11 is set")
        << 3 << "FREQDIFFlim_command" << QStringList{"fDiffLim_newValue_line=5e-11", "fDiffLim_btnBox"}
        << "m30" << hexOf(5e-11f) << "New limit applied: 5e-11";
    QTest::newRow("synchronisation is switched off")
        << 0 << "SYNCHR_command" << QStringList{"synchr_IsOn_chBox", "buttonBox"} << "W20" << ""
        << "Sync command has been applied";
    QTest::newRow("averaging mode is chosen")
        << 0 << "SYNCHR_command" << QStringList{"mode_SUMM_rBtn", "buttonBox"} << "M10" << ""
        << "Command SET_MODE OK";
    QTest::newRow("1PPS is synchronised to the external pulse")
        << 4 << "PPS_SYNC_command" << QStringList{"pps_sync_pBtn"} << "310" << ""
        << "Syncronization is finished, delay is";
    QTest::newRow("device clock is shifted by one day")
        << 5 << "DATETIME_command" << QStringList{"changeDateTime_pBtn", "shift_days_sBox=1", "dateTime_btnBox"}
        << "T10" << "" << "New date applied: ";
    QTest::newRow("AVE is enabled and written")
        << 8 << "AVECONTROL_command"
        << QStringList{"enabledAVE_chBox", "newAVE_chan2_line=3e-13", "buttonBox"} << "Q10" << ""
        << "New AVE OK";
    QTest::newRow("journal is cleared")
        << 7 << "JOURNAL_command" << QStringList{"jour_clear_pBtn"} << "G!0" << ""
        << "History cleared successfully";
}

void tst_ProgramSession::controlWindow_commandsReachTheInstrument()
{
    QFETCH(int, row);
    QFETCH(QString, page);
    QFETCH(QStringList, steps);
    QFETCH(QString, request);
    QFETCH(QString, payload);
    QFETCH(QString, message);

    QVERIFY(startProgram(0));
    QVERIFY(waitForFirstStatus());
    openControlPage(row);
    QWidget *pageWidget = child<QWidget>(m_window->controlWindow(), page);
    QVERIFY(pageWidget);
    QTRY_VERIFY(pageWidget->isVisible());
    for (const QString &step : steps) {
        runStep(pageWidget, step);
        if (QTest::currentTestFailed())
            return;
    }

    QTRY_VERIFY_WITH_TIMEOUT(m_sim->received(request, payload), ExchangeMs);
    QTRY_VERIFY_WITH_TIMEOUT(messageLog().contains(message), ExchangeMs);
    QVERIFY2(MessageBox::shownTexts().isEmpty(), qPrintable(MessageBox::shownTexts().join('\n')));
    QVERIFY2(!messageLog().contains("failed", Qt::CaseInsensitive), qPrintable(messageLog()));
}

void tst_ProgramSession::journalDownload_writesTheFileWithTheBarRunning()
{
    QVERIFY(startProgram(0));
    QVERIFY(waitForFirstStatus());
    openControlPage(7);
    QWidget *page = child<QWidget>(m_window->controlWindow(), "JOURNAL_command");
    auto *bar = child<QProgressBar>(page, "jour_progressBar");
    QSignalSpy progress(bar, &QProgressBar::valueChanged);

    const QString folder = m_folder->filePath("journal");
    FolderChooser::setNextAnswer(folder);
    runStep(page, "jour_browse_pBtn");
    QCOMPARE(child<QLineEdit>(page, "jour_location_lineEdit")->text(), folder);
    runStep(page, "jour_upload_pBtn");
    // The folder is new: the program offers to make it, and the hook says yes.
    QTRY_VERIFY_WITH_TIMEOUT(QDir(folder).exists(), ExchangeMs);
    QTRY_VERIFY_WITH_TIMEOUT(bar->maximum() == JournalRecords, ExchangeMs);

    auto *result = child<QLabel>(page, "jour_label");
    QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 60000);
    QCOMPARE(result->text(), QStringLiteral("Successfully loaded!"));
    QVERIFY2(progress.count() > 2, qPrintable(QString::number(progress.count())));
    QCOMPARE(progress.last().at(0).toInt(), JournalRecords);
    QVERIFY(messageLog().contains("History has been downloaded"));

    // The tab reports success when the last record arrives; the link writes
    // the file just after that, so give it a moment to be whole.
    const auto journalLines = [&folder] {
        const QStringList files = QDir(folder).entryList({"*#0042.log"}, QDir::Files);
        QFile file(files.size() == 1 ? QDir(folder).filePath(files.first()) : QString());
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : -1;
    };
    QTRY_COMPARE_WITH_TIMEOUT(journalLines(), JournalRecords + 1, ExchangeMs);  // a header and the records
    QCOMPARE(QDir(folder).entryList({"*.log"}, QDir::Files).size(), 1);
}

void tst_ProgramSession::closing_logsItAndWritesTheConfiguration()
{
    QVERIFY(startProgram(0));
    QVERIFY(waitForFirstStatus());
    QVERIFY(m_folder->programLog().contains(" Program started.\n"));
    auto *name = child<QLineEdit>(m_window.get(), "lineEdit_chan2");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, "Rb standard");
    m_window->findChild<QAction *>("actionRussian")->trigger();

    QVERIFY(m_window->close());
    // Said in the language of the moment.
    QVERIFY(m_folder->programLog().endsWith(QString::fromUtf8(" Программа закрыта.\n")));
    m_window.reset();

    const auto config = m_folder->ini("fconn583.ini");
    QCOMPARE(config->value("Settings/COM").toString(), m_sim->link());
    QCOMPARE(config->value("Settings/AnalyseAtStart").toString(), QStringLiteral("0"));
    QCOMPARE(config->value("Settings/Language").toString(), QStringLiteral("RU"));
    QCOMPARE(config->value("Settings/SupervisInfoFile").toString(), QStringLiteral("1"));
    QCOMPARE(config->value("Signal_names/Channel_1").toString(), QStringLiteral("Channel 1"));
    QCOMPARE(config->value("Signal_names/Channel_2").toString(), QStringLiteral("Rb standard"));
    for (const char *key : {"Main_Window_x", "Main_Window_y", "Control_Window_x", "Control_Window_y"})
        QVERIFY2(config->contains(QString("Windows_Position/") + key), key);
    // What the operator did not touch stays as it was.
    QCOMPARE(config->value("Settings/MonitorInterval").toString(), QStringLiteral("1"));
}

QTEST_MAIN(tst_ProgramSession)
#include "tst_programsession.moc"
