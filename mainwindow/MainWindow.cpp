#include "MainWindow.h"

#include "HistorySchedule.h"
#include "StatusDisplay.h"
#include "StatusPublisher.h"
#include "SupervisInfoWriter.h"
#include "control/Settings.h"
#include "dialogs/AutoConnectForm.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/aboutDialog.h"
#include "dialogs/authentication.h"
#include "historywindow/HistoryHub.h"
#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "metrics/MetricsServer.h"
#include "tray/TrayStatus.h"
#include "ui_MainWindow.h"

#include "ProgramVersion.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QTranslator>

namespace {

const char ProgramStarted[] = "Program started.";
// The message log keeps its width and takes the window height minus this.
constexpr int LogHeightMargin = 299;
constexpr int SupervisionIntervalMs = 60000;
// The longest the link loop can take to notice a stop: one exchange of up to
// 10 s, with room to spare.
constexpr int LinkStopWaitMs = 15000;

// The top left corner that puts a window of `size` with its centre at `centre`.
QPoint centredOn(const QSize &size, const QPoint &centre)
{
    QRect placed(QPoint(), size);
    placed.moveCenter(centre);
    return placed.topLeft();
}

}  // namespace

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(nullptr, nullptr, std::make_shared<LinkClock>(), parent)
{
}

MainWindow::MainWindow(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> linkClock,
                       std::shared_ptr<LinkClock> clock, QWidget *parent)
    : QMainWindow(parent),
      ui(new Ui::MainWindow),
      m_clock(std::move(clock)),
      m_config(Configuration::read()),
      m_styles(QApplication::palette()),
      m_log(m_config.pathLocal, m_clock),
      m_parameterLog(logsDir())
{
    ui->setupUi(this);
    m_channels[0] = {ui->lineEdit_stat1, ui->lineEdit_chan1, ui->label_fave1, ui->label_avar1};
    m_channels[1] = {ui->lineEdit_stat2, ui->lineEdit_chan2, ui->label_fave2, ui->label_avar2};
    m_channels[2] = {ui->lineEdit_stat3, ui->lineEdit_chan3, ui->label_fave3, ui->label_avar3};
    m_channels[3] = {ui->lineEdit_stat4, ui->lineEdit_chan4, ui->label_fave4, ui->label_avar4};
    setWindowTitle(titleText());
    m_translator = new QTranslator(this);
    m_history = std::make_unique<HistoryHub>(m_config.pathLocal, Configuration::fileName(), m_clock);
    connect(m_history.get(), &HistoryHub::messageLine, this, &MainWindow::on_windowInfo);
    connect(this, &MainWindow::set_channelNames, m_history.get(), &HistoryHub::setChannelNames);

    applyWindowPosition();
    loadLanguage(m_config.russian);
    createLoginDialog();
    m_reference = CurrentReference::read(m_config.pathLocal + QStringLiteral("/Status/")
                                         + CurrentReference::fileName());
    makeFolders();
    ui->pushButtonControl->setEnabled(m_config.controlAvailable != 0);
    initDisplay();
    startLink(std::move(ports), std::move(linkClock));
    createConnectionDialogs();
    seedCommandParameters();
    createControlWindow();
    emit set_channelNames(channelNames());
    createAboutBox();
    connectMenus();
    emit translate();
    connect(ui->actionAbout_device, &QAction::triggered, m_about, &QWidget::show);
    startPublication();
    startSupervisionTimer();
    startParameterLog();
    logLine(QString::fromLatin1(ProgramStarted));
    if (QFile::exists(QStringLiteral("icon2016_583.ico")))
        setWindowIcon(QIcon(QStringLiteral("icon2016_583.ico")));
    startHistoryTimer();
    retranslate();
}

