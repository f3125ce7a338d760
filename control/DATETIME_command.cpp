#include "DATETIME_command.h"
#include "ui_DATETIME_command.h"

#include "link/CommandParameters.h"

#include <QDebug>
#include <QTimer>

DATETIME_command::DATETIME_command(DateTimeShiftInfo *shift, authentication *access,
                                   QWidget *parent)
    : QWidget(parent),
      ui(new Ui::DATETIME_command),
      m_shift(shift),
      m_access(access),
      m_clock(new QTimer(this)),
      m_now([] { return QDateTime::currentDateTime(); })
{
    ui->setupUi(this);
    setCurrentTime();
    ui->enterNewDateTime_groupBox->setEnabled(false);
    ui->enter_shift_rBtn->setChecked(true);
    on_enter_shift_rBtn_clicked(true);
    connect(m_clock, &QTimer::timeout, this, &DATETIME_command::setCurrentTime);
}

DATETIME_command::~DATETIME_command()
{
    delete ui;
}

void DATETIME_command::setClock(std::function<QDateTime()> now)
{
    m_now = std::move(now);
}

void DATETIME_command::openPage()
{
    setShiftFields({});
    setCurrentTime();
    show();
}

void DATETIME_command::startClock()
{
    if (!m_clock->isActive())
        m_clock->start(998);
}

void DATETIME_command::stopClock()
{
    m_clock->stop();
}

bool DATETIME_command::isClockRunning() const
{
    return m_clock->isActive();
}

void DATETIME_command::setCurrentTime()
{
    ui->curDateTimeOnComputer_dTEdit->setDateTime(m_now());
    ui->curDateTimeOnDevice_dTEdit->setDateTime(ui->curDateTimeOnComputer_dTEdit->dateTime()
                                                    .addDays(m_shift->dateDifference)
                                                    .addSecs(m_shift->timeDifference));
}

void DATETIME_command::on_updateCurDateTime_pBtn_clicked()
{
    ui->curDateTimeOnDevice_dTEdit->setEnabled(false);
    emit updateTimeDifference();
}

void DATETIME_command::newTimeDifferenceIsReady()
{
    qDebug() << "dateDiff = " << m_shift->dateDifference;
    qDebug() << "timeDiff = " << m_shift->timeDifference;
    ui->curDateTimeOnDevice_dTEdit->setEnabled(true);
    showLastUpdate();
}

void DATETIME_command::showLastUpdate()
{
    ui->timeOfLastUpdate_label->setText(
        tr("Last update: ") + "\n"
        + m_shift->lastUpdate.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
}

DateShift::Fields DATETIME_command::shiftFields() const
{
    DateShift::Fields f;
    f.years = ui->shift_years_sBox->value();
    f.months = ui->shift_months_sBox->value();
    f.days = ui->shift_days_sBox->value();
    f.hours = ui->shift_hours_sBox->value();
    f.minutes = ui->shift_minutes_sBox->value();
    f.seconds = ui->shift_seconds_sBox->value();
    return f;
}

void DATETIME_command::setShiftFields(const DateShift::Fields &f)
{
    ui->shift_years_sBox->setValue(f.years);
    ui->shift_months_sBox->setValue(f.months);
    ui->shift_days_sBox->setValue(f.days);
    ui->shift_hours_sBox->setValue(f.hours);
    ui->shift_minutes_sBox->setValue(f.minutes);
    ui->shift_seconds_sBox->setValue(f.seconds);
}

void DATETIME_command::setDateEntry(const QDateTime &t)
{
    // The entry holds what it shows: no milliseconds of the clock it came from.
    const QTime time = t.time();
    ui->newDateOnDevice_dateEdit->setDate(t.date());
    ui->newTimeOnDevice_timeEdit->setTime(QTime(time.hour(), time.minute(), time.second()));
}

QDateTime DATETIME_command::enteredDateTime() const
{
    return QDateTime(ui->newDateOnDevice_dateEdit->date(), ui->newTimeOnDevice_timeEdit->time());
}

void DATETIME_command::on_changeDateTime_pBtn_clicked()
{
    ui->enter_shift_rBtn->setChecked(true);
    on_enter_shift_rBtn_clicked(true);
    setShiftFields({});
    ui->enterNewDateTime_groupBox->setEnabled(true);
}

void DATETIME_command::on_enter_date_rBtn_clicked(bool checked)
{
    if (checked && ui->enter_date_groupBox->isHidden())
        setDateEntry(
            DateShift::apply(ui->curDateTimeOnComputer_dTEdit->dateTime(), shiftFields()));
    ui->enter_date_groupBox->setVisible(checked);
    ui->enter_shift_groupBox->setVisible(!checked);
}

void DATETIME_command::on_enter_shift_rBtn_clicked(bool checked)
{
    if (checked && ui->enter_shift_groupBox->isHidden())
        setShiftFields(
            DateShift::fieldsBetween(ui->curDateTimeOnComputer_dTEdit->dateTime(), enteredDateTime()));
    ui->enter_shift_groupBox->setVisible(checked);
    ui->enter_date_groupBox->setVisible(!checked);
}

void DATETIME_command::on_cancel_pBtn_clicked()
{
    ui->enterNewDateTime_groupBox->setEnabled(false);
    setDateEntry(ui->curDateTimeOnComputer_dTEdit->dateTime());
    setShiftFields({});
}

void DATETIME_command::on_dateTime_btnBox_accepted()
{
    const QDateTime cur = ui->curDateTimeOnComputer_dTEdit->dateTime();
    QDateTime target;
    if (ui->enter_date_rBtn->isChecked()) {
        target = enteredDateTime();
        setDateEntry(cur);
    } else {
        target = DateShift::apply(cur, shiftFields());
        setShiftFields({});
    }
    qDebug() << "curDate = " << cur;
    qDebug() << "newDate = " << target;

    const DateShift::Difference d = DateShift::between(cur, target);
    if (d.days == m_shift->dateDifference && d.seconds == m_shift->timeDifference)
        return;
    m_shift->dateDifference = d.days;
    m_shift->timeDifference = d.seconds;
    qDebug() << "COMMAND_SET_DATESHIFT dateDifference = " << d.days;
    emit sendCommand(COMMAND_SET_DATETIME);
    qDebug() << "COMMAND_SET_TIMESHIFT timeDifference = " << d.seconds;
}

void DATETIME_command::translate()
{
    ui->retranslateUi(this);
    if (!ui->timeOfLastUpdate_label->text().isEmpty())
        showLastUpdate();
}
