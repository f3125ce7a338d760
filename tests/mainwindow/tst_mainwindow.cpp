#include "access/LoginGuard.h"
#include "core/LocalCore.h"
#include "core/RemoteCore.h"
#include "dialogs/MessageBox.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSettings.h"
#include "tests/remote/ServiceRig.h"
#include "link/COMThread.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/AutoConnectForm.h"
#include "tests/support/FakeInstrument.h"
#include "tests/support/FakePort.h"
#include "tests/support/VirtualClock.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextBlock>
#include <QThread>
#include <QTimer>
#include <QtTest>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startup_withoutConfiguration_showsDefaultsAndWritesLogs();
    void startup_followsConfiguration();
    void firstStart_centresWindowAndSearchForm();
    void connectionDuringStartUp_closesSearchForm();
    void badConfiguration_saysSoOnceInRedAndRuns_data();
    void badConfiguration_saysSoOnceInRedAndRuns();
    void statusFolderLost_saysSoOnceAndWhenBack();
    void parameterLogTimer_data();
    void parameterLogTimer();
    void detection_data();
    void detection();
    void overallState_followsConnectionAndSync();
    void commandState_fillsCommandParameterBlock();
    void aveFlag_newerReadingWins();
    void reference_followsInGroupChannelInSwitchingModeOnly_data();
    void reference_followsInGroupChannelInSwitchingModeOnly();
    void measurements_showShortestNotation();
    void messageLog_showsInstrumentTextAsText();
    void messageLog_keepsAtMost1000Lines();
    void debugInfo_alsoGoesToProgramLog();
    void progress_data();
    void progress();
    void languageSwitch_keepsTitleAndProgress();
    void channelRename_sendsAllFourNames();
    void close_logsAndWritesConfiguration();
    void historyTimer_downloadsOnceAfterOneUtc();
    void resize_changesOnlyTheLogHeight();
    void portDetails_reachTheConnectionDialog();
    void attached_namesServiceInTitle_andGreysWhileItIsGone();
    void attachedOverTcp_historyAsksTheService();

private:
    bool open(const QByteArray &ini = QByteArray());
    // The window's core, made with the test's port factory and clocks.
    std::unique_ptr<LocalCore> makeCore(std::shared_ptr<PortFactory> ports);
    COMThread *link() const { return m_core->link(); }
    QTimer *timer(const QString &name) const { return m_core->findChild<QTimer *>(name); }
    template <typename T>
    T *child(const QString &name) const { return m_window->findChild<T *>(name); }
    QLineEdit *field(const QString &name) const { return child<QLineEdit>(name); }
    QColor base(const QString &name) const { return field(name)->palette().color(QPalette::Base); }
    QColor textColour(const QString &name) const { return child<QLabel>(name)->palette().color(QPalette::WindowText); }
    void sendCmd(const ADJ_CMD_STATE &cmd);
    void sendDetect(const DETECT &detect);
    void message(const QString &text, const QString &colour = "black");
    QString programLog() const;
    QString logText() const { return child<QPlainTextEdit>("plainTextEdit")->toPlainText(); }
    QStringList logLinesWith(const QString &text) const { return logText().split('\n').filter(text); }
    QColor logColour(const QString &text) const;
    void writeFiles();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::shared_ptr<VirtualClock> m_linkClock;
    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<MainWindow> m_window;
    LocalCore *m_core = nullptr;  // the window's
    QStringList m_startRedLines;  // the message log's red lines as the window opened
};

namespace {
const QColor Green(0, 170, 0);
const QColor Grey(Qt::gray);
const QColor Blue(Qt::blue);
const QColor Red(Qt::red);
// In a list of message lines: the link reports the instrument lost.
const QString Lost = QStringLiteral("<noConnection>");
}  // namespace

void tst_MainWindow::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void tst_MainWindow::init()
{
    m_oldDir = QDir::currentPath();
    m_dir.reset(new QTemporaryDir);
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_linkClock = std::make_shared<VirtualClock>();
    m_clock = std::make_shared<VirtualClock>();
}