MainWindow::~MainWindow()
{
    ExitSettings exit;
    exit.port = m_link->portName();
    exit.analyseAtStart = m_connectDialog->analyseAtStart();
    exit.channelNames = channelNames();
    exit.mainWindowPos = pos();
    // A control window never opened in this run keeps its stored place.
    exit.controlWindowPos = m_control->pos().isNull() ? m_config.controlWindowPos : m_control->pos();
    if (ui->actionRussian->isChecked())
        exit.language = QStringLiteral("RU");
    else if (ui->actionEnglish->isChecked())
        exit.language = QStringLiteral("EN");
    exit.supervisInfoFile = m_config.supervisInfoFile;
    exit.write();

    // The pages point into the link's command parameter block.
    m_control.reset();
    m_metrics.reset();
    stopLink();
}

QString MainWindow::logsDir() const
{
    return QDir(m_config.pathLocal + QStringLiteral("/Logs")).absolutePath();
}

QStringList MainWindow::channelNames() const
{
    QStringList names;
    for (const ChannelWidgets &c : m_channels)
        names << c.name->text();
    return names;
}

// --- start-up -------------------------------------------------------------

void MainWindow::applyWindowPosition()
{
    if (m_config.hasMainWindowPos()) {
        move(m_config.mainWindowPos);
        return;
    }
    // Placed here, not by the system, so that the search form can be centred
    // on where the window will appear.
    move(centredOn(size(), QGuiApplication::primaryScreen()->availableGeometry().center()));
}

void MainWindow::loadLanguage(bool russian)
{
    m_translator->load(russian ? QStringLiteral(":/Brontel583_ru") : QStringLiteral(":/Brontel583_en"));
    // Installing twice would stack the same table; take it out first.
    QCoreApplication::removeTranslator(m_translator);
    QCoreApplication::installTranslator(m_translator);
    ui->actionRussian->setChecked(russian);
    ui->actionEnglish->setChecked(!russian);
}

void MainWindow::makeFolders()
{
    const QVector<WriteWatch::Line> problems = m_writeWatch.makeFolders(m_config.pathLocal);
    for (const WriteWatch::Line &line : problems)
        showWatchLine(line);
}

void MainWindow::initDisplay()
{
    for (int i = 0; i < 4; ++i) {
        const ChannelWidgets &c = m_channels[i];
        c.status->setText(QStringLiteral("-"));
        m_styles.apply(c.status, FieldStyle::Grey);
        c.offset->clear();
        c.adev->clear();
        c.name->setText(m_config.channelNames.value(i));
        m_styles.apply(c.name, FieldStyle::Grey);
    }
    ui->label_offset->clear();
    ui->label_drift->clear();
    ui->lineEdit_stat->setText(StatusDisplay::noConnectionText());
    m_styles.apply(ui->lineEdit_stat, FieldStyle::Grey);
}

void MainWindow::startLink(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> linkClock)
{
    m_linkThread = new QThread;
    m_link = ports ? new COMThread(std::move(ports), std::move(linkClock)) : new COMThread;
    m_link->setPortName(m_config.port);
    m_link->setDebugLevel(m_config.debugLevel);
    m_link->moveToThread(m_linkThread);
    m_link->setSearchAllPorts(m_config.analyseAtStart != 0);

    connect(m_link, &COMThread::cmdStateRcvd, this, &MainWindow::on_cmdStateRcvd);
    connect(m_link, &COMThread::detectRcvd, this, &MainWindow::on_detectRcvd);
    connect(m_link, &COMThread::adjStateRcvd, this, &MainWindow::on_adjRcvd);
    connect(m_link, &COMThread::avarStateRcvd, this, &MainWindow::on_avarRcvd);
    connect(m_link, &COMThread::noConnection, this, &MainWindow::on_noConnection);
    connect(m_link, &COMThread::debugInfo, this, &MainWindow::on_debugInfo);
    connect(m_link, &COMThread::windowInfo, this, &MainWindow::on_windowInfo);
    connect(m_link, &COMThread::setWinTitle, this, &MainWindow::on_setWinTitle);
    connect(m_link, &COMThread::connected, this, &MainWindow::on_connected);
    // Made before anything that forwards these signals, so the results are in
    // the command parameter block when a tab reads them.
    connect(m_link, &COMThread::newTimeDifferenceIsReady, this, &MainWindow::publishLinkResults);
    connect(m_link, &COMThread::currentOffset_1PPS_isReady, this, &MainWindow::publishLinkResults);
    connect(m_link, &COMThread::updateCurrentFreqLimit, this, &MainWindow::publishLinkResults);
    connect(m_link, &COMThread::aveStateRcvd, this, &MainWindow::publishLinkResults);

    m_link->setMonitorInterval(m_config.monitorInterval);
    connect(m_linkThread, &QThread::started, m_link, &COMThread::process);
    // stop() only clears the loop's running flag; it must run at once, since
    // the loop never returns to its thread's event loop.
    connect(this, &MainWindow::stopProc, m_link, &COMThread::stop, Qt::DirectConnection);
    connect(m_link, &COMThread::finished, m_linkThread, &QThread::quit, Qt::DirectConnection);
    m_history->start(m_link);
    m_linkThread->start(QThread::HighestPriority);
}

