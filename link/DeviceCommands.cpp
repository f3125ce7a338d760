#include "DeviceCommands.h"

DeviceCommands::DeviceCommands(DeviceExchange &io, LinkRecords &records, QObject *parent)
    : QObject(parent), m_io(io), m_records(records)
{
}

bool DeviceCommands::execute(int code, const CommandParameters &params)
{
    Q_UNUSED(params)
    return code >= 0 && code <= 22;
}

void DeviceCommands::checkPhaseCorrection() {}