void tst_MainWindow::cleanup()
{
    m_window.reset();
    m_core = nullptr;
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

// Opens the window with the given "fconn583.ini" and stops its link, so the
// test alone decides what the link reports.
bool tst_MainWindow::open(const QByteArray &ini)
{
    if (!ini.isEmpty()) {
        QFile f("fconn583.ini");
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(ini);
    }
    m_window.reset(new MainWindow(makeCore(std::make_shared<FakePortFactory>(std::make_shared<FakeLine>(*m_linkClock)))));
    QThread *thread = m_core->linkThread();
    // A stop before the loop has begun is undone by its start: repeat it.
    for (int i = 0; i < 200 && !thread->isFinished(); ++i) {
        link()->stop();
        thread->wait(50);
    }
    QCoreApplication::sendPostedEvents();
    m_startRedLines.clear();
    const QTextDocument *doc = child<QPlainTextEdit>("plainTextEdit")->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        // A link stopped before its first line leaves one empty block, whose
        // fragment may not be asked for.
        if (!b.begin().atEnd() && b.begin().fragment().charFormat().foreground().color() == Red)
            m_startRedLines.append(b.text());
    }
    child<QPlainTextEdit>("plainTextEdit")->clear();
    return thread->isFinished();
}

std::unique_ptr<LocalCore> tst_MainWindow::makeCore(std::shared_ptr<PortFactory> ports)
{
    LocalCore::Options options;
    options.ports = std::move(ports);
    options.linkClock = m_linkClock;
    options.clock = m_clock;
    auto core = std::make_unique<LocalCore>(options);
    m_core = core.get();
    return core;
}

void tst_MainWindow::sendCmd(const ADJ_CMD_STATE &cmd)
{
    link()->records().cmdState.set(cmd);
    emit link()->cmdStateRcvd();
}

void tst_MainWindow::sendDetect(const DETECT &detect)
{
    link()->records().detect.set(detect);
    emit link()->detectRcvd();
}

void tst_MainWindow::message(const QString &text, const QString &colour)
{
    emit link()->windowInfo(text, colour);
}

QColor tst_MainWindow::logColour(const QString &text) const
{
    const QTextDocument *doc = child<QPlainTextEdit>("plainTextEdit")->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(text))
            return b.begin().fragment().charFormat().foreground().color();
    }
    return QColor();
}

void tst_MainWindow::writeFiles()
{
    QVERIFY(QMetaObject::invokeMethod(m_core, "writeCurrentInfo_file"));
    QVERIFY(QMetaObject::invokeMethod(m_core, "write_superviseInfo"));
}

QString tst_MainWindow::programLog() const
{
    QFile f("Logs/" + m_clock->now().toString("yyyyMMdd") + ".log");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void tst_MainWindow::startup_withoutConfiguration_showsDefaultsAndWritesLogs()
{
    QVERIFY(open());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Monitor KSR-583 v.2.20.05.091"));
    QVERIFY(child<QAction>("actionEnglish")->isChecked());
    QVERIFY(!child<QAction>("actionRussian")->isChecked());
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("No connection"));
    QCOMPARE(base("lineEdit_stat"), Grey);
    for (int n = 1; n <= 4; ++n) {
        const QString i = QString::number(n);
        QCOMPARE(field("lineEdit_chan" + i)->text(), "Channel " + i);
        QCOMPARE(base("lineEdit_chan" + i), Grey);
        QCOMPARE(field("lineEdit_stat" + i)->text(), QStringLiteral("-"));
        QCOMPARE(base("lineEdit_stat" + i), Grey);
        QCOMPARE(field("lineEdit_stat" + i)->palette().color(QPalette::Text), QColor(Qt::white));
        QVERIFY(child<QLabel>("label_fave" + i)->text().isEmpty());
        QVERIFY(child<QLabel>("label_avar" + i)->text().isEmpty());
    }
    QVERIFY(child<QLabel>("label_offset")->text().isEmpty());
    QVERIFY(child<QPushButton>("pushButtonControl")->isEnabled());
    QCOMPARE(timer("supervisionTimer")->interval(), 60000);
    QVERIFY(timer("parameterLogTimer")->isActive());

    QVERIFY(QDir("Status").exists());
    QVERIFY(programLog().endsWith(m_clock->now().toString("hh:mm:ss") + " Program started.\n"));
    QFile parameters("Logs/Parameters/" + m_clock->nowUtc().toString("yyyyMMdd") + ".log");
    QVERIFY(parameters.open(QIODevice::ReadOnly));
    QCOMPARE(parameters.readAll().count('\n'), 2);  // header and the start-up row
    QVERIFY(!QFile::exists("fconn583.ini"));
}