void MainWindow::createLoginDialog()
{
    m_login = std::make_unique<authentication>();
    QString refusal;
    m_login->setAccounts(authentication::readAccountsFile(m_config.passwordsFile, &refusal));
    if (!refusal.isEmpty())
        on_windowInfo(refusal, QStringLiteral("red"));
    m_login->setMaxAttempts(m_config.numOfAttempts);
    m_login->setLockSeconds(m_config.numOfSeconds);
}

void MainWindow::createControlWindow()
{
    m_control = std::make_unique<Settings>();
    m_control->init(m_login.get(), &m_link->params());
    Settings *control = m_control.get();

    connect(m_link, &COMThread::newTimeDifferenceIsReady, control, &Settings::newTimeDifferenceIsReady);
    connect(m_link, &COMThread::setNumberOfJournalRec, control, &Settings::setNumberOfJournalRec);
    connect(m_link, &COMThread::setNumberOfReadyRec, control, &Settings::setNumberOfReadyRec);
    connect(m_link, &COMThread::currentOffset_1PPS_isReady, control, &Settings::currentOffset_1PPS_isReady);
    connect(this, &MainWindow::set_channelNames, control, &Settings::set_channelNames);
    connect(control, &Settings::updateTimeDifference, this, [this] { queueCommand(COMMAND_GET_DATETIME); });
    connect(control, &Settings::sendCommand, this, &MainWindow::queueCommand);
    connect(m_link, &COMThread::updateCurrentFreqLimit, control, &Settings::updateCurrentFreqLimit);
    connect(this, &MainWindow::smartControlIsFinished, control, &Settings::smartControlIsFinished);
    connect(control, &Settings::stopSmartControl, this, &MainWindow::stopSmartControl);

    connect(this, &MainWindow::set_syncAndChanStatus, control, &Settings::set_syncAndChanStatus);
    connect(this, &MainWindow::set_channelStatus, control, &Settings::set_channelStatus);
    connect(this, &MainWindow::set_offsetControl_curValues, control, &Settings::set_offsetControl_curValues);
    connect(this, &MainWindow::loadHistory, control, &Settings::loadHistory);
    connect(ui->actionControl, &QAction::triggered, control, &Settings::MyShow);
}

