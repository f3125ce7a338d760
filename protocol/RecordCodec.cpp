#include "RecordCodec.h"

namespace {

const char *const kRecordNames[] = {"detect", "cmdState", "adjState", "varState"};

}  // namespace

namespace RecordCodec {

QJsonValue time(const QDateTime &t)
{
    if (!t.isValid())
        return QJsonValue::Null;
    return t.toUTC().toString(Qt::ISODateWithMs);
}

// --- status records ---------------------------------------------------------

QJsonObject toJson(const DETECT &d)
{
    return {{"chan", array(&d.chan)}};
}

bool fromJson(JsonReader r, DETECT *out)
{
    r.array("chan", &out->chan);
    return r.finish();
}

QJsonObject toJson(const ADJ_CMD_STATE &s)
{
    return {{"syncStatus", s.syncStatus},
            {"qualState", array(&s.qualState)},
            {"chanWord", array(&s.chanWord)},
            {"qualTimeLeft", array(&s.qualTimeLeft)},
            {"estimationTimeLeft", s.estimationTimeLeft},
            {"reserved", array(&s.reserved)},
            {"flags", s.flags}};
}

bool fromJson(JsonReader r, ADJ_CMD_STATE *out)
{
    r.integer("syncStatus", &out->syncStatus);
    r.array("qualState", &out->qualState);
    r.array("chanWord", &out->chanWord);
    r.array("qualTimeLeft", &out->qualTimeLeft);
    r.integer("estimationTimeLeft", &out->estimationTimeLeft);
    r.array("reserved", &out->reserved);
    r.integer("flags", &out->flags);
    return r.finish();
}

QJsonObject toJson(const ADJ_STATE &s)
{
    return {{"freqOffset", JsonNumber::fromFloat(s.freqOffset)},
            {"freqDrift", JsonNumber::fromFloat(s.freqDrift)},
            {"coeff", array(&s.coeff)},
            {"reserved1", array(&s.reserved1)},
            {"chanOffset", array(&s.chanOffset)},
            {"reserved2", array(&s.reserved2)}};
}

bool fromJson(JsonReader r, ADJ_STATE *out)
{
    r.number("freqOffset", &out->freqOffset);
    r.number("freqDrift", &out->freqDrift);
    r.array("coeff", &out->coeff);
    r.array("reserved1", &out->reserved1);
    r.array("chanOffset", &out->chanOffset);
    r.array("reserved2", &out->reserved2);
    return r.finish();
}

QJsonObject toJson(const VAR_STRUCT &v)
{
    return {{"value", array(&v.value)}};
}

bool fromJson(JsonReader r, VAR_STRUCT *out)
{
    r.array("value", &out->value);
    return r.finish();
}

QJsonObject toJson(const PPS_DELAY &p)
{
    return {{"delay", double(p.delay)}, {"status", p.status}, {"external", p.external}};
}

bool fromJson(JsonReader r, PPS_DELAY *out)
{
    r.integer("delay", &out->delay);
    r.integer("status", &out->status);
    r.integer("external", &out->external);
    return r.finish();
}

// --- the link's feed ----------------------------------------------------------

QJsonObject toJson(const PollReading &p)
{
    QJsonObject o{{"record", QLatin1String(kRecordNames[p.record])}, {"utc", time(p.utc)}};
    switch (p.record) {
    case PollReading::Detect:
        o.insert(QStringLiteral("value"), toJson(p.detect));
        break;
    case PollReading::CmdState:
        o.insert(QStringLiteral("value"), toJson(p.cmdState));
        break;
    case PollReading::AdjState:
        o.insert(QStringLiteral("value"), toJson(p.adjState));
        break;
    case PollReading::VarStruct:
        o.insert(QStringLiteral("value"), toJson(p.varState));
        break;
    }
    return o;
}

bool fromJson(JsonReader r, PollReading *out)
{
    QString name;
    r.text("record", 16, &name);
    r.dateTime("utc", Qt::UTC, &out->utc);
    int index = 0;
    while (index < 4 && name != QLatin1String(kRecordNames[index]))
        ++index;
    if (index == 4)  // also when "record" itself was missing or bad
        return r.fail("record", JsonReader::tr("not one of detect, cmdState, adjState, varState"));
    out->record = PollReading::Record(index);
    switch (out->record) {
    case PollReading::Detect:
        fromJson(r.object("value"), &out->detect);
        break;
    case PollReading::CmdState:
        fromJson(r.object("value"), &out->cmdState);
        break;
    case PollReading::AdjState:
        fromJson(r.object("value"), &out->adjState);
        break;
    case PollReading::VarStruct:
        fromJson(r.object("value"), &out->varState);
        break;
    }
    return r.finish();
}

QJsonObject toJson(const LinkCounters &c)
{
    return {{"polls", JsonNumber::fromUInt64(c.polls)},
            {"pollTimeouts", JsonNumber::fromUInt64(c.pollTimeouts)},
            {"rejectedAnswers", JsonNumber::fromUInt64(c.rejectedAnswers)},
            {"connections", JsonNumber::fromUInt64(c.connections)}};
}

bool fromJson(JsonReader r, LinkCounters *out)
{
    r.integer("polls", &out->polls);
    r.integer("pollTimeouts", &out->pollTimeouts);
    r.integer("rejectedAnswers", &out->rejectedAnswers);
    r.integer("connections", &out->connections);
    return r.finish();
}

QJsonObject toJson(const JournalRecord &j)
{
    return {{"reserved", j.reserved},   {"number", j.number},     {"offset", JsonNumber::fromFloat(j.offset)},
            {"rfd", array(&j.rfd)},      {"dac2", j.dac2},         {"dac1", j.dac1},
            {"channels", j.channels},   {"event", j.event},       {"day", j.day},
            {"month", j.month},         {"year", j.year},         {"second", j.second},
            {"minute", j.minute},       {"hour", j.hour},         {"trend", JsonNumber::fromFloat(j.trend)}};
}

bool fromJson(JsonReader r, JournalRecord *out)
{
    r.integer("reserved", &out->reserved);
    r.integer("number", &out->number);
    r.number("offset", &out->offset);
    r.array("rfd", &out->rfd);
    r.integer("dac2", &out->dac2);
    r.integer("dac1", &out->dac1);
    r.integer("channels", &out->channels);
    r.integer("event", &out->event);
    r.integer("day", &out->day);
    r.integer("month", &out->month);
    r.integer("year", &out->year);
    r.integer("second", &out->second);
    r.integer("minute", &out->minute);
    r.integer("hour", &out->hour);
    r.number("trend", &out->trend);
    return r.finish();
}

QJsonObject toJson(const JournalReading &j)
{
    QJsonArray records;
    for (const JournalRecord &rec : j.records.mid(0, MaxJournalRecords))
        records.append(toJson(rec));
    return {{"outcome", int(j.outcome)}, {"utc", time(j.utc)}, {"expected", j.expected}, {"records", records}};
}

bool fromJson(JsonReader r, JournalReading *out)
{
    int outcome = 0;
    r.integer("outcome", &outcome, 0, JournalReading::OutcomeCount - 1);
    out->outcome = JournalReading::Outcome(outcome);
    r.dateTime("utc", Qt::UTC, &out->utc);
    r.integer("expected", &out->expected, 0, MaxJournalRecords);
    const QJsonArray records = r.arrayOf("records", 0, MaxJournalRecords);
    out->records.clear();
    for (int i = 0; r.ok() && i < records.size(); ++i) {
        JournalRecord rec;
        if (fromJson(r.objectAt(records, "records", i), &rec))
            out->records.append(rec);
    }
    return r.finish();
}

QJsonObject toJson(const LinkResults &l)
{
    return {{"aveEnabled", l.aveEnabled},
            {"aveEnabledReadings", JsonNumber::fromUInt64(l.aveEnabledReadings)},
            {"aveValues", array(&l.aveValues)},
            {"currentLimit", JsonNumber::fromFloat(l.currentLimit)},
            {"timeDifference", l.timeDifference},
            {"dateDifference", l.dateDifference},
            {"lastTimeUpdate", time(l.lastTimeUpdate)},
            {"pps", toJson(l.pps)}};
}

bool fromJson(JsonReader r, LinkResults *out)
{
    r.boolean("aveEnabled", &out->aveEnabled);
    r.integer("aveEnabledReadings", &out->aveEnabledReadings);
    r.array("aveValues", &out->aveValues);
    r.number("currentLimit", &out->currentLimit);
    r.integer("timeDifference", &out->timeDifference);
    r.integer("dateDifference", &out->dateDifference);
    r.dateTime("lastTimeUpdate", Qt::LocalTime, &out->lastTimeUpdate);
    fromJson(r.object("pps"), &out->pps);
    return r.finish();
}

}  // namespace RecordCodec
