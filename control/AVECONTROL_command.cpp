#include "AVECONTROL_command.h"
#include "ui_AVECONTROL_command.h"

#include "FieldCheck.h"
#include "dialogs/MessageBox.h"
#include "link/CommandParameters.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

AVECONTROL_command::AVECONTROL_command(AveControlInfo *ave, authentication *access,
                                       QWidget *parent)
    : QWidget(parent),
      ui(new Ui::AVECONTROL_command),
      m_ave(ave),
      m_access(access),
      m_refresh(new QTimer(this))
{
    ui->setupUi(this);
    connect(m_refresh, &QTimer::timeout, this, &AVECONTROL_command::update_AVE_curValues);
    for (int ch = 1; ch <= 4; ++ch)
        warning(ch)->clear();
}

AVECONTROL_command::~AVECONTROL_command()
{
    delete ui;
}

QLineEdit *AVECONTROL_command::newField(int channel) const
{
    QLineEdit *const fields[] = {ui->newAVE_chan1_line, ui->newAVE_chan2_line,
                                 ui->newAVE_chan3_line, ui->newAVE_chan4_line};
    return fields[channel - 1];
}

QLineEdit *AVECONTROL_command::actualField(int channel) const
{
    QLineEdit *const fields[] = {ui->actualAVE_chan1_line, ui->actualAVE_chan2_line,
                                 ui->actualAVE_chan3_line, ui->actualAVE_chan4_line};
    return fields[channel - 1];
}

QLabel *AVECONTROL_command::warning(int channel) const
{
    QLabel *const labels[] = {ui->warningAVE1_lbl, ui->warningAVE2_lbl, ui->warningAVE3_lbl,
                              ui->warningAVE4_lbl};
    return labels[channel - 1];
}

bool AVECONTROL_command::isValidAve(float value)
{
    const double v = value;
    if (!(v >= -1e-9 && v <= 1e-9))  // also refuses "nan"
        return false;
    // The step is taken on the magnitude, so -4e-22 is refused like 4e-22.
    return v == 0 || std::fabs(std::trunc(1e-21 / v)) <= 1;
}

bool AVECONTROL_command::isRefreshing() const
{
    return m_refresh->isActive();
}

void AVECONTROL_command::openPage()
{
    resetEntries();
    update_AVE_curValues();
    ui->enabledAVE_chBox->setChecked(m_ave->enabledCur);
    ui->groupBox->setEnabled(m_ave->enabledCur);
    m_refresh->start(5000);
    show();
}

void AVECONTROL_command::hideEvent(QHideEvent *event)
{
    m_refresh->stop();
    QWidget::hideEvent(event);
}

void AVECONTROL_command::update_AVE_curValues()
{
    emit sendCommand(COMMAND_GET_AVE_ENABLED);
    emit sendCommand(COMMAND_GET_AVE);
    // The answers come later; this shows what the previous refresh read.
    for (int ch = 1; ch <= 4; ++ch)
        actualField(ch)->setText(FieldCheck::number(m_ave->aveCur[ch - 1]));
}

void AVECONTROL_command::checkField(int channel)
{
    FieldCheck::check(newField(channel), warning(channel));
}

void AVECONTROL_command::on_newAVE_chan1_line_editingFinished()
{
    checkField(1);
}

void AVECONTROL_command::on_newAVE_chan2_line_editingFinished()
{
    checkField(2);
}

void AVECONTROL_command::on_newAVE_chan3_line_editingFinished()
{
    checkField(3);
}

void AVECONTROL_command::on_newAVE_chan4_line_editingFinished()
{
    checkField(4);
}

void AVECONTROL_command::on_enabledAVE_chBox_clicked(bool checked)
{
    ui->groupBox->setEnabled(checked);
}

void AVECONTROL_command::resetEntries()
{
    for (int ch = 1; ch <= 4; ++ch)
        newField(ch)->setText(QStringLiteral("0"));
}

void AVECONTROL_command::on_cancel_pBtn_clicked()
{
    resetEntries();
    for (int ch = 1; ch <= 4; ++ch)
        warning(ch)->clear();
}

// Parses the four entries in single precision and shows each as it will be
// sent; false when one of them is not a number.
bool AVECONTROL_command::readEntries(float values[4])
{
    bool allParsed = true;
    for (int ch = 1; ch <= 4; ++ch) {
        double v = 0;
        if (FieldCheck::parse(newField(ch)->text(), &v)) {
            values[ch - 1] = float(v);
            newField(ch)->setText(FieldCheck::number(values[ch - 1]));
        } else {
            allParsed = false;
        }
    }
    return allParsed;
}

void AVECONTROL_command::on_buttonBox_accepted()
{
    const bool wanted = ui->enabledAVE_chBox->isChecked();
    if (m_ave->enabledCur != wanted) {
        m_ave->enabledNew = wanted ? 1 : 0;
        emit sendCommand(COMMAND_SET_AVE_ENABLED);
    }
    if (!wanted)
        return;

    float values[4] = {};
    if (!readEntries(values)) {
        MessageBox::warning(this, tr("Invalid value!"));
        return;
    }
    if (!std::all_of(values, values + 4, isValidAve)) {
        MessageBox::warning(this, tr("AVE should be between -1.0e-9 and 1.0e-9 with step 1.0e-21."));
        return;
    }
    if (!std::equal(values, values + 4, m_ave->aveCur)) {
        std::copy(values, values + 4, m_ave->aveNew);
        emit sendCommand(COMMAND_SET_AVE);
    }
    resetEntries();
}

void AVECONTROL_command::translate()
{
    ui->retranslateUi(this);
    // A warning already shown is said again in the new language.
    for (int ch = 1; ch <= 4; ++ch) {
        if (!warning(ch)->text().isEmpty())
            checkField(ch);
    }
}
