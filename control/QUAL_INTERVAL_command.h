#pragma once

#include <QWidget>

class authentication;
struct QualIntervalInfo;
class QSpinBox;

namespace Ui {
class QUAL_INTERVAL_command;
}

// Sets how long the instrument qualifies each input signal before it may be
// used. The only command that needs the operator's login.
class QUAL_INTERVAL_command : public QWidget
{
    Q_OBJECT

public:
    QUAL_INTERVAL_command(QualIntervalInfo *intervals, authentication *access,
                          QWidget *parent = nullptr);
    ~QUAL_INTERVAL_command() override;

signals:
    void sendCommand(int code);

public slots:
    void translate();

private slots:
    void on_buttonBox_accepted();
    void on_cancel_pBtn_clicked();

private:
    void showRecord();
    QSpinBox *spinBox(int channel) const;

    Ui::QUAL_INTERVAL_command *ui;
    QualIntervalInfo *m_intervals;
    authentication *m_access;
};
