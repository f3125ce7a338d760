#pragma once

#include <QWidget>

class authentication;
class QLabel;
class QLineEdit;
class QTimer;
struct AveControlInfo;

namespace Ui {
class AVECONTROL_command;
}

// Shows the AVE value of each input channel as set in the instrument, sets
// new ones and switches AVE control on or off. While the page is shown it
// reads the values every 5 s.
class AVECONTROL_command : public QWidget
{
    Q_OBJECT

public:
    AVECONTROL_command(AveControlInfo *ave, authentication *access, QWidget *parent = nullptr);
    ~AVECONTROL_command() override;

    // Page opening: entries to "0", values read again, timer started.
    void openPage();

    // Between -1e-9 and 1e-9, and 0 or at least about one 1e-21 step away
    // from it.
    static bool isValidAve(float value);

    bool isRefreshing() const;

signals:
    void sendCommand(int code);

public slots:
    void update_AVE_curValues();
    void translate();

private slots:
    void on_newAVE_chan1_line_editingFinished();
    void on_newAVE_chan2_line_editingFinished();
    void on_newAVE_chan3_line_editingFinished();
    void on_newAVE_chan4_line_editingFinished();
    void on_buttonBox_accepted();
    void on_cancel_pBtn_clicked();
    void on_enabledAVE_chBox_clicked(bool checked);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QLineEdit *newField(int channel) const;
    QLineEdit *actualField(int channel) const;
    QLabel *warning(int channel) const;
    void checkField(int channel);
    void resetEntries();
    bool readEntries(float values[4]);

    Ui::AVECONTROL_command *ui;
    AveControlInfo *m_ave;
    authentication *m_access;
    QTimer *m_refresh;
};
