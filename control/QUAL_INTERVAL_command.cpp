#include "QUAL_INTERVAL_command.h"
#include "ui_QUAL_INTERVAL_command.h"

#include "dialogs/authentication.h"
#include "link/CommandParameters.h"

#include <QDebug>

QUAL_INTERVAL_command::QUAL_INTERVAL_command(QualIntervalInfo *intervals, authentication *access,
                                             QWidget *parent)
    : QWidget(parent), ui(new Ui::QUAL_INTERVAL_command), m_intervals(intervals), m_access(access)
{
    ui->setupUi(this);
    showRecord();
}

QUAL_INTERVAL_command::~QUAL_INTERVAL_command()
{
    delete ui;
}

QSpinBox *QUAL_INTERVAL_command::spinBox(int channel) const
{
    QSpinBox *const boxes[] = {ui->qualInt_chan1_sBox, ui->qualInt_chan2_sBox,
                               ui->qualInt_chan3_sBox, ui->qualInt_chan4_sBox};
    return boxes[channel - 1];
}

void QUAL_INTERVAL_command::showRecord()
{
    spinBox(1)->setValue(m_intervals->qual_Interval_chan1);
    spinBox(2)->setValue(m_intervals->qual_Interval_chan2);
    spinBox(3)->setValue(m_intervals->qual_Interval_chan3);
    spinBox(4)->setValue(m_intervals->qual_Interval_chan4);
}

void QUAL_INTERVAL_command::translate()
{
    ui->retranslateUi(this);
}

void QUAL_INTERVAL_command::on_buttonBox_accepted()
{
    if (!m_access || !m_access->requestAccess())
        return;
    // The spin boxes stop at 65 535, so every value fits the 16-bit field.
    m_intervals->qual_Interval_chan1 = quint16(spinBox(1)->value());
    m_intervals->qual_Interval_chan2 = quint16(spinBox(2)->value());
    m_intervals->qual_Interval_chan3 = quint16(spinBox(3)->value());
    m_intervals->qual_Interval_chan4 = quint16(spinBox(4)->value());
    emit sendCommand(COMMAND_SET_QUAL_INTERVALS);
    qDebug() << "COMMAND_SET_QUAL_INTERVALS: qual_Interval_chan1 = "
             << m_intervals->qual_Interval_chan1
             << "qual_Interval_chan2 = " << m_intervals->qual_Interval_chan2
             << "qual_Interval_chan3 = " << m_intervals->qual_Interval_chan3
             << "qual_Interval_chan4 = " << m_intervals->qual_Interval_chan4;
}

void QUAL_INTERVAL_command::on_cancel_pBtn_clicked()
{
    showRecord();
}