void tst_MainWindow::startup_followsConfiguration()
{
    QDir().mkpath("base/Status");
    QFile ref("base/Status/CurRefSignal.stat");
    QVERIFY(ref.open(QIODevice::WriteOnly));
    ref.write("[Status]\nRefChan=3\nRefName=Cs\n");
    ref.close();
    QVERIFY(open("[Settings]\nLanguage=ru\nControlAvailable=0\nSupervisInfoFile=0\nPath_local=base\n"
                 "[Signal_names]\nChannel_2=\"  Rb   AHM#1 \"\n"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Монитор KSR-583 v.2.20.05.091"));
    QVERIFY(child<QAction>("actionRussian")->isChecked());
    QVERIFY(!child<QAction>("actionEnglish")->isChecked());
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("Нет связи"));
    QCOMPARE(field("lineEdit_chan2")->text(), QStringLiteral("Rb AHM#1"));
    QVERIFY(!timer("supervisionTimer"));
    QVERIFY(QDir("base/Logs/Parameters").exists());
    QCOMPARE(m_core->rememberedReference().index, 2);
    QCOMPARE(m_window->commandBlock().journalFolder, QDir("base/Logs").absolutePath());

    auto *control = child<QPushButton>("pushButtonControl");
    QVERIFY(!control->isEnabled());
    emit link()->connected();
    QVERIFY(control->isEnabled());
    m_window->commandBlock().dateTime_info.timeDifference = 17;
    QTest::mouseClick(control, Qt::LeftButton);
    QCOMPARE(m_window->commandBlock().dateTime_info.timeDifference, 0);

    m_window->close();
    m_window.reset();
    QFile log("base/Logs/" + m_clock->now().toString("yyyyMMdd") + ".log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(log.readAll()).endsWith(QStringLiteral(" Программа закрыта.\n")));
    QSettings ini("fconn583.ini", QSettings::IniFormat);
    QCOMPARE(ini.value("Settings/Language").toString(), QStringLiteral("RU"));
    QCOMPARE(ini.value("Settings/SupervisInfoFile").toString(), QStringLiteral("0"));
}

void tst_MainWindow::firstStart_centresWindowAndSearchForm()
{
    QVERIFY(open());
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QPoint windowCentre = m_window->geometry().center();
    QVERIFY((windowCentre - screenCentre).manhattanLength() <= 2);
    QWidget *form = m_window->autoConnectForm();
    QVERIFY(form->isVisible());
    QVERIFY((form->geometry().center() - windowCentre).manhattanLength() <= 6);  // its frame may shift it
}

namespace {
// Holds the first showing of the search form until `ready`, so that the
// link connects while the window is still being built.
class ShowGate : public QObject
{
public:
    explicit ShowGate(std::function<bool()> ready) : m_ready(std::move(ready)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<AutoConnectForm *>(watched)) {
            const QDeadlineTimer deadline(20000);
            while (!m_ready() && !deadline.hasExpired())
                QThread::msleep(1);
        }
        return false;
    }

private:
    std::function<bool()> m_ready;
};
}  // namespace

void tst_MainWindow::connectionDuringStartUp_closesSearchForm()
{
    auto line = std::make_shared<FakeLine>(*m_linkClock);
    FakeInstrument device;
    line->setListed({"COM21"});
    line->attach("COM21", device.device());
    ShowGate gate([line] { return line->codes().contains("P10"); });  // polled: connected
    qApp->installEventFilter(&gate);
    m_window.reset(new MainWindow(makeCore(std::make_shared<FakePortFactory>(line))));
    qApp->removeEventFilter(&gate);
    QVERIFY(link()->isConnected());
    QTRY_VERIFY(!m_window->autoConnectForm()->isVisible());
}

void tst_MainWindow::badConfiguration_saysSoOnceInRedAndRuns_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("named");
    QTest::newRow("Path_local under a regular file") << QByteArray("[Settings]\nPath_local=afile/sub\n")
                                                     << "afile/sub";
    QTest::newRow("Path_local in /proc") << QByteArray("[Settings]\nPath_local=/proc/nonexistent\n")
                                         << "/proc/nonexistent";
    QTest::newRow("accounts file a device") << QByteArray("[Passwords]\nFile_passwords=/dev/zero\n")
                                            << "/dev/zero";
    QTest::newRow("accounts file over 1 MB") << QByteArray("[Passwords]\nFile_passwords=big.log\n")
                                             << "big.log";
}

void tst_MainWindow::badConfiguration_saysSoOnceInRedAndRuns()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, named);
    QFile file("afile");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a folder");
    file.close();
    QFile big("big.log");
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(1024 * 1024 + 1, 'x'));
    big.close();

    QVERIFY(open(ini));
    QCOMPARE(m_startRedLines.filter(named).size(), 1);
    writeFiles();  // runs on, and says nothing twice
    QVERIFY2(!logText().contains(named), qPrintable(logText()));
}

