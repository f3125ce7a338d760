#include "ProtocolEngine.h"

#include "InstrumentAnswers.h"

#include "link/CommandTable.h"
#include "link/LinkClock.h"

#include <algorithm>

ProtocolEngine::ProtocolEngine(LinkClock &clock, quint64 seed)
    : m_clock(clock),
      m_model(seed, clock.now()),
      m_noise(seed ^ 0x9E3779B97F4A7C15ull),
      m_modelMs(clock.monotonicMs())
{
}

ProtocolEngine::ProtocolEngine(std::shared_ptr<LinkClock> clock, quint64 seed)
    : ProtocolEngine(*clock, seed)
{
    m_sharedClock = std::move(clock);
}

void ProtocolEngine::catchUp()
{
    const qint64 now = m_clock.monotonicMs();
    if (now > m_modelMs) {
        m_model.advance(now - m_modelMs);
        m_modelMs = now;
    }
}

QList<SimAnswer> ProtocolEngine::feed(const QByteArray &bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    catchUp();
    const qint64 now = m_clock.monotonicMs();
    QList<SimAnswer> answers;
    const QList<QByteArray> frames = m_reader.feed(bytes, now);
    for (const QByteArray &frame : frames) {
        SimAnswer answer;
        if (answerOne(frame, now, &answer))
            answers.append(answer);
    }
    return answers;
}

bool ProtocolEngine::answerOne(const QByteArray &frame, qint64 nowMs, SimAnswer *answer)
{
    const QByteArray code = frame.mid(1, 3);
    const CommandFormat &format = *CommandTable::find(code.constData());
    ++m_requests;
    if (m_observer)
        m_observer({m_clock.now(), code, frame.mid(4, format.payloadSize)});

    const FaultPlan::Outcome fault = m_faults.take(code);
    if (m_silent || fault.silent)
        return false;

    QByteArray bytes = InstrumentAnswers::reply(m_model, format, frame, fault.confirmOther);
    for (const FaultRule &rule : fault.corruptions)
        bytes = FaultPlan::corrupt(bytes, rule, format, m_noise);

    qint64 due = nowMs;
    if (m_wireTime) {
        // The request crosses the line first, then the answer, one at a time.
        const qint64 start = std::max(nowMs * 1000 + wireMicros(frame.size()), m_lineFreeUs);
        m_lineFreeUs = start + wireMicros(bytes.size());
        due = (m_lineFreeUs + 999) / 1000;
    }
    answer->bytes = bytes;
    answer->dueMs = due + fault.lateMs;
    ++m_answers;
    return true;
}

void ProtocolEngine::setWireTime(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wireTime = on;
}

void ProtocolEngine::setSilent(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_silent = on;
}

bool ProtocolEngine::addFaults(const QString &format, QString *error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_faults.add(format, error);
}

void ProtocolEngine::clearFaults()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults.clear();
}

void ProtocolEngine::setRequestObserver(std::function<void(const ReceivedRequest &)> observer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observer = std::move(observer);
}

qint64 ProtocolEngine::requestsReceived() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

qint64 ProtocolEngine::answersSent() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_answers;
}

qint64 ProtocolEngine::bytesDiscarded() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reader.discarded();
}

qint64 ProtocolEngine::wireMicros(int bytes)
{
    return (qint64(bytes) * 10 * 1000000 + 115199) / 115200;
}

QString ProtocolEngine::traceLine(const ReceivedRequest &request)
{
    const QByteArray hex = request.payload.isEmpty() ? QByteArray("-") : request.payload.toHex();
    return request.at.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz")) + QLatin1Char(' ')
           + QString::fromLatin1(request.code) + QLatin1Char(' ') + QString::fromLatin1(hex);
}
