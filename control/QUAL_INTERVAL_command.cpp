#include "QUAL_INTERVAL_command.h"

QUAL_INTERVAL_command::QUAL_INTERVAL_command(QualIntervalInfo *, authentication *, QWidget *parent) : QWidget(parent)
{
}

void QUAL_INTERVAL_command::translate()
{
}
