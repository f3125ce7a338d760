#include "MainWindow.h"

#include "AttachedView.h"
#include "control/Settings.h"
#include "core/LocalCore.h"
#include "dialogs/AutoConnectForm.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/FolderChooser.h"
#include "dialogs/aboutDialog.h"
#include "dialogs/authentication.h"
#include "historywindow/HistoryWindow.h"
#include "tray/TrayStatus.h"
#include "ui_MainWindow.h"

#include "ProgramVersion.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

namespace {

// The message log keeps its width and takes the window height minus this.
constexpr int LogHeightMargin = 299;

// The top left corner that puts a window of `size` with its centre at `centre`.
QPoint centredOn(const QSize &size, const QPoint &centre)
{
    QRect placed(QPoint(), size);
    placed.moveCenter(centre);
    return placed.topLeft();
}

}  // namespace

MainWindow::MainWindow(QWidget *parent) : MainWindow(std::make_unique<LocalCore>(), parent) {}

MainWindow::MainWindow(std::unique_ptr<MonitorCore> core, QWidget *parent)
    : QMainWindow(parent),
      ui(new Ui::MainWindow),
      m_core(std::move(core)),
      m_config(m_core->configuration())
{
    ui->setupUi(this);
    m_panel = std::make_unique<StatusPanel>(*ui);
    m_attached = std::make_unique<AttachedView>(*m_core, m_fields, *m_panel, this);
    const CoreState state = m_core->state();
    m_connectedItem = state.titleItem;
    setWindowTitle(titleText());
    applyWindowPosition();
    showLanguage(m_config.russian);
    createLoginDialog();
    ui->pushButtonControl->setEnabled(m_config.controlAvailable != 0);
    m_panel->setNames(state.channelNames);
    m_panel->clearMeasurements();
    m_panel->paint(m_fields);
    m_block.journalFolder = state.journalFolder;

    createConnectionDialogs();
    createControlWindow();
    emit set_channelNames(channelNames());
    createAboutBox();
    connectMenus();
    emit translate();
    m_tray = TrayStatus::create(this, m_config.notifications);
    if (m_tray)
        m_tray->follow(ui->lineEdit_stat);
    followCore();
    for (const Message &line : state.recentLines)
        showLine(line);

    m_core->start();
    showSearchForm();
    if (QFile::exists(QStringLiteral("icon2016_583.ico")))
        setWindowIcon(QIcon(QStringLiteral("icon2016_583.ico")));
    retranslate();
}

