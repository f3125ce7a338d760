#include "FakeInstrument.h"

#include "link/Frame.h"
#include "link/Records.h"

namespace {

QByteArray defaultDetect()
{
    DETECT d;
    d.chan[0] = 0x0001;
    d.chan[1] = 0x0001;
    return d.toPayload();
}

bool isPoll(const QByteArray &code3)
{
    return code3 == "P10" || code3 == "PC0" || code3 == "PA0" || code3 == "PV0";
}

}  // namespace

FakeInstrument::FakeInstrument(const QByteArray &identification)
    : m_state(std::make_shared<State>())
{
    m_state->identification = identification;
    m_state->payloads.insert("P10", defaultDetect());
    QByteArray dac;
    Frame::appendU16(dac, 1234);
    Frame::appendU16(dac, 567);
    m_state->payloads.insert("PD0", dac);
}

FakeDevice FakeInstrument::device() const
{
    std::shared_ptr<State> state = m_state;
    return [state](const QByteArray &request) { return reply(*state, request); };
}

FakeReply FakeInstrument::reply(State &state, const QByteArray &request)
{
    const QByteArray code3 = request.mid(1, 3);
    std::function<void(const QByteArray &)> hook;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        hook = state.hook;
    }
    if (hook)
        hook(code3);

    std::lock_guard<std::mutex> lock(state.mutex);
    const CommandFormat *format = CommandTable::find(code3.constData());
    if (!format)
        return {};
    Answer how = state.others;
    QByteArray payload = state.payloads.value(code3);
    if (code3 == "FN0") {
        how = state.ident;
        payload = state.identification.leftJustified(16, '\0', true);
    } else if (isPoll(code3)) {
        how = state.polls;
    }
    if (how == Answer::Silent)
        return {};
    return {spoil(answer(code3, payload), how), state.delayMs};
}

QByteArray FakeInstrument::answer(const QByteArray &code3, const QByteArray &payload)
{
    const CommandFormat *format = CommandTable::find(code3.constData());
    return format ? Frame::answer(*format, code3, payload) : QByteArray();
}

QByteArray FakeInstrument::spoil(QByteArray frame, Answer how)
{
    if (how == Answer::NoStartByte)
        frame[0] = 0x02;
    else if (how == Answer::WrongChecksum)
        frame[frame.size() - 3] = char(frame.at(frame.size() - 3) ^ 0x5A);
    return frame;
}

void FakeInstrument::setIdentAnswer(Answer a)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->ident = a;
}

void FakeInstrument::setPollAnswer(Answer a)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->polls = a;
}

void FakeInstrument::setOtherAnswer(Answer a)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->others = a;
}

void FakeInstrument::setAllAnswers(Answer a)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->ident = m_state->polls = m_state->others = a;
}

void FakeInstrument::setIdentification(const QByteArray &text)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->identification = text;
}

void FakeInstrument::setAnswerDelayMs(int ms)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->delayMs = ms;
}

void FakeInstrument::setPayload(const QByteArray &code3, const QByteArray &payload)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->payloads.insert(code3, payload);
}

void FakeInstrument::setOnRequest(std::function<void(const QByteArray &)> hook)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->hook = std::move(hook);
}
