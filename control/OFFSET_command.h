#pragma once

#include "link/CommandParameters.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPropertyAnimation;
class authentication;
struct PhasePlan;

namespace Ui {
class OFFSET_command;
}

// The "Offset Correction" page: sets the output frequency offset, the
// frequency trend, and shifts the output phase by a planned temporary offset.
class OFFSET_command : public QWidget
{
    Q_OBJECT

public:
    OFFSET_command(PhaseControlInfo *phase, double *freq_newOffset, double *drift_newOffset,
                   authentication *access, QWidget *parent = nullptr);
    ~OFFSET_command() override;

    // Opening from the control window's menu shows the frequency offset page.
    void openPage();

signals:
    void sendCommand(int code);

public slots:
    void set_offsetControl_curValues(float offset, float drift);
    void set_newFreqOffsetCurValue(double value);
    void translate();

private slots:
    void on_freq_btnBox_accepted();
    void on_freq_cancel_pBtn_clicked();
    void on_freq_newOffset_line_editingFinished();
    void on_drift_btnBox_accepted();
    void on_drift_cancel_pBtn_clicked();
    void on_drift_newOffset_line_editingFinished();
    void on_phase_pBtn_clicked();
    void on_phase_btnBox_accepted();
    void on_phase_cancel_pBtn_clicked();

private:
    // One of the two value pages (offset, trend).
    struct ValuePage {
        QLineEdit *newValue;
        QLineEdit *current;
        QLabel *warning;
        double *target;
        double largest;
        int code;
        const char *trace;
    };
    void acceptValue(const ValuePage &page, const QString &rangeText);
    static void cancelValue(const ValuePage &page);
    ValuePage offsetPage() const;
    ValuePage driftPage() const;

    void startEditingPhase();
    void planPhase();
    void setPhaseEditable(bool editable);
    QString planText(const PhasePlan &plan) const;
    void showPlan(const QString &text);
    void hidePlan();
    void slideButtonTo(int x, int ms);
    void fadePlan(double from, double to, int ms);

    Ui::OFFSET_command *ui;
    PhaseControlInfo *m_phase;
    double *m_freqNewOffset;
    double *m_driftNewOffset;
    authentication *m_access;

    bool m_phaseEditing = false;  // "Apply" state of the phase page
    int m_timerInterval = 0;      // seconds the planned phase correction lasts
    qint32 m_plannedValue = 0;    // the value the shown plan was made for
    int m_plannedUnit = 0;

    QPropertyAnimation *m_slide;
    QPropertyAnimation *m_fade;
};