MainWindow::~MainWindow()
{
    keepSettings();
    disconnect(m_core.get(), nullptr, this, nullptr);
    // The History window's readers go before the core's writer.
    m_history.reset();
    m_control.reset();
    m_core.reset();
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

void MainWindow::showLanguage(bool russian)
{
    ui->actionRussian->setChecked(russian);
    ui->actionEnglish->setChecked(!russian);
}

void MainWindow::createLoginDialog()
{
    // The core has said already what is wrong with the accounts file.
    m_login = std::make_unique<authentication>();
    m_login->setAccounts(AccountsFile::read(m_config.passwordsFile));
    m_login->setMaxAttempts(m_config.numOfAttempts);
    m_login->setLockSeconds(m_config.numOfSeconds);
    m_attached->askLoginsWith(*m_login);
}

void MainWindow::createConnectionDialogs()
{
    m_connectDialog = new ConnectDialog(this);
    m_connectDialog->hide();
    m_connectDialog->setAnalyseAtStart(m_config.analyseAtStart);
    connect(m_connectDialog, &ConnectDialog::reconnect, this, [this] { m_core->searchAllPorts(); });
    connect(m_connectDialog, &ConnectDialog::connectToSelPort, this, [this](int index) { m_core->connectToPort(index); });

    m_autoConnectForm = std::make_unique<AutoConnectForm>();
    m_autoConnectForm->setWindowModality(Qt::ApplicationModal);
    m_autoConnectForm->setAnalyseAtStart(m_config.analyseAtStart);
    connect(m_autoConnectForm.get(), &AutoConnectForm::autoStartKey, this, [this](int value) {
        m_connectDialog->setAnalyseAtStart(value);
        m_core->setAnalyseAtStart(value);
    });
    connect(m_autoConnectForm.get(), &AutoConnectForm::stopConnecting, this, [this] { m_core->stopSearching(); });
}

void MainWindow::createControlWindow()
{
    m_control = std::make_unique<Settings>();
    m_control->init(m_login.get(), &m_block);
    Settings *control = m_control.get();
    connect(this, &MainWindow::set_channelNames, control, &Settings::set_channelNames);
    connect(control, &Settings::updateTimeDifference, this, [this] { submit(COMMAND_GET_DATETIME); });
    connect(control, &Settings::sendCommand, this, &MainWindow::submit);
    connect(this, &MainWindow::smartControlIsFinished, control, &Settings::smartControlIsFinished);
    connect(control, &Settings::stopSmartControl, this, [this] { m_core->abortSmoothSteering(); });
    connect(this, &MainWindow::set_syncAndChanStatus, control, &Settings::set_syncAndChanStatus);
    connect(this, &MainWindow::set_channelStatus, control, &Settings::set_channelStatus);
    connect(this, &MainWindow::set_offsetControl_curValues, control, &Settings::set_offsetControl_curValues);
    connect(ui->actionControl, &QAction::triggered, control, &Settings::MyShow);
}

void MainWindow::createAboutBox()
{
    m_about = new aboutDialog(this);
    connect(ui->actionDevice_connection, &QAction::triggered, m_connectDialog, &QWidget::show);
    connect(ui->actionAbout_device, &QAction::triggered, m_about, &aboutDialog::on_showDevInfo);
    connect(ui->actionAbout_device, &QAction::triggered, m_about, &QWidget::show);
    connect(ui->actionAbout_program, &QAction::triggered, m_about, &aboutDialog::on_showProgInfo);
    connect(this, &MainWindow::translate, m_connectDialog, &ConnectDialog::translate);
    connect(this, &MainWindow::translate, m_control.get(), &Settings::translate);
    connect(this, &MainWindow::translate, m_about, &aboutDialog::translate);
}

void MainWindow::connectMenus()
{
    connect(ui->actionExit, &QAction::triggered, this, &MainWindow::close);
    connect(ui->actionHistory, &QAction::triggered, this, &MainWindow::showHistory);
    connect(ui->pushButtonHistory, &QPushButton::clicked, this, &MainWindow::showHistory);
    connect(ui->actionImport_parameter_logs, &QAction::triggered, this, &MainWindow::importParameterLogs);
    m_attached->offerAttachWith(ui->actionAttach_to_service);
    connect(ui->actionEnglish, &QAction::triggered, this, &MainWindow::translateThis);
    connect(ui->actionRussian, &QAction::triggered, this, &MainWindow::translateThis);
    connect(this, &MainWindow::set_channelNames, m_core.get(), &MonitorCore::setChannelNames);
    connect(this, &MainWindow::set_channelNames, this, [this](const QStringList &names) {
        if (m_history)
            m_history->setChannelNames(names);
    });
    connect(m_attached.get(), &AttachedView::channelNamesChanged, this, &MainWindow::set_channelNames);
    connect(this, &MainWindow::translate, m_attached.get(), &AttachedView::retranslate);
}

void MainWindow::followCore()
{
    MonitorCore *core = m_core.get();
    connect(core, &MonitorCore::cmdStateRead, this, &MainWindow::showCmdState);
    connect(core, &MonitorCore::detectRead, this, &MainWindow::showDetect);
    connect(core, &MonitorCore::adjStateRead, this, [this](const ADJ_STATE &adj) {
        m_panel->showAdjState(adj);
        emit set_offsetControl_curValues(adj.freqOffset, adj.freqDrift);
    });
    connect(core, &MonitorCore::varStateRead, this, [this](const VAR_STRUCT &var) { m_panel->showVarState(var); });
    connect(core, &MonitorCore::linkStatusChanged, this, &MainWindow::showLinkStatus);
    connect(core, &MonitorCore::titleItemChanged, this, [this](const QString &item) {
        m_connectedItem = item;
        setWindowTitle(titleText());
    });
    connect(core, &MonitorCore::resultsRead, this, &MainWindow::showResults);
    connect(core, &MonitorCore::message, this, &MainWindow::showLine);
    connect(core, &MonitorCore::progressChanged, this, [this](Progress progress) {
        m_progress = progress;
        showProgress();
    });
    connect(core, &MonitorCore::smoothSteeringFinished, this, &MainWindow::smartControlIsFinished);
    connect(core, &MonitorCore::historyChanged, this, [this] {
        if (m_history)
            m_history->historyChanged();
    });
    connect(core, &MonitorCore::deviceInfoRead, m_about, [this](const DeviceInfo &d) {
        m_about->setDeviceInfo(d.softwareVersNumber, d.softwareVersDate, d.serialNumber, d.comparatorVers,
                               d.outherComparatorVers, d.PLIS_CPUvers, d.OSFvers);
    });
    connect(core, &MonitorCore::journalSize, m_control.get(), &Settings::setNumberOfJournalRec);
    connect(core, &MonitorCore::journalRecordsRead, m_control.get(), &Settings::setNumberOfReadyRec);
    connect(core, &MonitorCore::portsDescribed, m_connectDialog, &ConnectDialog::setPortDetails);
    connect(core, &MonitorCore::portsListed, m_connectDialog, &ConnectDialog::on_updPorts);
    connect(core, &MonitorCore::searchProgress, m_autoConnectForm.get(), &AutoConnectForm::upd_status);
    if (m_tray)
        connect(core, &MonitorCore::statusPublished, m_tray, &TrayStatus::notify);
}

void MainWindow::showSearchForm()
{
    // The core runs already: a link that has connected shows no form.
    if (m_config.analyseAtStart != 0 && m_core->state().link != LinkStatus::Connected) {
        m_autoConnectForm->move(centredOn(m_autoConnectForm->size(), geometry().center()));
        m_autoConnectForm->show();
    }
}

// --- close ----------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_core->close();
    m_control->close();
    m_about->close();
    m_connectDialog->close();
    m_autoConnectForm->close();
    if (m_history)
        m_history->close();
    QMainWindow::closeEvent(event);
}

