#include "SmoothSteering.h"

SmoothSteering::SmoothSteering(DeviceExchange &io, LinkRecords &records, QObject *parent)
    : QObject(parent), m_io(io), m_records(records)
{
}

double SmoothSteering::stepValue(int k, int n, int intervalS, float x0, float y0)
{
    Q_UNUSED(k)
    Q_UNUSED(n)
    Q_UNUSED(intervalS)
    Q_UNUSED(x0)
    Q_UNUSED(y0)
    return 0;
}

void SmoothSteering::start(const SmartControlInfo &info)
{
    Q_UNUSED(info)
}

void SmoothSteering::tick() {}

void SmoothSteering::abort()
{
    m_active = false;
}
