#pragma once

#include "link/CommandParameters.h"

#include <QVector>
#include <QWidget>

#include <initializer_list>

class QCheckBox;
class QComboBox;
class QLabel;
class authentication;

namespace Ui {
class SYNCHR_command;
}

// The "Mode, Synchronization" page: the mode, the reference and backup
// channels (switching mode) or the channels in the group (averaging mode),
// and synchronisation on or off.
//
// The combo boxes carry channel numbers (1..4) as item data and 0 for "No",
// so that renamed or equally named channels are never confused.
class SYNCHR_command : public QWidget
{
    Q_OBJECT

public:
    SYNCHR_command(SyncControlInfo *sync, authentication *access, QWidget *parent = nullptr);
    ~SYNCHR_command() override;

    // Refreshes the page from the device state before it is shown.
    void openPage();

signals:
    void sendCommand(int code);

public slots:
    void set_channelStatus();
    void set_syncAndChanStatus();
    void set_signalInGroupStatus();
    void set_channelNames(const QStringList &names);
    void translate();

private slots:
    void on_buttonBox_accepted();
    void on_cancel_pBtn_clicked();
    void on_reference_cBox_activated(const QString &arg1);
    void on_backUp1_cBox_activated(const QString &arg1);
    void on_backUp2_cBox_activated(const QString &arg1);
    void on_mode_RESERVE_rBtn_clicked(bool checked);
    void on_mode_SUMM_rBtn_clicked(bool checked);

private:
    // What was last sent or read from the device; Cancel returns to it.
    struct Selection {
        int reference = 0;
        int backup[3] = {};
        bool included[4] = {};
        bool sync = false;
        char mode = '1';
    };

    QComboBox *backupBox(int index) const;
    QCheckBox *includedBox(int index) const;
    QLabel *channelLabel(int index) const;
    QString channelName(int channel) const;
    void fill(QComboBox *box, const QVector<int> &channels, bool withNone) const;
    static int channelOf(const QComboBox *box);
    static void select(QComboBox *box, int channel);
    QVector<int> availableExcept(std::initializer_list<int> taken) const;

    // The cascade that keeps reference and backups distinct.
    void applyReference(int backup1, int backup2, int backup3);
    void applyBackup1();
    void applyBackup2();

    void showMode(char mode);
    void refreshFromDevice();
    void rememberChannels();
    void sendChannels(bool unlessDeviceHasThem, int previousReference);
    void sendInclusion();
    bool deviceHasAssignment() const;

    Ui::SYNCHR_command *ui;
    SyncControlInfo *m_sync;
    authentication *m_access;
    QStringList m_names;       // the four channel names
    QVector<int> m_available;  // channels offered in the combo boxes
    Selection m_saved;
};
