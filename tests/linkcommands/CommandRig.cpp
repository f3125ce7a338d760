#include "CommandRig.h"

#include "link/CommandTable.h"
#include "link/Frame.h"

namespace {
const QString kPort = QStringLiteral("COM5");
}

CommandRig::CommandRig() : line(std::make_shared<FakeLine>(clock))
{
    FakePortFactory factory(line);
    port = factory.createPort();
    port->setPortName(kPort);
    port->open();
    io.setPort(port.get());
    line->attach(kPort, [this](const QByteArray &request) { return reply(request); });
}

QByteArray CommandRig::goodAnswer(const QByteArray &code3, const QByteArray &payload,
                                  const QByteArray &echo)
{
    const CommandFormat *format = CommandTable::find(code3.constData());
    return format ? Frame::answer(*format, echo.isEmpty() ? code3 : echo, payload) : QByteArray();
}

FakeReply CommandRig::reply(const QByteArray &request)
{
    const QByteArray code3 = request.mid(1, 3);
    const auto handler = m_handlers.constFind(code3);
    if (handler != m_handlers.constEnd())
        return (*handler)(request);
    return {goodAnswer(code3, QByteArray()), 5};
}

void CommandRig::on(const QByteArray &code3, Handler handler)
{
    m_handlers.insert(code3, std::move(handler));
}

void CommandRig::answer(const QByteArray &code3, const QByteArray &payload, int delayMs)
{
    const QByteArray bytes = goodAnswer(code3, payload);
    on(code3, [bytes, delayMs](const QByteArray &) { return FakeReply{bytes, delayMs}; });
}

void CommandRig::answerAs(const QByteArray &code3, const QByteArray &answerCode3,
                          const QByteArray &payload)
{
    const QByteArray bytes = goodAnswer(code3, payload, answerCode3);
    on(code3, [bytes](const QByteArray &) { return FakeReply{bytes, 5}; });
}

void CommandRig::silence(const QByteArray &code3)
{
    on(code3, [](const QByteArray &) { return FakeReply{}; });
}

QList<QByteArray> CommandRig::frames() const
{
    QList<QByteArray> out;
    const QList<FakeWrite> writes = line->writes();
    for (const FakeWrite &w : writes)
        out.append(w.frame);
    return out;
}

QList<QByteArray> CommandRig::payloads(const QByteArray &code3) const
{
    QList<QByteArray> out;
    const QList<QByteArray> all = frames();
    for (const QByteArray &f : all) {
        if (f.mid(1, 3) == code3)
            out.append(f.mid(4, f.size() - 8));
    }
    return out;
}
