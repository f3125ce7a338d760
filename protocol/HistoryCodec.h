#pragma once

#include "JsonReader.h"

#include "history/HistoryLoader.h"

#include <QJsonObject>

// The History window's requests and the service's answers as JSON and back.
// Series travel as columns (one list per field), which keeps a view of ten
// series of 4000 buckets to about 2 MB; every float and double comes back
// bit for bit, every list and number is bounded.
namespace HistoryCodec {

constexpr int MaxBuckets = 4000;         // a view's width in buckets
constexpr int MaxColumn = 100000;        // elements of one list in an answer
constexpr int MaxMarkerText = 4096;
constexpr int MaxChunkBytes = 256 * 1024;  // of one piece of an export

QJsonObject toJson(TimeRange range);
QJsonObject toJson(const ViewRequest &request);
QJsonObject toJson(const HistoryView &view);
QJsonObject toJson(const StabilityRequest &request);
QJsonObject toJson(const StabilityResult &result);  // without the analysed readings themselves
QJsonObject toJson(const ExportChunk &chunk);

// Each reads the reader's object whole (finish() included).
bool fromJson(JsonReader r, TimeRange *out);
bool fromJson(JsonReader r, ViewRequest *out);
bool fromJson(JsonReader r, HistoryView *out);
bool fromJson(JsonReader r, StabilityRequest *out);
bool fromJson(JsonReader r, StabilityResult *out);
bool fromJson(JsonReader r, ExportChunk *out);

}  // namespace HistoryCodec