void tst_MainWindow::statusFolderLost_saysSoOnceAndWhenBack()
{
    QVERIFY(open());
    writeFiles();
    QVERIFY(logText().isEmpty());

    QVERIFY(QDir("Status").removeRecursively());
    QFile plain("Status");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    writeFiles();
    writeFiles();
    QCOMPARE(logLinesWith("SupervisInfo.ini").size(), 1);
    QCOMPARE(logColour("SupervisInfo.ini"), Red);

    QVERIFY(plain.remove());
    writeFiles();
    QCOMPARE(logLinesWith("SupervisInfo.ini").size(), 2);
    QVERIFY(logLinesWith("SupervisInfo.ini").last().endsWith("works again"));
}

void tst_MainWindow::parameterLogTimer_data()
{
    QTest::addColumn<QByteArray>("period");
    QTest::addColumn<int>("ms");
    QTest::newRow("5 minutes") << QByteArray("5") << 300000;
    QTest::newRow("0 would fire without pause: 1 minute") << QByteArray("0") << 60000;
    QTest::newRow("not a number: 1 minute") << QByteArray("often") << 60000;
}

void tst_MainWindow::parameterLogTimer()
{
    QFETCH(QByteArray, period);
    QFETCH(int, ms);
    QVERIFY(open("[Settings]\nWriteParamInFile_Period=" + period + "\n"));
    QCOMPARE(timer("parameterLogTimer")->interval(), ms);
}

void tst_MainWindow::detection_data()
{
    QTest::addColumn<int>("detect");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("qualTime");
    QTest::addColumn<QColor>("nameAfterDetect");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QColor>("statusBase");
    QTest::newRow("error byte only: name grey, state from the whole word")
        << 0x0100 << 0x0001 << 0 << Grey << 3 << "+" << Green;
    QTest::newRow("error byte only, not in group: E")
        << 0x0100 << 0x0000 << 0 << Grey << 1 << "E" << Grey;
    QTest::newRow("sign bit with low byte 1: name green, state not detected")
        << int(qint16(0x8001)) << 0x0001 << 0 << Green << 0 << "-" << Grey;
    QTest::newRow("in group, role 0") << 0x0001 << 0x0001 << 0 << Green << 3 << "+" << Green;
    QTest::newRow("role 7 is in group too") << 0x0001 << 0x0071 << 0 << Green << 3 << "+" << Green;
    QTest::newRow("role 5 keeps the previous look") << 0x0001 << 0x0051 << 0 << Green << 15 << "-" << Grey;
    QTest::newRow("backup 2") << 0x0001 << 0x0021 << 0 << Green << 12 << "BACKUP 2" << Green;
    QTest::newRow("qualifying 1234 shows 12 s") << 0x0001 << 0x0000 << 1234 << Green << 5 << "12 s" << Blue;
    QTest::newRow("qualifying 99 shows 0 s") << 0x0001 << 0x0000 << 99 << Green << 5 << "0 s" << Blue;
}

void tst_MainWindow::detection()
{
    QFETCH(int, detect);
    QFETCH(int, word);
    QFETCH(int, qualTime);
    QFETCH(QColor, nameAfterDetect);
    QFETCH(int, code);
    QFETCH(QString, status);
    QFETCH(QColor, statusBase);
    QVERIFY(open());
    emit link()->connected();
    QSignalSpy channelStatus(m_window.get(), &MainWindow::set_channelStatus);
    DETECT d;
    d.chan[1] = qint16(detect);
    sendDetect(d);
    QCOMPARE(base("lineEdit_chan2"), nameAfterDetect);
    QCOMPARE(channelStatus.count(), 1);
    QCOMPARE(m_window->commandBlock().syncControl_info.chanAvailable[1], qint16(detect));

    ADJ_CMD_STATE cmd;
    cmd.chanWord[1] = qint16(word);
    cmd.qualState[1] = qualTime ? 1 : 0;
    cmd.qualTimeLeft[1] = quint16(qualTime);
    sendCmd(cmd);
    QCOMPARE(m_window->commandBlock().syncControl_info.stat[1], qint16(code));
    QCOMPARE(field("lineEdit_stat2")->text(), status);
    QCOMPARE(base("lineEdit_stat2"), statusBase);
}

