#include "SmoothSteering.h"

#include "DeviceExchange.h"
#include "LinkClock.h"
#include "LinkRecords.h"

#include <cmath>

namespace {
const QString kBlack = QStringLiteral("black");
const QString kRed = QStringLiteral("red");

QString number(double value)
{
    return QString::number(value, 'g', 6);
}
}  // namespace

SmoothSteering::SmoothSteering(DeviceExchange &io, LinkRecords &records, QObject *parent)
    : QObject(parent), m_io(io), m_records(records)
{
}

double SmoothSteering::stepValue(int k, int n, int intervalS, float x0, float y0)
{
    if (n > 1 && (y0 != 0 || x0 != 0)) {
        // Without a phase term the interval does not matter, even when it is 0.
        const double phase = x0 == 0 ? 0.0 : double(x0) * (1.0 - 2.0 * k / (n - 1)) / intervalS;
        const double frequency = double(y0) * ((2.0 * n - 1.0) / 3.0 - k);
        return 6.0 / n / (n + 1) * (phase + frequency);
    }
    if (n == 1)
        return y0;
    return 0;
}

bool SmoothSteering::start(const SmartControlInfo &info)
{
    if (m_active) {
        emit debugInfo(tr("Can't apply steering. Steering is in progress already"), kRed);
        return false;
    }
    m_step = 0;
    m_active = true;
    m_steps = info.numOfControls;
    m_intervalS = info.timeInterval;
    m_target = info.freq_newValue;
    m_phase = info.phase_newValue;
    emit windowInfo(tr("Smooth steering is started"), kBlack);
    return true;
}

qint64 SmoothSteering::elapsedSeconds() const
{
    // Ticks come once per second, a few milliseconds late or early: round.
    return (m_io.clock().monotonicMs() - m_startMs + 500) / 1000;
}

void SmoothSteering::tick()
{
    if (!m_active)
        return;
    if (m_step > 0 && elapsedSeconds() < qint64(m_step) * m_intervalS)
        return;

    const float current = m_records.adjState.get().freqOffset;
    if (m_step == 0) {
        m_startMs = m_io.clock().monotonicMs();
        m_x0 = -float(m_phase);
        m_y0 = float(double(current) - m_target);
    }
    if (m_step < m_steps) {
        const float u = float(stepValue(m_step, m_steps, m_intervalS, m_x0, m_y0));
        const double next = double(current) - double(u);
        // A value that is not a number must never reach the instrument either.
        if (!std::isfinite(next) || std::fabs(next) >= OffsetLimit) {
            emit debugInfo(tr("Wrong fdaq"), kRed);
            return;
        }
        float applied = 0;
        if (!writeOffset(float(next), &applied))
            return;
        ++m_step;
        m_records.adjState.update([applied](ADJ_STATE &s) { s.freqOffset = applied; });
        emit adjStateRcvd();
    }
    if (m_step >= m_steps) {
        stop();
        emit windowInfo(tr("Smooth steering is finished"), kBlack);
    }
}

bool SmoothSteering::writeOffset(float offset, float *applied)
{
    const CommandFormat &format = CommandTable::format(Request::FreqOffset);
    QByteArray payload;
    Frame::appendF32(payload, offset);
    const QByteArray frame = Frame::request(Request::FreqOffset, payload);
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
        // Whatever an earlier exchange left behind must not precede the answer.
        m_io.drain();
        QByteArray answer;
        const Frame::Result result = m_io.transactFrame(format, frame, &answer);
        if (result == Frame::Result::Accepted) {
            const float value = Frame::f32(answer, 8);
            if (std::fabs(double(offset) - double(value)) < ConfirmTolerance) {
                emit debugInfo(tr("offset is ") + number(value), kBlack);
                *applied = value;
                return true;
            }
            emit debugInfo(tr("wrong offset ") + number(value), kRed);
        } else if (result == Frame::Result::Timeout) {
            // Too short to be an answer: drop it so the next attempt starts clean.
            m_io.drain();
        } else {
            emit debugInfo(tr("wrong checksum"), kRed);
        }
        emit debugInfo(tr("Failed in attemp # ") + QString::number(attempt), kRed);
    }
    return false;
}

void SmoothSteering::stop()
{
    m_startMs = m_io.clock().monotonicMs();
    m_active = false;
    m_step = 0;
}

void SmoothSteering::abort()
{
    // The tab's Cancel also aborts; with nothing running there is nothing to say.
    if (!m_active)
        return;
    stop();
    emit windowInfo(tr("Smooth steering is aborted by the user"), kBlack);
}

void SmoothSteering::endWithoutInstrument()
{
    if (!m_active)
        return;
    stop();
    emit windowInfo(tr("Smooth steering is stopped: the instrument is not connected"), kRed);
}