void MainWindow::createConnectionDialogs()
{
    m_connectDialog = new ConnectDialog(this);
    m_connectDialog->hide();
    m_connectDialog->setAnalyseAtStart(m_config.analyseAtStart);
    connect(m_link, &COMThread::portsDescribed, m_connectDialog, &ConnectDialog::setPortDetails);
    connect(m_link, &COMThread::updPorts, m_connectDialog, &ConnectDialog::on_updPorts);
    connect(m_connectDialog, &ConnectDialog::reconnect, this, [this] { m_link->startAutomaticSearch(); });
    connect(m_connectDialog, &ConnectDialog::connectToSelPort, this,
            [this](int index) { m_link->connectToPort(index); });

    m_autoConnectForm = std::make_unique<AutoConnectForm>();
    m_autoConnectForm->setWindowModality(Qt::ApplicationModal);
    m_autoConnectForm->setAnalyseAtStart(m_config.analyseAtStart);
    connect(m_autoConnectForm.get(), &AutoConnectForm::autoStartKey, this, [this](int value) {
        m_connectDialog->setAnalyseAtStart(value);
        m_config.analyseAtStart = value;
    });
    connect(m_autoConnectForm.get(), &AutoConnectForm::stopConnecting, this,
            [this] { m_link->stopConnecting(); });
    connect(m_link, &COMThread::com_status, m_autoConnectForm.get(), &AutoConnectForm::upd_status);
    connect(m_link, &COMThread::connected, m_autoConnectForm.get(), &QWidget::close);

    // The link runs already: a connection made before the line above would
    // never close the form, so a link that has connected shows none.
    if (m_config.analyseAtStart != 0 && !m_link->isConnected()) {
        m_autoConnectForm->move(centredOn(m_autoConnectForm->size(), geometry().center()));
        m_autoConnectForm->show();
    }
}

void MainWindow::createAboutBox()
{
    m_about = new aboutDialog(this);
    connect(m_link, &COMThread::setDeviceInfo, m_about, &aboutDialog::setDeviceInfo);
    connect(ui->actionDevice_connection, &QAction::triggered, m_connectDialog, &QWidget::show);
    connect(ui->actionAbout_device, &QAction::triggered, m_about, &aboutDialog::on_showDevInfo);
    connect(ui->actionAbout_program, &QAction::triggered, m_about, &aboutDialog::on_showProgInfo);
    connect(this, &MainWindow::translate, m_connectDialog, &ConnectDialog::translate);
    connect(this, &MainWindow::translate, m_control.get(), &Settings::translate);
    connect(this, &MainWindow::translate, m_about, &aboutDialog::translate);
}

void MainWindow::seedCommandParameters()
{
    CommandParameters &p = m_link->params();
    p.dateTime_info.timeDifference = 0;
    p.dateTime_info.dateDifference = 0;
    p.journalFolder = logsDir();
    p.qualInterval_info = QualIntervalInfo();
    p.freq_diffLimit_newValue = 0.0;
    p.phaseControl_info = PhaseControlInfo();
    p.pps_info = PPS_DELAY();
}

void MainWindow::connectMenus()
{
    connect(ui->actionExit, &QAction::triggered, this, &MainWindow::close);
    connect(ui->actionHistory, &QAction::triggered, m_history.get(), &HistoryHub::showWindow);
    connect(ui->pushButtonHistory, &QPushButton::clicked, m_history.get(), &HistoryHub::showWindow);
    connect(ui->actionImport_parameter_logs, &QAction::triggered, this,
            [this] { m_history->importParameterLogs(this); });
    connect(ui->actionEnglish, &QAction::triggered, this, &MainWindow::translateThis);
    connect(ui->actionRussian, &QAction::triggered, this, &MainWindow::translateThis);
}

QTimer *MainWindow::makeTimer(const QString &name, void (MainWindow::*slot)())
{
    auto *timer = new QTimer(this);
    timer->setObjectName(name);
    connect(timer, &QTimer::timeout, this, slot);
    return timer;
}

void MainWindow::startPublication()
{
    m_publisher = new StatusPublisher(m_link, m_clock, this);
    m_publisher->setChannelNames(channelNames());
    connect(this, &MainWindow::set_channelNames, m_publisher, &StatusPublisher::setChannelNames);

    if (m_config.metricsPort != 0) {
        m_metrics = std::make_unique<MetricsServer>(m_publisher->board());
        const auto started = m_metrics->start(m_config.metricsAddress.toStdString(), m_config.metricsPort);
        const QString problem = MetricsServer::problemText(started, m_config.metricsAddress, m_config.metricsPort);
        if (!problem.isEmpty()) {
            m_metrics.reset();
            on_debugInfo(problem, QStringLiteral("red"));
        }
    }

    m_tray = TrayStatus::create(this, m_config.notifications);
    if (m_tray) {
        m_tray->follow(ui->lineEdit_stat);
        connect(m_publisher, &StatusPublisher::published, m_tray, &TrayStatus::notify);
    }
}