void tst_MainWindow::overallState_followsConnectionAndSync()
{
    QVERIFY(open());
    ADJ_CMD_STATE cmd;
    sendCmd(cmd);
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("No connection"));
    emit link()->connected();
    sendCmd(cmd);
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("No synchronization!"));
    QCOMPARE(base("lineEdit_stat"), Red);
    DETECT d;
    d.chan[0] = 1;
    sendDetect(d);
    cmd.syncStatus = 1;
    cmd.estimationTimeLeft = 6000;
    cmd.chanWord[0] = 1;
    sendCmd(cmd);
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("Initial signal estimation, 60 s"));
    QCOMPARE(base("lineEdit_stat"), Blue);
    cmd.estimationTimeLeft = 0;
    sendCmd(cmd);
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("Synchronization OK"));
    QCOMPARE(base("lineEdit_stat"), Green);
    QCOMPARE(base("lineEdit_chan1"), Green);

    // A lost device greys the fields but leaves their texts.
    emit link()->noConnection();
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("No connection"));
    QCOMPARE(base("lineEdit_stat"), Grey);
    QCOMPARE(base("lineEdit_chan1"), Grey);
    QCOMPARE(base("lineEdit_stat1"), Grey);
    QCOMPARE(field("lineEdit_stat1")->text(), QStringLiteral("+"));

    // A redraw in another language still has no instrument to show.
    child<QAction>("actionRussian")->trigger();
    QCOMPARE(field("lineEdit_stat")->text(), QStringLiteral("Нет связи"));
    for (const char *name : {"lineEdit_stat", "lineEdit_chan1", "lineEdit_stat1"})
        QCOMPARE(base(name), Grey);
}

void tst_MainWindow::commandState_fillsCommandParameterBlock()
{
    QVERIFY(open());
    QSignalSpy syncAndChan(m_window.get(), &MainWindow::set_syncAndChanStatus);
    ADJ_CMD_STATE cmd;
    cmd.syncStatus = 1;
    cmd.flags = 0x1100;
    sendCmd(cmd);
    const CommandParameters &p = m_window->commandBlock();
    QCOMPARE(p.syncControl_info.modeCur, '2');
    QCOMPARE(p.syncControl_info.syncStatus, qint16(1));
    QVERIFY(p.ave_info.enabledCur);
    QCOMPARE(child<QLabel>("label_mode")->text(), QStringLiteral("SWITCHING mode"));
    QCOMPARE(syncAndChan.count(), 1);

    cmd.flags = 0;
    sendCmd(cmd);
    QCOMPARE(p.syncControl_info.modeCur, '1');
    QVERIFY(!p.ave_info.enabledCur);
    QCOMPARE(child<QLabel>("label_mode")->text(), QStringLiteral("AVERAGING mode"));
}

void tst_MainWindow::aveFlag_newerReadingWins()
{
    QVERIFY(open());
    COMThread *link = this->link();
    const bool &shown = m_window->commandBlock().ave_info.enabledCur;
    link->records().results.update([](LinkResults &r) { r.setAveEnabled(true); });
    emit link->aveStateRcvd();
    QVERIFY(shown);

    ADJ_CMD_STATE cmd;  // a later poll: AVE not permitted
    sendCmd(cmd);
    QVERIFY(!shown);
    emit link->currentOffset_1PPS_isReady();
    emit link->updateCurrentFreqLimit();
    QVERIFY(!shown);
}

void tst_MainWindow::reference_followsInGroupChannelInSwitchingModeOnly_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("switching mode: channel 2 becomes the reference") << 0x1000 << 1 << "Channel 2";
    QTest::newRow("averaging mode: the reference stays") << 0x0000 << 0 << "";
}

void tst_MainWindow::reference_followsInGroupChannelInSwitchingModeOnly()
{
    QFETCH(int, flags);
    QFETCH(int, index);
    QFETCH(QString, name);
    QVERIFY(open());
    DETECT d;
    d.chan[0] = d.chan[1] = 1;
    link()->records().detect.set(d);
    ADJ_CMD_STATE cmd;
    cmd.flags = quint16(flags);
    cmd.chanWord[0] = 1;
    sendCmd(cmd);
    cmd.chanWord[0] = 0;
    cmd.chanWord[1] = 1;
    sendCmd(cmd);
    QCOMPARE(m_core->rememberedReference().index, index);
    QCOMPARE(m_core->rememberedReference().name, name);
}

void tst_MainWindow::measurements_showShortestNotation()
{
    QVERIFY(open());
    QSignalSpy curValues(m_window.get(), &MainWindow::set_offsetControl_curValues);
    ADJ_STATE adj;
    adj.freqOffset = 1.0894e-15f;
    adj.freqDrift = -2.5e-18f;
    adj.chanOffset[2] = 0.00012f;
    link()->records().adjState.set(adj);
    emit link()->adjStateRcvd();
    QCOMPARE(child<QLabel>("label_offset")->text(), QStringLiteral("1.0894e-15"));
    QCOMPARE(child<QLabel>("label_drift")->text(), QStringLiteral("-2.5e-18"));
    QCOMPARE(child<QLabel>("label_fave3")->text(), QStringLiteral("0.00012"));
    QCOMPARE(child<QLabel>("label_fave1")->text(), QStringLiteral("0"));
    QCOMPARE(curValues.count(), 1);
    QCOMPARE(curValues.at(0).at(0).toFloat(), 1.0894e-15f);

    VAR_STRUCT var;
    var.value[6] = 1.23456e-13f;
    link()->records().varState.set(var);
    emit link()->avarStateRcvd();
    QCOMPARE(child<QLabel>("label_avar4")->text(), QStringLiteral("1.23e-13"));
}

