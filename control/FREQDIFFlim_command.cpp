#include "FREQDIFFlim_command.h"

FREQDIFFlim_command::FREQDIFFlim_command(double *, const float *, authentication *, QWidget *parent) : QWidget(parent)
{
}

void FREQDIFFlim_command::updateCurrentLimit()
{
}

void FREQDIFFlim_command::translate()
{
}
