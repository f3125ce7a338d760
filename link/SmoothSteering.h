#pragma once

#include "CommandParameters.h"

#include <QObject>

#include <atomic>

class DeviceExchange;
struct LinkRecords;

// Moves the output frequency offset to a target in N steps of T seconds,
// optionally shifting the phase on the way. Runs in the link loop's tick.
class SmoothSteering : public QObject
{
    Q_OBJECT

public:
    SmoothSteering(DeviceExchange &io, LinkRecords &records, QObject *parent = nullptr);

    // The step u for step k of N with interval T (seconds) and the constants
    // x0 = -phase, y0 = R - target fixed at the first step.
    static double stepValue(int k, int n, int intervalS, float x0, float y0);

    void start(const SmartControlInfo &info);  // code 5
    void tick();                               // once per second while connected
    void abort();                              // link thread only
    bool isActive() const { return m_active; }

signals:
    void debugInfo(const QString &text, const QString &colour);
    void windowInfo(const QString &text, const QString &colour);
    void adjStateRcvd();

private:
    DeviceExchange &m_io;
    LinkRecords &m_records;
    bool m_active = false;
};
