#pragma once

#include "Configuration.h"
#include "CurrentReference.h"
#include "DisplayStyles.h"
#include "ParameterLog.h"
#include "WriteWatch.h"
#include "dialogs/LogWriter.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class AutoConnectForm;
class MetricsServer;
class Settings;
class StatusPublisher;
class TrayStatus;
class authentication;
class COMThread;
class ConnectDialog;
class HistoryHub;
class LinkClock;
class aboutDialog;
class PortFactory;
class QLabel;
class QLineEdit;
class QThread;
class QTimer;
class QTranslator;

namespace Ui {
class MainWindow;
}

// The program's main window and the owner of everything else. It reads
// "fconn583.ini", starts the link thread, shows what the link reports, and
// writes the status file, the parameter log and the program log. The
// configuration goes back to "fconn583.ini" when the window is destroyed.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // For tests: the link's port factory and clock, and the clock the window
    // itself reads (program log day, parameter log day, the 01:00 UTC check).
    MainWindow(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> linkClock,
               std::shared_ptr<LinkClock> clock, QWidget *parent = nullptr);
    ~MainWindow() override;

    COMThread *link() const { return m_link; }
    ConnectDialog *connectDialog() const { return m_connectDialog; }
    AutoConnectForm *autoConnectForm() const { return m_autoConnectForm.get(); }
    aboutDialog *aboutBox() const { return m_about; }
    Settings *controlWindow() const { return m_control.get(); }
    HistoryHub *history() const { return m_history.get(); }
    authentication *loginDialog() const { return m_login.get(); }
    QThread *linkThread() const { return m_linkThread; }
    StatusPublisher *statusPublisher() const { return m_publisher; }
    CurrentReference rememberedReference() const { return m_reference; }
    QStringList channelNames() const;

public slots:
    void on_cmdStateRcvd();
    void on_adjRcvd();
    void on_detectRcvd();
    void on_avarRcvd();
    void on_noConnection();
    void on_connected();

signals:
    void stopProc();
    void translate();
    void smartControlIsFinished();
    // For the control window, which relays them to its tabs.
    void set_syncAndChanStatus();
    void set_channelStatus();
    void set_offsetControl_curValues(float offset, float drift);
    void set_channelNames(const QStringList &names);
    void loadHistory();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_debugInfo(const QString &text, const QString &colour);
    void on_windowInfo(const QString &text, const QString &colour);
    void on_setWinTitle(const QString &item);
    void on_pushButtonControl_clicked();
    void write_superviseInfo();
    void loadHistoryEveryDay();
    void translateThis(bool checked);
    void retranslate();
    void stopSmartControl();
    void writeCurrentInfo_file();
    void on_lineEdit_chan1_editingFinished();
    void on_lineEdit_chan2_editingFinished();
    void on_lineEdit_chan3_editingFinished();
    void on_lineEdit_chan4_editingFinished();
    void publishLinkResults();

private:
    enum class Progress { None, SmoothSteering, PhaseCorrection };

    struct ChannelWidgets {
        QLineEdit *status;
        QLineEdit *name;
        QLabel *offset;
        QLabel *adev;
    };

    // start-up, in this order
    void applyWindowPosition();
    void loadLanguage(bool russian);
    void makeFolders();
    void initDisplay();
    void startLink(std::shared_ptr<PortFactory> ports, std::shared_ptr<LinkClock> linkClock);
    void createLoginDialog();
    void createConnectionDialogs();
    void createControlWindow();
    void createAboutBox();
    void seedCommandParameters();
    void connectMenus();
    void startPublication();
    void startSupervisionTimer();
    void startParameterLog();
    void startHistoryTimer();
    QTimer *makeTimer(const QString &name, void (MainWindow::*slot)());

    void stopLink();
    void queueCommand(int code);
    void logLine(const QString &text);
    void reportWrite(WriteWatch::Target target, const QString &path, bool ok);
    void showWatchLine(const WriteWatch::Line &line);
    void showNoConnection();
    void showChannel(int channel, int code, const ADJ_CMD_STATE &cmd);
    void showProgress();
    QString titleText() const;
    QString logsDir() const;

    std::unique_ptr<Ui::MainWindow> ui;
    std::shared_ptr<LinkClock> m_clock;
    Configuration m_config;
    CurrentReference m_reference;
    DisplayStyles m_styles;
    LogWriter m_log;
    ParameterLog m_parameterLog;
    WriteWatch m_writeWatch;
    ChannelWidgets m_channels[4] = {};
    bool m_channelError[4] = {};

    bool m_deviceConnected = false;
    QString m_connectedItem;  // what the title names while connected
    Progress m_progress = Progress::None;

    QThread *m_linkThread = nullptr;
    COMThread *m_link = nullptr;
    QTranslator *m_translator = nullptr;
    ConnectDialog *m_connectDialog = nullptr;
    std::unique_ptr<AutoConnectForm> m_autoConnectForm;  // a top-level window
    aboutDialog *m_about = nullptr;
    std::unique_ptr<authentication> m_login;  // a top-level dialog
    std::unique_ptr<Settings> m_control;      // a top-level dialog
    std::unique_ptr<HistoryHub> m_history;
    QTimer *m_supervisionTimer = nullptr;
    StatusPublisher *m_publisher = nullptr;
    std::unique_ptr<MetricsServer> m_metrics;
    TrayStatus *m_tray = nullptr;
    QTimer *m_parameterTimer = nullptr;
    QTimer *m_historyTimer = nullptr;
};
