#include "PPS_SYNC_command.h"

PPS_SYNC_command::PPS_SYNC_command(const PPS_DELAY *, authentication *, QWidget *parent) : QWidget(parent)
{
}

void PPS_SYNC_command::MyShow()
{
    pps_updateOffset();
}

void PPS_SYNC_command::currentOffset_1PPS_isReady()
{
}

void PPS_SYNC_command::pps_updateOffset()
{
    emit sendCommand(COMMAND_GET_1PPS_OFFSET);
}

void PPS_SYNC_command::translate()
{
}