void MainWindow::startSupervisionTimer()
{
    if (!m_config.supervisInfoFile)
        return;
    m_supervisionTimer = makeTimer(QStringLiteral("supervisionTimer"), &MainWindow::write_superviseInfo);
    m_supervisionTimer->start(SupervisionIntervalMs);
}

void MainWindow::startParameterLog()
{
    m_parameterTimer = makeTimer(QStringLiteral("parameterLogTimer"), &MainWindow::writeCurrentInfo_file);
    writeCurrentInfo_file();
    m_parameterTimer->start(m_config.parameterLogIntervalMs());
}

void MainWindow::startHistoryTimer()
{
    m_historyTimer = makeTimer(QStringLiteral("historyTimer"), &MainWindow::loadHistoryEveryDay);
    m_historyTimer->setSingleShot(true);
    loadHistoryEveryDay();
}

// --- close ----------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    emit stopProc();
    // Let queued work from the link finish before the windows go.
    QEventLoop wait;
    QTimer::singleShot(100, &wait, &QEventLoop::quit);
    wait.exec();
    m_control->close();
    m_about->close();
    m_connectDialog->close();
    m_autoConnectForm->close();
    m_history->closeWindow();
    logLine(tr("Program is closed."));
    QMainWindow::closeEvent(event);
}

void MainWindow::stopLink()
{
    // A stop that comes before the loop has begun would be undone by its
    // start, so it is repeated until the thread has ended.
    for (int waited = 0; m_linkThread->isRunning() && waited < LinkStopWaitMs; waited += 100) {
        emit stopProc();
        m_linkThread->wait(100);
    }
    if (m_linkThread->isRunning())
        return;  // a hung port: leaving the thread alone beats a crash at exit
    delete m_link;
    delete m_linkThread;
}

// --- the link's records -----------------------------------------------------

void MainWindow::on_cmdStateRcvd()
{
    const ADJ_CMD_STATE cmd = m_link->cmdState();
    const DETECT detect = m_link->detect();
    SyncControlInfo &sync = m_link->params().syncControl_info;

    const StatusDisplay::Overall state = StatusDisplay::overall(cmd, m_deviceConnected);
    ui->lineEdit_stat->setText(StatusDisplay::overallText(state, cmd));
    m_styles.apply(ui->lineEdit_stat, StatusDisplay::overallStyle(state));

    for (int n = 1; n <= 4; ++n) {
        const int code = ChannelState::of(detect, cmd, n);
        sync.stat[n - 1] = qint16(code);
        showChannel(n, code, cmd);
    }
    // A redraw without an instrument (a language switch) keeps its look.
    if (state == StatusDisplay::Overall::NoConnection)
        showNoConnection();

    sync.syncStatus = cmd.syncStatus;
    sync.modeCur = cmd.switchingMode() ? '2' : '1';
    ui->label_mode->setText(StatusDisplay::modeText(cmd.switchingMode()));
    m_link->params().ave_info.enabledCur = cmd.avePermitted();
    emit set_syncAndChanStatus();
}

void MainWindow::showChannel(int channel, int code, const ADJ_CMD_STATE &cmd)
{
    const ChannelWidgets &c = m_channels[channel - 1];
    const StatusDisplay::ChannelLook look = StatusDisplay::channelLook(
        code, cmd.qualTimeLeft[channel - 1], m_channelError[channel - 1], c.status->text());
    if (!look.changes)
        return;
    c.status->setText(look.statusText);
    m_styles.apply(c.status, look.statusStyle);
    m_styles.apply(c.offset, look.valueStyle);
    m_styles.apply(c.adev, look.valueStyle);
    if (look.greyName)
        m_styles.apply(c.name, FieldStyle::Grey);
    // In switching mode the channel in the group is the reference.
    if (code == ChannelState::InGroup && cmd.switchingMode() && m_reference.index != channel - 1)
        m_reference = {channel - 1, c.name->text()};
}

