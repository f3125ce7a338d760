#include "FREQDIFFlim_command.h"
#include "ui_FREQDIFFlim_command.h"

#include "FieldCheck.h"
#include "link/CommandParameters.h"

#include <QDebug>

FREQDIFFlim_command::FREQDIFFlim_command(double *freq_diffLimit_newValue,
                                         const float *currentLimit, authentication *access,
                                         QWidget *parent)
    : QWidget(parent),
      ui(new Ui::FREQDIFFlim_command),
      m_newLimit(freq_diffLimit_newValue),
      m_currentLimit(currentLimit),
      m_access(access)
{
    ui->setupUi(this);
    ui->fDiffLim_curValue_line->setText(FieldCheck::number(*m_newLimit));
    ui->fDiffLim_warning_lbl->clear();
}

FREQDIFFlim_command::~FREQDIFFlim_command()
{
    delete ui;
}

void FREQDIFFlim_command::translate()
{
    ui->retranslateUi(this);
    // A warning already shown is said again in the new language.
    if (!ui->fDiffLim_warning_lbl->text().isEmpty())
        on_fDiffLim_newValue_line_editingFinished();
}

void FREQDIFFlim_command::updateCurrentLimit()
{
    ui->fDiffLim_curValue_line->setText(FieldCheck::number(*m_currentLimit));
}

void FREQDIFFlim_command::on_fDiffLim_newValue_line_editingFinished()
{
    FieldCheck::check(ui->fDiffLim_newValue_line, ui->fDiffLim_warning_lbl);
}

void FREQDIFFlim_command::on_fDiffLim_btnBox_accepted()
{
    double v = 0;
    if (!FieldCheck::parse(ui->fDiffLim_newValue_line->text(), &v))
        return;
    if (!(v >= 1e-13 && v <= 1e-8)) {  // also refuses "nan"
        FieldCheck::rangeMessage(
            this, tr("Frequency difference limit value should be between 1e-13 and 1e-8."));
        return;
    }
    *m_newLimit = v;
    emit sendCommand(COMMAND_SET_FREQ_LIMIT);
    qDebug() << "COMMAND freq_diffLimit: freq_diffLimit_newValue = " << v;
    ui->fDiffLim_curValue_line->setText(FieldCheck::number(v));
    ui->fDiffLim_newValue_line->clear();
}

void FREQDIFFlim_command::on_cancel_pBtn_clicked()
{
    ui->fDiffLim_newValue_line->clear();
    ui->fDiffLim_warning_lbl->clear();
}
