#include "ProtocolMessage.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace {

bool isTypeName(const QString &t)
{
    if (t.isEmpty() || t.size() > Protocol::MaxTypeLength)
        return false;
    for (QChar c : t) {
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    }
    return true;
}

}  // namespace

bool ProtocolMessage::parse(const QByteArray &bytes, int maxBytes, ProtocolMessage *out, QString *why)
{
    const auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (bytes.size() > maxBytes)
        return refuse(tr("the message is larger than %1 bytes").arg(maxBytes));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return refuse(tr("the message is no JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!doc.isObject())
        return refuse(tr("the message is no JSON object"));
    const QJsonObject object = doc.object();
    const QJsonValue type = object.value(QStringLiteral("type"));
    if (!type.isString() || !isTypeName(type.toString()))
        return refuse(tr("the message has no \"type\" of up to %1 letters").arg(Protocol::MaxTypeLength));
    out->type = type.toString();
    out->object = object;
    return true;
}

QByteArray ProtocolMessage::encode(const QString &type, QJsonObject fields)
{
    fields.insert(QStringLiteral("type"), type);
    return QJsonDocument(fields).toJson(QJsonDocument::Compact);
}

JsonReader ProtocolMessage::reader() const
{
    QJsonObject fields = object;
    fields.remove(QStringLiteral("type"));
    return JsonReader(fields);
}