void MainWindow::on_detectRcvd()
{
    const DETECT detect = m_link->detect();
    for (int i = 0; i < 4; ++i) {
        const ChannelWidgets &c = m_channels[i];
        if (detect.detected(i)) {
            m_styles.apply(c.name, FieldStyle::Green);
        } else {
            m_styles.apply(c.name, FieldStyle::Grey);
            m_styles.apply(c.offset, TextStyle::Grey);
            m_styles.apply(c.adev, TextStyle::Grey);
        }
        m_channelError[i] = detect.signalError(i);
        m_link->params().syncControl_info.chanAvailable[i] = detect.chan[i];
    }
    emit set_channelStatus();
}

void MainWindow::on_adjRcvd()
{
    const ADJ_STATE adj = m_link->adjState();
    ui->label_offset->setText(StatusDisplay::number(adj.freqOffset, 6));
    ui->label_drift->setText(StatusDisplay::number(adj.freqDrift, 6));
    for (int i = 0; i < 4; ++i)
        m_channels[i].offset->setText(StatusDisplay::number(adj.chanOffset[i], 4));
    emit set_offsetControl_curValues(adj.freqOffset, adj.freqDrift);
}

void MainWindow::on_avarRcvd()
{
    const VAR_STRUCT var = m_link->varState();
    for (int n = 1; n <= 4; ++n)
        m_channels[n - 1].adev->setText(StatusDisplay::number(var.adev(n), 3));
}

void MainWindow::on_noConnection()
{
    m_deviceConnected = false;
    showNoConnection();
    // No progress can be shown for an instrument that is gone.
    m_progress = Progress::None;
    showProgress();
}

void MainWindow::showNoConnection()
{
    for (const ChannelWidgets &c : m_channels) {
        m_styles.apply(c.status, FieldStyle::Grey);
        m_styles.apply(c.name, FieldStyle::Grey);
    }
    ui->lineEdit_stat->setText(StatusDisplay::noConnectionText());
    m_styles.apply(ui->lineEdit_stat, FieldStyle::Grey);
}

void MainWindow::on_connected()
{
    m_deviceConnected = true;
    ui->pushButtonControl->setEnabled(true);
}

void MainWindow::publishLinkResults()
{
    m_link->publishResults();
}

// --- messages -------------------------------------------------------------

void MainWindow::on_windowInfo(const QString &text, const QString &colour)
{
    m_history->recordMessage(text, colour);
    // The text may come from the instrument; escaped, it shows as itself and
    // cannot change the log's markup.
    ui->plainTextEdit->appendHtml(
        QStringLiteral("<html><body><p style=\"color:") + colour.toHtmlEscaped()
        + QStringLiteral(";\">") + m_clock->now().toString(QStringLiteral("dd.MM.yy hh:mm:ss"))
        + QLatin1Char(' ') + text.toHtmlEscaped() + QStringLiteral("</p></body></html>"));

    if (text == tr("Smooth steering is finished") || text == tr("Smooth steering is aborted by the user")
        || text == tr("Smooth steering is stopped: the instrument is not connected")) {
        m_progress = Progress::None;
        emit smartControlIsFinished();
    } else if (text == tr("Smooth steering is started")) {
        m_progress = Progress::SmoothSteering;
    }
    if (text == tr("Phase correction is finished"))
        m_progress = Progress::None;
    else if (text == tr("Phase correction is started"))
        m_progress = Progress::PhaseCorrection;
    showProgress();
}

void MainWindow::on_debugInfo(const QString &text, const QString &colour)
{
    on_windowInfo(text, colour);
    logLine(text);
}

void MainWindow::showProgress()
{
    switch (m_progress) {
    case Progress::SmoothSteering:
        ui->label_control->setText(tr("Smooth Correction is in progress..."));
        break;
    case Progress::PhaseCorrection:
        ui->label_control->setText(tr("Phase Offset Correction is in progress..."));
        break;
    case Progress::None:
        ui->label_control->clear();
        break;
    }
}

