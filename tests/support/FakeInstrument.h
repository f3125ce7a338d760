#pragma once

#include "FakePort.h"
#include "link/CommandTable.h"

#include <QByteArray>
#include <QHash>

#include <functional>
#include <memory>
#include <mutex>

// A KSR-583 behind a FakeLine port, answering with canned, well-formed frames
// that a test can spoil or silence while the link runs. Thread-safe: the
// link thread asks, the test thread changes the behaviour.
class FakeInstrument
{
public:
    enum class Answer { Good, Silent, WrongChecksum, NoStartByte };

    // `identification` goes into the 16-byte FN0 text field, zero-padded.
    explicit FakeInstrument(const QByteArray &identification = "KSR-583 #0042");

    // The function to attach to a FakeLine port.
    FakeDevice device() const;

    // How the instrument answers: identification, the four status polls, and
    // every other request.
    void setIdentAnswer(Answer a);
    void setPollAnswer(Answer a);
    void setOtherAnswer(Answer a);
    void setAllAnswers(Answer a);
    void setIdentification(const QByteArray &text);
    void setAnswerDelayMs(int ms);
    // The payload answered to one request code, e.g. "7N0" or "P30".
    void setPayload(const QByteArray &code3, const QByteArray &payload);
    // Called on the link thread with each request's code before it is answered.
    void setOnRequest(std::function<void(const QByteArray &code3)> hook);

    // A well-formed answer to `code3` with `payload`, as the instrument sends it.
    static QByteArray answer(const QByteArray &code3, const QByteArray &payload);
    static QByteArray spoil(QByteArray frame, Answer how);

private:
    struct State {
        std::mutex mutex;
        QByteArray identification;
        Answer ident = Answer::Good;
        Answer polls = Answer::Good;
        Answer others = Answer::Good;
        int delayMs = 5;
        QHash<QByteArray, QByteArray> payloads;
        std::function<void(const QByteArray &)> hook;
    };
    static FakeReply reply(State &state, const QByteArray &request);

    std::shared_ptr<State> m_state;
};