void tst_MainWindow::messageLog_showsInstrumentTextAsText()
{
    QVERIFY(open());
    const QString text = QStringLiteral("Connected to COM3 <b>KSR</b>-583 & \"#42\"</p>");
    message(text, "red");
    const QString stamp = m_clock->now().toString("dd.MM.yy hh:mm:ss");
    QCOMPARE(logText(), stamp + " " + text);
    const QTextBlock block = child<QPlainTextEdit>("plainTextEdit")->document()->lastBlock();
    QCOMPARE(block.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    QCOMPARE(block.begin().fragment().charFormat().fontWeight(), int(QFont::Normal));

    message("Command is processed...");
    QVERIFY(logText().endsWith("\n" + stamp + " Command is processed..."));
}

void tst_MainWindow::messageLog_keepsAtMost1000Lines()
{
    QVERIFY(open());
    for (int i = 0; i < 1005; ++i)
        message(QStringLiteral("line %1").arg(i));
    const QTextDocument *doc = child<QPlainTextEdit>("plainTextEdit")->document();
    QCOMPARE(doc->blockCount(), 1000);
    QVERIFY(doc->firstBlock().text().endsWith(" line 5"));
    QVERIFY(doc->lastBlock().text().endsWith(" line 1004"));
}

void tst_MainWindow::debugInfo_alsoGoesToProgramLog()
{
    QVERIFY(open());
    emit link()->windowInfo("window only", "black");
    emit link()->debugInfo("Read DETECT failed, message length = 0", "red");
    QVERIFY(logText().endsWith(" Read DETECT failed, message length = 0"));
    const QString log = programLog();
    QVERIFY(!log.contains("window only"));
    QVERIFY(log.endsWith(m_clock->now().toString("hh:mm:ss") + " Read DETECT failed, message length = 0\n"));
}

void tst_MainWindow::progress_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("finished");
    QTest::newRow("smooth steering started")
        << QStringList{"Smooth steering is started"} << "Smooth Correction is in progress..." << 0;
    QTest::newRow("smooth steering finished")
        << QStringList{"Smooth steering is started", "Smooth steering is finished"} << "" << 1;
    QTest::newRow("phase correction started")
        << QStringList{"Phase correction is started"} << "Phase Offset Correction is in progress..." << 0;
    QTest::newRow("phase correction finished")
        << QStringList{"Phase correction is started", "step", "Phase correction is finished"} << "" << 0;
    QTest::newRow("the other language's text does nothing")
        << QStringList{QStringLiteral("Плавная подстройка начата")} << "" << 0;
    QTest::newRow("smooth steering aborted")
        << QStringList{"Smooth steering is started", "Smooth steering is aborted by the user"} << "" << 1;
    QTest::newRow("smooth steering stopped by the link")
        << QStringList{"Smooth steering is started", "Smooth steering is stopped: the instrument is not connected"}
        << "" << 1;
    QTest::newRow("instrument lost during a phase correction")
        << QStringList{"Phase correction is started", Lost} << "" << 0;
}

void tst_MainWindow::progress()
{
    QFETCH(QStringList, messages);
    QFETCH(QString, label);
    QFETCH(int, finished);
    QVERIFY(open());
    QSignalSpy finishedSpy(m_window.get(), &MainWindow::smartControlIsFinished);
    for (const QString &m : messages) {
        if (m == Lost)
            emit link()->noConnection();
        else
            message(m);
    }
    QCOMPARE(child<QLabel>("label_control")->text(), label);
    QCOMPARE(finishedSpy.count(), finished);
}

