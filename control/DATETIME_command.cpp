#include "DATETIME_command.h"

DATETIME_command::DATETIME_command(DateTimeShiftInfo *, authentication *, QWidget *parent) : QWidget(parent)
{
}

void DATETIME_command::openPage()
{
}

void DATETIME_command::startClock()
{
    m_clockRunning = true;
}

void DATETIME_command::stopClock()
{
    m_clockRunning = false;
}

bool DATETIME_command::isClockRunning() const
{
    return m_clockRunning;
}

void DATETIME_command::setCurrentTime()
{
}

void DATETIME_command::newTimeDifferenceIsReady()
{
}

void DATETIME_command::translate()
{
}
