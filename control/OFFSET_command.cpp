#include "OFFSET_command.h"
#include "ui_OFFSET_command.h"

#include "FieldCheck.h"
#include "PhasePlan.h"

#include <QDebug>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QPushButton>

namespace {

QPushButton *okButton(QDialogButtonBox *box)
{
    return box->button(QDialogButtonBox::Ok);
}

// The three titles do not fit side by side and are shortened; the tooltip
// keeps them whole.
void setTitleTips(QTabWidget *tabs)
{
    for (int i = 0; i < tabs->count(); ++i)
        tabs->setTabToolTip(i, tabs->tabText(i));
}

}  // namespace

OFFSET_command::OFFSET_command(PhaseControlInfo *phase, double *freq_newOffset,
                               double *drift_newOffset, authentication *access, QWidget *parent)
    : QWidget(parent),
      ui(new Ui::OFFSET_command),
      m_phase(phase),
      m_freqNewOffset(freq_newOffset),
      m_driftNewOffset(drift_newOffset),
      m_access(access)
{
    ui->setupUi(this);
    setTitleTips(ui->tabWidget);

    auto *opacity = new QGraphicsOpacityEffect(ui->phase_lbl);
    ui->phase_lbl->setGraphicsEffect(opacity);
    m_fade = new QPropertyAnimation(opacity, "opacity", this);
    m_fade->setEasingCurve(QEasingCurve::InQuad);
    // The plan stays visible while it fades out.
    connect(m_fade, &QAbstractAnimation::finished, this, [this] {
        if (m_fade->endValue().toDouble() == 0.0)
            ui->phase_lbl->hide();
    });
    m_slide = new QPropertyAnimation(ui->phase_pBtn, "geometry", this);

    setPhaseEditable(false);
    okButton(ui->phase_btnBox)->setEnabled(false);
    ui->phase_lbl->hide();
    ui->freq_curOffset_line->setText(FieldCheck::number(*m_freqNewOffset));
    ui->drift_curOffset_line->setText(FieldCheck::number(*m_driftNewOffset));
    ui->freq_warning_lbl->clear();
    ui->drift_warning_lbl->clear();
}

OFFSET_command::~OFFSET_command()
{
    delete ui;
}

void OFFSET_command::openPage()
{
    ui->tabWidget->setCurrentIndex(1);
}

// --- frequency offset and trend -------------------------------------------

OFFSET_command::ValuePage OFFSET_command::offsetPage() const
{
    return {ui->freq_newOffset_line, ui->freq_curOffset_line, ui->freq_warning_lbl,
            m_freqNewOffset, 1e-8, COMMAND_SET_FREQ_OFFSET,
            "COMMAND freq_offsetControl: freq_newOffset = "};
}

OFFSET_command::ValuePage OFFSET_command::driftPage() const
{
    return {ui->drift_newOffset_line, ui->drift_curOffset_line, ui->drift_warning_lbl,
            m_driftNewOffset, 1e-11, COMMAND_SET_FREQ_DRIFT,
            "COMMAND drift_offsetControl: drift_newOffset = "};
}

void OFFSET_command::acceptValue(const ValuePage &page, const QString &rangeText)
{
    double value = 0;
    if (!FieldCheck::parse(page.newValue->text(), &value))
        return;  // the field check has flagged it already
    if (!FieldCheck::isSettable(value, page.largest)) {
        FieldCheck::rangeMessage(this, rangeText);
        return;
    }
    *page.target = value;
    emit sendCommand(page.code);
    qDebug().noquote() << page.trace + FieldCheck::number(value);
    page.current->setText(FieldCheck::number(value));
    page.newValue->clear();
}

void OFFSET_command::cancelValue(const ValuePage &page)
{
    page.newValue->clear();
    page.warning->clear();
}

void OFFSET_command::on_freq_btnBox_accepted()
{
    acceptValue(offsetPage(), tr("The Frequency offset value range is:\n"
                                 "from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8."));
}

void OFFSET_command::on_drift_btnBox_accepted()
{
    acceptValue(driftPage(), tr("The Drift offset value range is:\n"
                                "from -1.0e-11 to -1.0e-18, 0, from 1.0e-18 to 1.0e-11."));
}

void OFFSET_command::on_freq_cancel_pBtn_clicked()
{
    cancelValue(offsetPage());
}

void OFFSET_command::on_drift_cancel_pBtn_clicked()
{
    cancelValue(driftPage());
}

void OFFSET_command::on_freq_newOffset_line_editingFinished()
{
    FieldCheck::check(ui->freq_newOffset_line, ui->freq_warning_lbl);
}

void OFFSET_command::on_drift_newOffset_line_editingFinished()
{
    FieldCheck::check(ui->drift_newOffset_line, ui->drift_warning_lbl);
}

void OFFSET_command::set_offsetControl_curValues(float offset, float drift)
{
    ui->freq_curOffset_line->setText(FieldCheck::number(offset));
    ui->drift_curOffset_line->setText(FieldCheck::number(drift));
}

void OFFSET_command::set_newFreqOffsetCurValue(double value)
{
    ui->freq_curOffset_line->setText(FieldCheck::number(value));
}

// --- phase correction ------------------------------------------------------

void OFFSET_command::on_phase_pBtn_clicked()
{
    if (m_phaseEditing)
        planPhase();
    else
        startEditingPhase();
}

