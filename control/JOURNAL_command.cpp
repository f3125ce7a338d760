#include "JOURNAL_command.h"

JOURNAL_command::JOURNAL_command(QString *, authentication *, QWidget *parent) : QWidget(parent)
{
}

void JOURNAL_command::openPage()
{
}

void JOURNAL_command::setNumberOfJournalRec(int)
{
}

void JOURNAL_command::setNumberOfReadyRec(int)
{
}

void JOURNAL_command::loadHistory()
{
}

void JOURNAL_command::translate()
{
}
