#pragma once

#include "JsonReader.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

// One message of the service protocol: a JSON object whose "type" names it.
// docs/protocol.md lists them all.
namespace Protocol {

// Raised with every change a peer of the previous version would misread.
constexpr int Version = 2;
// Bytes of one message to the service: commands and logins are short.
constexpr int MaxClientMessage = 16 * 1024;
// Bytes of one message to a window: the snapshot with 500 log lines.
constexpr int MaxServiceMessage = 4 * 1024 * 1024;
constexpr int MaxTypeLength = 32;

}  // namespace Protocol

class ProtocolMessage
{
    Q_DECLARE_TR_FUNCTIONS(ProtocolMessage)

public:
    QString type;
    QJsonObject object;  // the whole message, "type" included

    // One message of at most `maxBytes`; false with the reason otherwise.
    static bool parse(const QByteArray &bytes, int maxBytes, ProtocolMessage *out, QString *why);
    // Compact JSON without a line break.
    static QByteArray encode(const QString &type, QJsonObject fields = QJsonObject());

    // The fields besides "type", for a decoder that refuses surplus ones.
    JsonReader reader() const;
};