void MainWindow::on_setWinTitle(const QString &item)
{
    m_connectedItem = item;
    setWindowTitle(titleText());
    // After every connection: the device information for the about box.
    queueCommand(COMMAND_GET_DEVICE_INFO);
}

QString MainWindow::titleText() const
{
    QString title = tr("Monitor KSR-583") + QStringLiteral(" v." KSR_PROGRAM_VERSION);
    if (!m_connectedItem.isEmpty())
        title += QStringLiteral(". ") + tr("Connected to ") + m_connectedItem;
    return title;
}

// --- operator actions -----------------------------------------------------

void MainWindow::queueCommand(int code)
{
    m_history->recordCommandQueued(code);
    m_link->queueCommand(code);
}

void MainWindow::on_pushButtonControl_clicked()
{
    // The date and time tab shows the device clock against a fresh reading.
    m_link->params().dateTime_info.timeDifference = 0;
    m_link->params().dateTime_info.dateDifference = 0;
    queueCommand(COMMAND_GET_DATETIME);
    m_control->MyShow();
}

void MainWindow::stopSmartControl()
{
    m_link->stopSmartControl();
}

void MainWindow::on_lineEdit_chan1_editingFinished() { emit set_channelNames(channelNames()); }
void MainWindow::on_lineEdit_chan2_editingFinished() { emit set_channelNames(channelNames()); }
void MainWindow::on_lineEdit_chan3_editingFinished() { emit set_channelNames(channelNames()); }
void MainWindow::on_lineEdit_chan4_editingFinished() { emit set_channelNames(channelNames()); }

// --- files ----------------------------------------------------------------

void MainWindow::write_superviseInfo()
{
    const QString path = m_config.pathLocal + QStringLiteral("/Status/SupervisInfo.ini");
    reportWrite(WriteWatch::StatusFile, path,
                SupervisInfoWriter::write(path, m_publisher->snapshot(), m_clock->now()));
}

void MainWindow::writeCurrentInfo_file()
{
    const ADJ_STATE adj = m_link->adjState();
    const VAR_STRUCT var = m_link->varState();
    ParameterLog::Row row;
    row.mode = ui->label_mode->text();
    row.offset = adj.freqOffset;
    row.trend = adj.freqDrift;
    for (int i = 0; i < 4; ++i) {
        row.status[i] = m_channels[i].status->text();
        row.chanOffset[i] = adj.chanOffset[i];
        row.adev[i] = var.adev(i + 1);
    }
    const QDateTime utc = m_clock->nowUtc();
    reportWrite(WriteWatch::ParameterLog, m_parameterLog.filePath(utc.date()),
                m_parameterLog.append(utc, row));
}

void MainWindow::logLine(const QString &text)
{
    reportWrite(WriteWatch::ProgramLog, m_log.currentFile(), m_log.appendLogLine(text));
}

void MainWindow::reportWrite(WriteWatch::Target target, const QString &path, bool ok)
{
    showWatchLine(m_writeWatch.written(target, path, ok));
}

void MainWindow::showWatchLine(const WriteWatch::Line &line)
{
    // The message log only: the program log may be what cannot be written.
    if (!line.text.isEmpty())
        on_windowInfo(line.text, line.colour);
}

void MainWindow::loadHistoryEveryDay()
{
    const QDateTime utc = m_clock->nowUtc();
    if (HistorySchedule::downloadDue(utc))
        emit loadHistory();
    m_historyTimer->start(HistorySchedule::nextCheckMs(utc));
}

// --- window and language --------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    ui->plainTextEdit->resize(ui->plainTextEdit->width(), event->size().height() - LogHeightMargin);
}

void MainWindow::translateThis(bool checked)
{
    if (!checked)
        return;
    loadLanguage(sender() == ui->actionRussian);
    retranslate();
}

void MainWindow::retranslate()
{
    // The texts the device sets are kept out of the form's translation, so
    // retranslateUi() leaves them as they are.
    ui->retranslateUi(this);
    emit translate();
    setWindowTitle(titleText());
    showProgress();
    // Redraws the status words in the new language.
    on_cmdStateRcvd();
}
