#pragma once

#include "StatusPanel.h"
#include "core/MonitorCore.h"
#include "status/StatusFields.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class AttachedView;
class AutoConnectForm;
class ConnectDialog;
class HistoryWindow;
class Settings;
class TrayStatus;
class aboutDialog;
class authentication;

namespace Ui {
class MainWindow;
}

// The program's main window: a view of one core. It shows what the core
// reports, owns the dialogs and the command parameter block the control
// window's pages write, and hands the core every command with a copy of
// that block. The files, the link and the timers are the core's.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // A view of the program's work in this process, in the current folder.
    explicit MainWindow(QWidget *parent = nullptr);
    // A view of `core`, which it starts.
    explicit MainWindow(std::unique_ptr<MonitorCore> core, QWidget *parent = nullptr);
    ~MainWindow() override;

    MonitorCore *core() const { return m_core.get(); }
    ConnectDialog *connectDialog() const { return m_connectDialog; }
    AutoConnectForm *autoConnectForm() const { return m_autoConnectForm.get(); }
    aboutDialog *aboutBox() const { return m_about; }
    Settings *controlWindow() const { return m_control.get(); }
    authentication *loginDialog() const { return m_login.get(); }
    // The command parameter block of the control window's pages.
    CommandParameters &commandBlock() { return m_block; }
    QStringList channelNames() const { return m_panel->names(); }

signals:
    void translate();
    void smartControlIsFinished();
    // For the control window, which relays them to its pages.
    void set_syncAndChanStatus();
    void set_channelStatus();
    void set_offsetControl_curValues(float offset, float drift);
    void set_channelNames(const QStringList &names);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_pushButtonControl_clicked();
    void translateThis(bool checked);
    void retranslate();

private:
    void applyWindowPosition();
    void showLanguage(bool russian);
    void createLoginDialog();
    void createConnectionDialogs();
    void createControlWindow();
    void createAboutBox();
    void connectMenus();
    void followCore();
    void showSearchForm();

    void showCmdState(const ADJ_CMD_STATE &cmd, const DETECT &detect);
    void showDetect(const DETECT &detect);
    void showLinkStatus(LinkStatus state);
    void showResults(ResultKind kind, const LinkResults &results);
    void showLine(const Message &line);
    void showProgress();
    void showHistory();
    void importParameterLogs();
    void submit(int code);
    void keepSettings();
    QString titleText() const;

    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<MonitorCore> m_core;
    Configuration m_config;
    StatusFields m_fields;
    std::unique_ptr<StatusPanel> m_panel;  // on the form, once it is built
    std::unique_ptr<AttachedView> m_attached;  // what an attached window shows unlike the others
    CommandParameters m_block;
    quint64 m_aveReadingsTaken = 0;
    QString m_connectedItem;  // what the title names while connected
    Progress m_progress = Progress::None;

    ConnectDialog *m_connectDialog = nullptr;
    std::unique_ptr<AutoConnectForm> m_autoConnectForm;  // a top-level window
    aboutDialog *m_about = nullptr;
    std::unique_ptr<authentication> m_login;    // a top-level dialog
    std::unique_ptr<Settings> m_control;        // a top-level dialog
    std::unique_ptr<HistoryWindow> m_history;   // none until first shown
    TrayStatus *m_tray = nullptr;
};
