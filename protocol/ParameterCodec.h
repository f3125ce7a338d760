#pragma once

#include "JsonReader.h"

#include "link/CommandParameters.h"

#include <QJsonObject>

// The command parameter block as JSON. Whole, as the service shows it to a
// new window; or only the fields one command reads, as a window submits it.
// A submitted block is laid over the service's own block, so the fields the
// service keeps (what the instrument reported, the journal folder) are never
// a client's.
namespace ParameterCodec {

constexpr int MaxFolderLength = 4096;

QJsonObject toJson(const CommandParameters &p);
bool fromJson(JsonReader r, CommandParameters *out);

// The fields command `code` reads; empty for a command without parameters.
QJsonObject requestToJson(int code, const CommandParameters &p);
// Lays the fields of `code` from `request` over `out` (which holds the
// service's block). Any other field in `request` is refused.
bool requestFromJson(int code, JsonReader r, CommandParameters *out);

}  // namespace ParameterCodec