void tst_MainWindow::languageSwitch_keepsTitleAndProgress()
{
    QVERIFY(open());
    QSignalSpy translate(m_window.get(), &MainWindow::translate);
    DETECT d;
    d.chan[0] = 1;
    link()->records().detect.set(d);
    ADJ_CMD_STATE cmd;
    cmd.chanWord[0] = 0x0011;
    sendCmd(cmd);
    emit link()->setWinTitle("COM3 KSR-583 #0042");
    message("Smooth steering is started");
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Monitor KSR-583 v.2.20.05.091. Connected to COM3 KSR-583 #0042"));

    child<QAction>("actionRussian")->trigger();
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("Монитор KSR-583 v.2.20.05.091. Подключено к COM3 KSR-583 #0042"));
    QCOMPARE(child<QLabel>("label_control")->text(), QStringLiteral("Выполняется плавная коррекция..."));
    QCOMPARE(child<QLabel>("label_offset_2")->text(), QStringLiteral("Смещение частоты:"));
    QCOMPARE(field("lineEdit_stat1")->text(), QStringLiteral("РЕЗЕРВ 1"));
    QCOMPARE(field("lineEdit_chan1")->text(), QStringLiteral("Channel 1"));
    QVERIFY(!child<QAction>("actionEnglish")->isChecked());
    QCOMPARE(translate.count(), 1);

    message("Smooth steering is finished");
    QCOMPARE(child<QLabel>("label_control")->text(), QStringLiteral("Выполняется плавная коррекция..."));
    message(QStringLiteral("Плавная подстройка завершена"));
    QVERIFY(child<QLabel>("label_control")->text().isEmpty());

    child<QAction>("actionEnglish")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Monitor KSR-583 v.2.20.05.091. Connected to COM3 KSR-583 #0042"));
    QVERIFY(!child<QAction>("actionRussian")->isChecked());
    QCOMPARE(field("lineEdit_stat1")->text(), QStringLiteral("BACKUP 1"));
}

void tst_MainWindow::channelRename_sendsAllFourNames()
{
    QVERIFY(open());
    QSignalSpy names(m_window.get(), &MainWindow::set_channelNames);
    QLineEdit *chan3 = field("lineEdit_chan3");
    chan3->selectAll();
    QTest::keyClicks(chan3, "Cs 5071");
    QTest::keyClick(chan3, Qt::Key_Return);
    QCOMPARE(names.count(), 1);
    QCOMPARE(names.at(0).at(0).toStringList(), QStringList({"Channel 1", "Channel 2", "Cs 5071", "Channel 4"}));
}

