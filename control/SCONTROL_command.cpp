// QCustomPlot's header still uses Qt's foreach, which the project switches
// off elsewhere; this is the one file that includes it.
#undef QT_NO_FOREACH

#include "SCONTROL_command.h"
#include "ui_SCONTROL_command.h"

#include "FieldCheck.h"

#include <QDebug>
#include <QPushButton>
#include <qcustomplot.h>

SCONTROL_command::SCONTROL_command(SmartControlInfo *smart, const double *freq_newOffset,
                                   authentication *access, QWidget *parent)
    : QWidget(parent), ui(new Ui::SCONTROL_command), m_smart(smart), m_access(access)
{
    ui->setupUi(this);
    ui->sm_freqCurOffset_line->setText(FieldCheck::number(*freq_newOffset));
    ui->sm_freq_warning_lbl->clear();
    setRunning(false, false);
    setupPlot();
}

SCONTROL_command::~SCONTROL_command()
{
    delete ui;
}

void SCONTROL_command::setupPlot()
{
    QCustomPlot *plot = ui->sm_widgetPlot;
    m_curve = plot->addGraph();
    m_curve->setPen(QPen(Qt::blue));
    plot->xAxis2->setVisible(true);
    plot->xAxis2->setTickLabels(false);
    plot->yAxis2->setVisible(true);
    plot->yAxis2->setTickLabels(false);
    plot->xAxis->setRange(-1, 1);
    plot->yAxis->setRange(0, 1);
    setAxisLabels();
}

void SCONTROL_command::setAxisLabels()
{
    ui->sm_widgetPlot->xAxis->setLabel(tr("time, s"));
    ui->sm_widgetPlot->yAxis->setLabel(tr("freq offset"));
}

void SCONTROL_command::setRunning(bool planned, bool running)
{
    ui->sm_btnBox->button(QDialogButtonBox::Ok)->setEnabled(planned);
    ui->abort_pBtn->setEnabled(running);
}

double SCONTROL_command::phaseSeconds() const
{
    const double scale = ui->sm_phase_cBox->currentIndex() == 0 ? 1e-9 : 1e-12;
    return ui->sm_phaseNewOffset_sBox->value() * scale;
}

void SCONTROL_command::clearCurve()
{
    m_curve->data()->clear();
    ui->sm_widgetPlot->replot();
}

void SCONTROL_command::on_sm_apply_pBtn_clicked()
{
    clearCurve();
    double target = 0;
    if (!FieldCheck::parse(ui->sm_freqNewOffset_line->text(), &target))
        return;
    if (!FieldCheck::isSettable(target, 1e-8)) {
        FieldCheck::rangeMessage(this, tr("The Frequency offset value range is:\n"
                                          "from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8."));
        return;
    }
    ui->sm_btnBox->button(QDialogButtonBox::Ok)->setEnabled(true);

    m_plan.target = target;
    m_plan.count = ui->sm_numOfControls_sBox->value();
    m_plan.interval = ui->sm_timeInterval_sBox->value();
    m_plan.phaseSeconds = phaseSeconds();
    m_plan.current = 0;
    FieldCheck::parse(ui->sm_freqCurOffset_line->text(), &m_plan.current);
    drawPlan();
}

void SCONTROL_command::drawPlan()
{
    QVector<double> times;
    QVector<double> offsets;
    m_plan.curve(&times, &offsets);
    m_curve->setData(times, offsets, true);

    QCustomPlot *plot = ui->sm_widgetPlot;
    plot->rescaleAxes();
    plot->xAxis->setRange(-1, double(m_plan.count) * m_plan.interval);
    const QCPRange offsetRange = plot->yAxis->range();
    const double margin = offsetRange.size() / 10;
    plot->yAxis->setRange(offsetRange.lower - margin, offsetRange.upper + margin);
    plot->replot();
}

void SCONTROL_command::on_sm_btnBox_accepted()
{
    ui->sm_freqCurOffset_line->setText(ui->sm_freqNewOffset_line->text());
    m_smart->freq_newValue = m_plan.target;
    m_smart->phase_newValue = m_plan.phaseSeconds;
    m_smart->timeInterval = m_plan.interval;
    m_smart->numOfControls = m_plan.count;
    emit sendCommand(COMMAND_SMART_CONTROL);
    emit set_newFreqOffsetCurValue(m_smart->freq_newValue);
    qDebug().noquote() << QStringLiteral("COMMAND_SMART_CONTROL: freq_newValue = ")
                              + FieldCheck::number(m_smart->freq_newValue)
                              + QStringLiteral(",  phase_newValue = ")
                              + FieldCheck::number(m_smart->phase_newValue)
                              + QStringLiteral(",  timeInterval = ")
                              + QString::number(m_smart->timeInterval)
                              + QStringLiteral(",  numOfControls = ")
                              + QString::number(m_smart->numOfControls);
    setRunning(false, true);
}

void SCONTROL_command::planChanged()
{
    ui->sm_btnBox->button(QDialogButtonBox::Ok)->setEnabled(false);
}

void SCONTROL_command::on_sm_freqNewOffset_line_textEdited(const QString &)
{
    planChanged();
}

void SCONTROL_command::on_sm_timeInterval_sBox_valueChanged(int)
{
    planChanged();
}

void SCONTROL_command::on_sm_numOfControls_sBox_valueChanged(int)
{
    planChanged();
}

void SCONTROL_command::on_sm_phaseNewOffset_sBox_valueChanged(int)
{
    planChanged();
}

void SCONTROL_command::on_sm_phase_cBox_currentIndexChanged(int)
{
    planChanged();
}

void SCONTROL_command::on_sm_freqNewOffset_line_editingFinished()
{
    FieldCheck::check(ui->sm_freqNewOffset_line, ui->sm_freq_warning_lbl);
}

void SCONTROL_command::on_cancel_pBtn_clicked()
{
    setRunning(false, false);
    emit stopSmartControl();
}

void SCONTROL_command::on_abort_pBtn_clicked()
{
    setRunning(false, false);
    ui->sm_freqNewOffset_line->clear();
    ui->sm_phaseNewOffset_sBox->setValue(0);
    clearCurve();
    ui->sm_numOfControls_sBox->setValue(ui->sm_numOfControls_sBox->minimum());
    ui->sm_timeInterval_sBox->setValue(ui->sm_timeInterval_sBox->minimum());
    ui->sm_freq_warning_lbl->clear();
}

void SCONTROL_command::set_smartControl_curValues(float offset, float)
{
    ui->sm_freqCurOffset_line->setText(FieldCheck::number(offset));
}

void SCONTROL_command::smartControlIsFinished()
{
    setRunning(false, false);
}

void SCONTROL_command::translate()
{
    const QString warning = ui->sm_freq_warning_lbl->text();
    ui->retranslateUi(this);
    ui->sm_freq_warning_lbl->setText(warning);
    setAxisLabels();
    ui->sm_widgetPlot->replot();
}
