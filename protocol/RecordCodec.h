#pragma once

#include <cstring>

#include "JsonReader.h"

#include "link/CommandParameters.h"
#include "link/JournalRecord.h"
#include "link/LinkFeed.h"
#include "link/Records.h"

#include <QJsonObject>

// The link's records and readings as JSON objects with the fields' own
// names, and back. Every value comes back bit for bit; a decoder refuses a
// missing, surplus or out-of-range field through the reader, which says which.
namespace RecordCodec {

// Records a journal reading may carry: the instrument counts them in 16 bits.
constexpr int MaxJournalRecords = 65535;

QJsonObject toJson(const DETECT &d);
QJsonObject toJson(const ADJ_CMD_STATE &s);
QJsonObject toJson(const ADJ_STATE &s);
QJsonObject toJson(const VAR_STRUCT &v);
QJsonObject toJson(const PPS_DELAY &p);
QJsonObject toJson(const PollReading &r);
QJsonObject toJson(const LinkCounters &c);
QJsonObject toJson(const JournalRecord &r);
QJsonObject toJson(const JournalReading &r);
QJsonObject toJson(const LinkResults &r);

// Each reads the reader's object whole (finish() included).
bool fromJson(JsonReader r, DETECT *out);
bool fromJson(JsonReader r, ADJ_CMD_STATE *out);
bool fromJson(JsonReader r, ADJ_STATE *out);
bool fromJson(JsonReader r, VAR_STRUCT *out);
bool fromJson(JsonReader r, PPS_DELAY *out);
bool fromJson(JsonReader r, PollReading *out);
bool fromJson(JsonReader r, LinkCounters *out);
bool fromJson(JsonReader r, JournalRecord *out);
bool fromJson(JsonReader r, JournalReading *out);
bool fromJson(JsonReader r, LinkResults *out);

// "2026-01-07T15:45:00.000Z", or null for an invalid time.
QJsonValue time(const QDateTime &t);

// Records are packed, so their arrays may sit at any address: they are
// copied out, never bound to a reference.
template <typename T, int N>
QJsonArray array(const T (*values)[N])
{
    T copy[N];
    std::memcpy(copy, values, sizeof copy);
    QJsonArray a;
    for (const T &v : copy) {
        if constexpr (std::is_same<T, float>::value)
            a.append(JsonNumber::fromFloat(v));
        else if constexpr (std::is_same<T, double>::value)
            a.append(JsonNumber::fromDouble(v));
        else if constexpr (std::is_same<T, bool>::value)
            a.append(v);
        else
            a.append(double(v));
    }
    return a;
}

}  // namespace RecordCodec