void OFFSET_command::startEditingPhase()
{
    m_phaseEditing = true;
    ui->phase_pBtn->setText(tr("Apply"));
    setPhaseEditable(true);
    okButton(ui->phase_btnBox)->setEnabled(false);
}

void OFFSET_command::planPhase()
{
    const qint32 value = ui->phase_newOffset_sBox->value();
    const auto unit = PhasePlan::Unit(ui->phase_cBox->currentIndex());
    if (!PhasePlan::fitsDevice(value, unit)) {
        // The device counts the shift in 32-bit picoseconds; keep editing.
        const qint32 largest = PhasePlan::maxNanoseconds();
        FieldCheck::rangeMessage(this, tr("The Phase offset value range is:\nfrom %1 to %2 ns.")
                                           .arg(-largest)
                                           .arg(largest));
        return;
    }
    m_phaseEditing = false;
    ui->phase_pBtn->setText(tr("Change"));
    setPhaseEditable(false);
    if (value == 0) {
        on_phase_cancel_pBtn_clicked();
        return;
    }

    const PhasePlan plan = PhasePlan::make(value, unit);
    if (plan.split)
        qDebug().noquote() << QStringLiteral("part = ") + QString::number(plan.fraction);
    m_timerInterval = plan.interval;
    m_plannedValue = value;
    m_plannedUnit = unit;
    okButton(ui->phase_btnBox)->setEnabled(true);
    showPlan(planText(plan));
}

QString OFFSET_command::planText(const PhasePlan &plan) const
{
    if (plan.remainderStep.isEmpty())
        return tr("Frequency will be shifted on: \n%1 during %2 s!")
            .arg(plan.firstStep, QString::number(plan.firstSeconds));
    return tr("Frequency will be shifted on: \n%1 during %2 s and  \n%3 during 1 s!")
        .arg(plan.firstStep, QString::number(plan.firstSeconds), plan.remainderStep);
}

void OFFSET_command::on_phase_btnBox_accepted()
{
    okButton(ui->phase_btnBox)->setEnabled(false);
    setPhaseEditable(false);
    hidePlan();

    const auto unit = PhasePlan::Unit(m_plannedUnit);
    m_phase->timerInterval = m_timerInterval;
    m_phase->phaseOffset = qint32(PhasePlan::picoseconds(m_plannedValue, unit));
    m_phase->endTime = PhasePlan::endTime(QDateTime::currentDateTimeUtc(), m_timerInterval);
    emit sendCommand(COMMAND_PHASE_CORRECTION);
    qDebug().noquote() << QStringLiteral("COMMAND phase_offsetControl: freq_newOffset = ")
                              + QString::number(m_phase->phaseOffset) + QStringLiteral(" ps  ")
                              + QStringLiteral("  phaseControl_info->timerInterval = ")
                              + QString::number(m_timerInterval);
    ui->phase_newOffset_sBox->setValue(0);
}

void OFFSET_command::on_phase_cancel_pBtn_clicked()
{
    ui->phase_newOffset_sBox->setValue(0);
    okButton(ui->phase_btnBox)->setEnabled(false);
    m_phaseEditing = false;
    setPhaseEditable(false);
    ui->phase_pBtn->setText(tr("Change"));
    hidePlan();
}

void OFFSET_command::setPhaseEditable(bool editable)
{
    ui->phase_newOffset_sBox->setReadOnly(!editable);
    ui->phase_newOffset_sBox->setStyleSheet(editable
                                                ? QStringLiteral("QSpinBox{background-color: #fad4ec}")
                                                : QStringLiteral("QSpinBox{background-color: #ffffff}"));
    ui->phase_cBox->setEnabled(editable);
}

void OFFSET_command::showPlan(const QString &text)
{
    ui->phase_lbl->setText(text);
    slideButtonTo(ui->label_9->x(), 350);
    fadePlan(0.1, 1.0, 600);
    ui->phase_lbl->show();
}

void OFFSET_command::hidePlan()
{
    fadePlan(1.0, 0.0, 300);
    slideButtonTo(ui->phase_newOffset_sBox->x(), 400);
    ui->phase_pBtn->show();
}

void OFFSET_command::slideButtonTo(int x, int ms)
{
    m_slide->stop();
    QRect end = ui->phase_pBtn->geometry();
    end.moveLeft(x);
    m_slide->setDuration(ms);
    m_slide->setStartValue(ui->phase_pBtn->geometry());
    m_slide->setEndValue(end);
    m_slide->start();
}

void OFFSET_command::fadePlan(double from, double to, int ms)
{
    m_fade->stop();
    m_fade->setDuration(ms);
    m_fade->setStartValue(from);
    m_fade->setEndValue(to);
    m_fade->start();
}

void OFFSET_command::translate()
{
    const QString plan = ui->phase_lbl->text();
    const QString freqWarning = ui->freq_warning_lbl->text();
    const QString driftWarning = ui->drift_warning_lbl->text();
    ui->retranslateUi(this);
    setTitleTips(ui->tabWidget);
    ui->phase_lbl->setText(plan);
    ui->freq_warning_lbl->setText(freqWarning);
    ui->drift_warning_lbl->setText(driftWarning);
    // The button's text tells the operator which state the phase page is in.
    ui->phase_pBtn->setText(m_phaseEditing ? tr("Apply") : tr("Change"));
}
