#pragma once

#include "FaultPlan.h"
#include "InstrumentModel.h"
#include "RequestReader.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <random>

class LinkClock;

// An answer on its way back, due at the clock's monotonic time `dueMs`.
struct SimAnswer {
    QByteArray bytes;
    qint64 dueMs = 0;
};

// A request as the instrument received it.
struct ReceivedRequest {
    QDateTime at;  // local time
    QByteArray code;
    QByteArray payload;
};

// The simulated instrument behind a serial line: raw bytes in, answers out.
// Requests may arrive split, several at once or after garbage. The model
// moves on with the clock; faults and the line's speed shape the answers.
// Every public member may be called from any thread.
class ProtocolEngine
{
public:
    // The clock must outlive the engine; the second form shares it.
    explicit ProtocolEngine(LinkClock &clock, quint64 seed = 1);
    explicit ProtocolEngine(std::shared_ptr<LinkClock> clock, quint64 seed = 1);

    // Bytes from the line; returns the answers they call for.
    QList<SimAnswer> feed(const QByteArray &bytes);

    // Answers no earlier than a 115200-baud line could carry request and answer.
    void setWireTime(bool on);
    // Answers nothing at all while on.
    void setSilent(bool on);
    bool addFaults(const QString &format, QString *error = nullptr);
    void clearFaults();
    void setRequestObserver(std::function<void(const ReceivedRequest &)> observer);

    // Runs `f` on the model, brought up to the clock's time, under the lock.
    template <typename F>
    auto withModel(F &&f)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        catchUp();
        return f(m_model);
    }

    qint64 requestsReceived() const;
    qint64 answersSent() const;
    qint64 bytesDiscarded() const;

    // Microseconds that `bytes` take on the line: 10 bits each at 115200 baud.
    static qint64 wireMicros(int bytes);
    // "yyyy-MM-ddThh:mm:ss.zzz CODE PAYLOAD-HEX" ("-" for no payload).
    static QString traceLine(const ReceivedRequest &request);

private:
    void catchUp();
    bool answerOne(const QByteArray &frame, qint64 nowMs, SimAnswer *answer);

    std::shared_ptr<LinkClock> m_sharedClock;
    LinkClock &m_clock;
    mutable std::mutex m_mutex;
    InstrumentModel m_model;
    RequestReader m_reader;
    FaultPlan m_faults;
    std::mt19937_64 m_noise;
    std::function<void(const ReceivedRequest &)> m_observer;
    bool m_wireTime = false;
    bool m_silent = false;
    qint64 m_modelMs = 0;     // clock time the model has reached
    qint64 m_lineFreeUs = 0;  // when the line has carried the last answer
    qint64 m_requests = 0;
    qint64 m_answers = 0;
};
