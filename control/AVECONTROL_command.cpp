#include "AVECONTROL_command.h"

AVECONTROL_command::AVECONTROL_command(AveControlInfo *, authentication *, QWidget *parent) : QWidget(parent)
{
}

void AVECONTROL_command::openPage()
{
}

void AVECONTROL_command::update_AVE_curValues()
{
    emit sendCommand(COMMAND_GET_AVE_ENABLED);
    emit sendCommand(COMMAND_GET_AVE);
}

void AVECONTROL_command::translate()
{
}