void MainWindow::keepSettings()
{
    m_core->setChannelNames(channelNames());
    m_core->setAnalyseAtStart(m_connectDialog->analyseAtStart());
    ViewSettings kept;
    kept.mainWindowPos = pos();
    // A control window never opened in this run keeps its stored place.
    kept.controlWindowPos = m_control->pos().isNull() ? m_config.controlWindowPos : m_control->pos();
    if (ui->actionRussian->isChecked())
        kept.language = QStringLiteral("RU");
    else if (ui->actionEnglish->isChecked())
        kept.language = QStringLiteral("EN");
    m_core->keepViewSettings(kept);
}

// --- what the core reports ------------------------------------------------

void MainWindow::showCmdState(const ADJ_CMD_STATE &cmd, const DETECT &detect)
{
    m_fields.showCmdState(cmd, detect);
    m_block.takeCmdState(cmd, detect);
    m_panel->paint(m_fields);
    emit set_syncAndChanStatus();
}

void MainWindow::showDetect(const DETECT &detect)
{
    m_fields.showDetect(detect);
    m_block.takeDetect(detect);
    m_panel->paint(m_fields);
    emit set_channelStatus();
}

void MainWindow::showLinkStatus(LinkStatus state)
{
    if (state == LinkStatus::Connected) {
        m_fields.instrumentFound();
        ui->pushButtonControl->setEnabled(true);
        m_autoConnectForm->close();
    } else {
        m_fields.instrumentLost();
        m_panel->paint(m_fields);
    }
}

void MainWindow::showResults(ResultKind kind, const LinkResults &results)
{
    // Into the block first: the pages read it when the signal reaches them.
    m_block.takeResults(results, m_aveReadingsTaken);
    if (kind == ResultKind::TimeDifference)
        emit m_control->newTimeDifferenceIsReady();
    else if (kind == ResultKind::PpsOffset)
        emit m_control->currentOffset_1PPS_isReady();
    else if (kind == ResultKind::FrequencyLimit)
        emit m_control->updateCurrentFreqLimit();
}

void MainWindow::showLine(const Message &line)
{
    // The text may come from the instrument; escaped, it shows as itself and
    // cannot change the log's markup.
    ui->plainTextEdit->appendHtml(
        QStringLiteral("<html><body><p style=\"color:") + line.colour.toHtmlEscaped() + QStringLiteral(";\">")
        + line.time.toString(QStringLiteral("dd.MM.yy hh:mm:ss")) + QLatin1Char(' ') + line.text.toHtmlEscaped()
        + QStringLiteral("</p></body></html>"));
}

void MainWindow::showProgress()
{
    ui->label_control->setText(m_progress == Progress::SmoothSteering    ? tr("Smooth Correction is in progress...")
                               : m_progress == Progress::PhaseCorrection ? tr("Phase Offset Correction is in progress...")
                                                                         : QString());
}

QString MainWindow::titleText() const
{
    QString title = tr("Monitor KSR-583") + QStringLiteral(" v." KSR_PROGRAM_VERSION);
    if (!m_connectedItem.isEmpty())
        title += QStringLiteral(". ") + tr("Connected to ") + m_connectedItem;
    return title + m_attached->titleSuffix();
}

// --- operator actions -----------------------------------------------------

void MainWindow::submit(int code)
{
    m_core->submitCommand(code, m_block);
}

void MainWindow::on_pushButtonControl_clicked()
{
    // The date and time tab shows the device clock against a fresh reading.
    m_block.dateTime_info.timeDifference = 0;
    m_block.dateTime_info.dateDifference = 0;
    submit(COMMAND_GET_DATETIME);
    m_control->MyShow();
}

void MainWindow::showHistory()
{
    if (!m_history) {
        MonitorCore *core = m_core.get();
        m_history = std::make_unique<HistoryWindow>([core] { return core->newHistorySource(); },
                                                    core->historyExportFolder(), core->viewSettingsFile());
        m_history->setChannelNames(channelNames());
    }
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

void MainWindow::importParameterLogs()
{
    const QString start = QDir(m_config.pathLocal + QStringLiteral("/Logs")).absoluteFilePath(QStringLiteral("Parameters"));
    const QString folder = FolderChooser::choose(this, tr("Import parameter logs"), start);
    if (!folder.isEmpty())
        m_core->importParameterLogs(folder);
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
    const bool russian = sender() == ui->actionRussian;
    m_core->setLanguage(russian);
    showLanguage(russian);
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
    m_fields.redraw();
    m_panel->paint(m_fields);
    emit set_syncAndChanStatus();
}
