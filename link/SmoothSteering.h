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

    // The instrument takes no offset of this size or more.
    static constexpr double OffsetLimit = 1e-8;
    // A read-back value closer than this to the written one confirms it.
    static constexpr double ConfirmTolerance = 2e-16;
    static constexpr int MaxAttempts = 5;

    // Code 5; false when a steering is already running.
    bool start(const SmartControlInfo &info);
    void tick();                               // once per second while connected
    void abort();                              // link thread only
    // The link has no instrument (it searches again, or the operator stopped
    // connecting): the plan's timing is lost, and a search may find another
    // instrument, so the steering ends here.
    void endWithoutInstrument();
    bool isActive() const { return m_active; }

signals:
    void debugInfo(const QString &text, const QString &colour);
    void windowInfo(const QString &text, const QString &colour);
    void adjStateRcvd();

private:
    // Writes the offset with up to MaxAttempts tries; true with the value the
    // device applied.
    bool writeOffset(float offset, float *applied);
    void stop();
    qint64 elapsedSeconds() const;

    DeviceExchange &m_io;
    LinkRecords &m_records;
    bool m_active = false;
    int m_step = 0;        // k
    int m_steps = 0;       // N
    int m_intervalS = 0;   // T
    double m_target = 0;
    double m_phase = 0;
    float m_x0 = 0;
    float m_y0 = 0;
    qint64 m_startMs = 0;  // monotonic, at the first step
};
