#include "PPS_SYNC_command.h"
#include "ui_PPS_SYNC_command.h"

#include "link/CommandParameters.h"

#include <QDebug>
#include <QTimer>

PPS_SYNC_command::PPS_SYNC_command(const PPS_DELAY *pps, authentication *access, QWidget *parent)
    : QWidget(parent),
      ui(new Ui::PPS_SYNC_command),
      m_pps(pps),
      m_access(access),
      m_refresh(new QTimer(this))
{
    ui->setupUi(this);
    connect(m_refresh, &QTimer::timeout, this, &PPS_SYNC_command::pps_updateOffset);
}

PPS_SYNC_command::~PPS_SYNC_command()
{
    delete ui;
}

qint64 PPS_SYNC_command::offsetNs(quint32 delay)
{
    return delay <= 50000000u ? qint64(delay) : qint64(delay) - 100000000;
}

bool PPS_SYNC_command::isRefreshing() const
{
    return m_refresh->isActive();
}

void PPS_SYNC_command::MyShow()
{
    pps_updateOffset();
    m_refresh->start(10000);
    show();
}

void PPS_SYNC_command::hideEvent(QHideEvent *event)
{
    m_refresh->stop();
    QWidget::hideEvent(event);
}

void PPS_SYNC_command::pps_updateOffset()
{
    qDebug() << "sendCommand COMMAND_GET_1PPS_OFFSET";
    emit sendCommand(COMMAND_GET_1PPS_OFFSET);
}

void PPS_SYNC_command::on_pps_sync_pBtn_clicked()
{
    emit sendCommand(COMMAND_1PPS_SYNC);
    qDebug() << "COMMAND 1PPS Syncronization";
}

void PPS_SYNC_command::currentOffset_1PPS_isReady()
{
    const QString offset = QString::number(offsetNs(m_pps->delay));
    switch (m_pps->external) {
    case 0:
        ui->pps_currentAvailability_lbl->setText(tr("UNAVAILABLE"));
        ui->pps_currentOffset_lbl->clear();
        break;
    case 1:
        ui->pps_currentAvailability_lbl->setText(tr("AVAILABLE"));
        ui->pps_currentOffset_lbl->setText(offset);
        break;
    default:
        ui->pps_currentAvailability_lbl->clear();
        ui->pps_currentOffset_lbl->setText(offset);
        break;
    }
}

void PPS_SYNC_command::translate()
{
    ui->retranslateUi(this);
    // The availability word was set in the previous language.
    if (!ui->pps_currentAvailability_lbl->text().isEmpty())
        currentOffset_1PPS_isReady();
}
