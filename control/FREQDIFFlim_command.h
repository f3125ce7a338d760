#pragma once

#include <QWidget>

class authentication;

namespace Ui {
class FREQDIFFlim_command;
}

// Sets the limit on the frequency difference between input signals that the
// instrument tolerates, and shows the limit it has now.
class FREQDIFFlim_command : public QWidget
{
    Q_OBJECT

public:
    FREQDIFFlim_command(double *freq_diffLimit_newValue, const float *currentLimit,
                        authentication *access, QWidget *parent = nullptr);
    ~FREQDIFFlim_command() override;

signals:
    void sendCommand(int code);

public slots:
    void translate();
    // The link has read the instrument's limit.
    void updateCurrentLimit();

private slots:
    void on_fDiffLim_newValue_line_editingFinished();
    void on_fDiffLim_btnBox_accepted();
    void on_cancel_pBtn_clicked();

private:
    Ui::FREQDIFFlim_command *ui;
    double *m_newLimit;
    const float *m_currentLimit;
    authentication *m_access;
};
