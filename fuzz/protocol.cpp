// A message from a hostile client or a broken service, as one line.

#include "fuzz/Require.h"
#include "link/CommandRules.h"
#include "protocol/LineFramer.h"
#include "protocol/ParameterCodec.h"
#include "protocol/ProtocolMessage.h"
#include "protocol/RecordCodec.h"
#include "protocol/ViewCodec.h"

#include <QJsonDocument>

#include <cstdint>

namespace {

// What decodes must encode to itself again: nothing is lost or made up.
template <typename T, typename Encode, typename Decode>
void roundTrip(const QJsonObject &o, Encode encode, Decode decode)
{
    T value;
    if (!decode(JsonReader(o), &value))
        return;
    const QJsonObject again = encode(value);
    T back;
    require(decode(JsonReader(again), &back), "a decoded value does not decode again");
    require(QJsonDocument(encode(back)) == QJsonDocument(again), "a value changed on its way back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    LineFramer framer(Protocol::MaxClientMessage);
    for (const QByteArray &line : framer.feed(bytes)) {
        require(line.size() <= Protocol::MaxClientMessage && !line.contains('\n'), "a line past its bound");
        ProtocolMessage m;
        QString why;
        if (!ProtocolMessage::parse(line, Protocol::MaxClientMessage, &m, &why)) {
            require(!why.isEmpty(), "a refusal without a reason");
            continue;
        }
        const QJsonObject o = m.object;
        roundTrip<ServiceSnapshot>(o, [](const ServiceSnapshot &s) { return ViewCodec::toJson(s); },
                                   [](JsonReader r, ServiceSnapshot *s) { return ViewCodec::fromJson(r, s); });
        roundTrip<PollReading>(o, [](const PollReading &p) { return RecordCodec::toJson(p); },
                               [](JsonReader r, PollReading *p) { return RecordCodec::fromJson(r, p); });
        roundTrip<JournalReading>(o, [](const JournalReading &j) { return RecordCodec::toJson(j); },
                                  [](JsonReader r, JournalReading *j) { return RecordCodec::fromJson(r, j); });
        // A command as the service reads it: its code picks the fields.
        const int code = o.value("code").toInt() & 31;
        CommandParameters p;
        JsonReader r(o.value("params").toObject());
        if (ParameterCodec::requestFromJson(code, r, &p)) {
            const CommandRules::Verdict v = CommandRules::check(code, p, QDateTime(QDate(2026, 1, 7), QTime(15, 45)));
            require(v.ok || !v.reason.isEmpty(), "a command refused without a reason");
        } else {
            require(!r.error().isEmpty(), "a request refused without a reason");
        }
    }
    return 0;
}
