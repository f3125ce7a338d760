#pragma once

#include "JsonReader.h"
#include "ViewValues.h"

#include <QJsonObject>

// The view's values as JSON and back, each text bounded.
namespace ViewCodec {

constexpr int MaxLineLength = 4096;
constexpr int MaxNameLength = 256;  // ports, titles, channels, the service's name
constexpr int MaxInfoLength = 64;   // each text of the device information
constexpr int MaxColourLength = 20;
constexpr int Channels = 4;

QJsonObject toJson(const ServiceLine &l);
QJsonObject toJson(const LinkView &s);
QJsonObject toJson(const WorkProgress &p);
QJsonObject toJson(const DeviceInfo &d);
QJsonObject toJson(const ServiceSnapshot &s);

bool fromJson(JsonReader r, ServiceLine *out);
bool fromJson(JsonReader r, LinkView *out);
bool fromJson(JsonReader r, WorkProgress *out);
bool fromJson(JsonReader r, DeviceInfo *out);
bool fromJson(JsonReader r, ServiceSnapshot *out);
// The service's four channel names, as `names` in a snapshot and a message.
void putChannelNames(QJsonObject &o, const QStringList &names);
bool takeChannelNames(JsonReader &r, QStringList *out);

}  // namespace ViewCodec