void tst_MainWindow::close_logsAndWritesConfiguration()
{
    QVERIFY(open("[Settings]\nCOM=COM5\nAnalyseAtStart=0\nQualification=1\n"));
    field("lineEdit_chan1")->setText(QStringLiteral("Водород"));
    m_window->close();
    QVERIFY(programLog().endsWith(" Program is closed.\n"));
    m_window.reset();

    QSettings ini("fconn583.ini", QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    QCOMPARE(ini.value("Settings/COM").toString(), QStringLiteral("COM5"));
    QCOMPARE(ini.value("Settings/AnalyseAtStart").toString(), QStringLiteral("0"));
    QCOMPARE(ini.value("Settings/Language").toString(), QStringLiteral("EN"));
    QCOMPARE(ini.value("Settings/SupervisInfoFile").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("Settings/Qualification").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("Signal_names/Channel_1").toString(), QStringLiteral("Водород"));
    QCOMPARE(ini.value("Signal_names/Channel_4").toString(), QStringLiteral("Channel 4"));
    for (const char *key : {"Main_Window_x", "Main_Window_y", "Control_Window_x", "Control_Window_y"})
        QVERIFY(ini.contains(QStringLiteral("Windows_Position/") + key));
}

void tst_MainWindow::historyTimer_downloadsOnceAfterOneUtc()
{
    m_clock->setUtc(QDateTime(QDate(2026, 1, 7), QTime(0, 59, 30), Qt::UTC));
    QVERIFY(open());
    QSignalSpy history(m_core, &LocalCore::loadHistory);
    QTimer *check = timer("historyTimer");
    QVERIFY(check->isSingleShot());
    QVERIFY(check->isActive());
    QCOMPARE(check->interval(), 50000);

    m_clock->advance(50000);  // 01:00:20
    QVERIFY(QMetaObject::invokeMethod(m_core, "loadHistoryEveryDay"));
    QCOMPARE(history.count(), 1);
    QCOMPARE(check->interval(), 86400000);

    m_clock->advance(50000);  // 01:01:10, as if checked again early
    QVERIFY(QMetaObject::invokeMethod(m_core, "loadHistoryEveryDay"));
    QCOMPARE(history.count(), 1);
    QCOMPARE(check->interval(), 50000);
}

void tst_MainWindow::resize_changesOnlyTheLogHeight()
{
    QVERIFY(open());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto *log = child<QPlainTextEdit>("plainTextEdit");
    m_window->resize(568, 600);
    QTRY_COMPARE(log->height(), 301);
    m_window->resize(900, 500);
    QTRY_COMPARE(log->height(), 201);
    QCOMPARE(m_window->width(), 568);
    QCOMPARE(log->width(), 541);
    m_window->resize(568, 300);
    QTRY_COMPARE(m_window->height(), 350);
    QCOMPARE(log->height(), 51);
}

void tst_MainWindow::portDetails_reachTheConnectionDialog()
{
    QVERIFY(open());
    PortInfo port;
    port.name = "/dev/ttyUSB0";
    port.failure = PortFailure::Busy;

    emit link()->portsDescribed({port});
    emit link()->updPorts({"/dev/ttyUSB0"}, 0);

    QCOMPARE(child<QTextEdit>("portDetails")->toPlainText().section('\n', 0, 0),
             QString("/dev/ttyUSB0: busy"));
}

void tst_MainWindow::attached_namesServiceInTitle_andGreysWhileItIsGone()
{
    FakeServiceSide side;
    side.m_snapshot.link.phase = LinkView::Connected;
    ADJ_CMD_STATE cmd;
    cmd.syncStatus = 1;
    side.m_snapshot.cmdState = cmd;
    side.m_snapshot.detect = DETECT();
    side.m_snapshot.channelNames = QStringList{"H-maser 1", "H-maser 2", "Cs 5071", "GPS"};
    LoginGuard logins(m_clock);
    const QString name = ServiceSettings::localServerName(m_dir->path());
    auto server = std::make_unique<ServiceServer>(side, logins, m_clock);
    server->setIdentity("labpc", "test");
    QString error;
    QVERIFY2(server->listenLocal(name, &error), qPrintable(error));
    ServiceAddress address;
    QVERIFY(ServiceAddress::parse(QString(), m_dir->path(), &address, &error));
    auto core = std::make_unique<RemoteCore>(address, m_dir->filePath("window.ini"));
    core->connection().setRetryDelays(20, 100);
    m_window.reset(new MainWindow(std::move(core)));

    const QString attachedTitle =
        QStringLiteral("Monitor KSR-583 v.2.20.05.091. Connected to COM3 KSR-583 #0042 \u2013 service on labpc");
    QTRY_COMPARE(m_window->windowTitle(), attachedTitle);
    QTRY_COMPARE(field("lineEdit_stat")->text(), QStringLiteral("Synchronization OK"));
    QVERIFY(base("lineEdit_stat") != Grey);
    QVERIFY(logText().contains("<i>line</i> 499"));
    // The service's names, which only the service changes.
    QTRY_COMPARE(m_window->channelNames(), side.m_snapshot.channelNames);
    QVERIFY(field("lineEdit_chan3")->isReadOnly());
    QVERIFY(field("lineEdit_chan3")->toolTip().contains("service's computer"));
    QVERIFY(textColour("label_offset") != Grey);

    server.reset();
    QTRY_COMPARE(field("lineEdit_stat")->text(), QStringLiteral("No connection to the service"));
    QCOMPARE(base("lineEdit_stat"), Grey);
    QVERIFY(logText().contains("<i>line</i> 499"));  // the last state stays
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Monitor KSR-583 v.2.20.05.091 \u2013 service on labpc"));
    QCOMPARE(textColour("label_offset"), Grey);
    QCOMPARE(textColour("label_drift"), Grey);
    QCOMPARE(textColour("label_mode"), Grey);

    server = std::make_unique<ServiceServer>(side, logins, m_clock);
    server->setIdentity("labpc", "test");
    QVERIFY2(server->listenLocal(name, &error), qPrintable(error));
    QTRY_COMPARE_WITH_TIMEOUT(field("lineEdit_stat")->text(), QStringLiteral("Synchronization OK"), 5000);
    QCOMPARE(m_window->windowTitle(), attachedTitle);
    QVERIFY(textColour("label_drift") != Grey);
    m_window.reset();
}

void tst_MainWindow::attachedOverTcp_historyAsksTheService()
{
    ServiceAddress address;
    QString error;
    QVERIFY(ServiceAddress::parse("labpc.example:7583", m_dir->path(), &address, &error));
    QCOMPARE(address.url.scheme(), QString("wss"));  // off the loopback the service speaks TLS only
    m_window.reset(new MainWindow(std::make_unique<RemoteCore>(address, m_dir->filePath("window.ini"))));
    child<QAction>("actionHistory")->trigger();
    // No service answers there: the History window says so rather than wait.
    QLabel *status = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("HistoryWindow") && w->isVisible())
            status = w->findChild<QLabel *>("statusLabel");
    }
    QVERIFY(status);
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString("No history to show: No connection to the service"), 5000);
    m_window.reset();
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
