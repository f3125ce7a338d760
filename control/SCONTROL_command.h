#pragma once

#include "SmoothPlan.h"
#include "link/CommandParameters.h"

#include <QWidget>

class QCPGraph;
class authentication;

namespace Ui {
class SCONTROL_command;
}

// The "Smooth Correction" page: plans a stepwise move of the frequency
// offset (with an optional phase shift), draws the plan, and hands it to the
// link, which runs the steps.
class SCONTROL_command : public QWidget
{
    Q_OBJECT

public:
    SCONTROL_command(SmartControlInfo *smart, const double *freq_newOffset, authentication *access,
                     QWidget *parent = nullptr);
    ~SCONTROL_command() override;

signals:
    void sendCommand(int code);
    void set_newFreqOffsetCurValue(double value);
    void stopSmartControl();

public slots:
    void set_smartControl_curValues(float offset, float drift);
    void smartControlIsFinished();
    void translate();

private slots:
    void on_sm_apply_pBtn_clicked();
    void on_sm_btnBox_accepted();
    void on_sm_freqNewOffset_line_editingFinished();
    void on_sm_freqNewOffset_line_textEdited(const QString &text);
    void on_sm_timeInterval_sBox_valueChanged(int arg1);
    void on_sm_numOfControls_sBox_valueChanged(int arg1);
    void on_sm_phaseNewOffset_sBox_valueChanged(int arg1);
    void on_sm_phase_cBox_currentIndexChanged(int index);
    void on_cancel_pBtn_clicked();
    void on_abort_pBtn_clicked();

private:
    void setupPlot();
    void setAxisLabels();
    void drawPlan();
    void clearCurve();
    double phaseSeconds() const;
    void setRunning(bool planned, bool running);
    // Only a plan that has been drawn can be sent.
    void planChanged();

    Ui::SCONTROL_command *ui;
    SmartControlInfo *m_smart;
    authentication *m_access;
    QCPGraph *m_curve = nullptr;
    SmoothPlan m_plan;  // the plan last drawn
};
