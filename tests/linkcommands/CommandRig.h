#pragma once

#include "link/DeviceExchange.h"
#include "link/LinkRecords.h"
#include "tests/support/FakePort.h"
#include "tests/support/VirtualClock.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

// A fake instrument on one open fake port, in virtual time. Every request
// gets a well-formed answer with a zero payload unless a test says otherwise.
class CommandRig
{
public:
    using Handler = std::function<FakeReply(const QByteArray &request)>;

    CommandRig();

    // How the instrument answers requests with this three-character code.
    void on(const QByteArray &code3, Handler handler);
    void answer(const QByteArray &code3, const QByteArray &payload, int delayMs = 5);
    void answerAs(const QByteArray &code3, const QByteArray &answerCode3, const QByteArray &payload);
    void silence(const QByteArray &code3);

    // A well-formed answer to `code3` (the echo may differ, e.g. a status digit).
    static QByteArray goodAnswer(const QByteArray &code3, const QByteArray &payload,
                                 const QByteArray &echo = QByteArray());

    // Every frame written, and the payloads of those with this code.
    QList<QByteArray> frames() const;
    QStringList codes() const { return line->codes(); }
    QList<QByteArray> payloads(const QByteArray &code3) const;

    // Collects "colour: text" for every debugInfo and windowInfo of `source`.
    template <typename Source>
    void listen(Source *source)
    {
        const auto collect = [this](const QString &text, const QString &colour) {
            lines.append(colour + QStringLiteral(": ") + text);
        };
        QObject::connect(source, &Source::debugInfo, collect);
        QObject::connect(source, &Source::windowInfo, collect);
    }
    QStringList lines;

    VirtualClock clock;
    std::shared_ptr<FakeLine> line;
    std::unique_ptr<SerialPort> port;
    DeviceExchange io{clock};
    LinkRecords records;

private:
    FakeReply reply(const QByteArray &request);

    QHash<QByteArray, Handler> m_handlers;
};
