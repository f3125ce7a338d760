#include "ViewCodec.h"

#include "ParameterCodec.h"
#include "RecordCodec.h"

namespace {

// The seven texts of the device information, in the order of setDeviceInfo.
struct InfoField {
    const char *key;
    QString DeviceInfo::*text;
};
const InfoField kInfo[] = {
    {"softwareVersNumber", &DeviceInfo::softwareVersNumber},
    {"softwareVersDate", &DeviceInfo::softwareVersDate},
    {"serialNumber", &DeviceInfo::serialNumber},
    {"comparatorVers", &DeviceInfo::comparatorVers},
    {"outherComparatorVers", &DeviceInfo::outherComparatorVers},
    {"PLIS_CPUvers", &DeviceInfo::PLIS_CPUvers},
    {"OSFvers", &DeviceInfo::OSFvers},
};

bool isColourName(const QString &c)
{
    if (c.isEmpty())
        return false;
    for (QChar ch : c) {
        if (ch < QLatin1Char('a') || ch > QLatin1Char('z'))
            return false;
    }
    return true;
}

template <typename T>
void putRecord(QJsonObject &o, const char *key, const std::optional<T> &record)
{
    if (record)
        o.insert(QLatin1String(key), RecordCodec::toJson(*record));
}

template <typename T>
void takeRecord(JsonReader &r, const char *key, std::optional<T> *out)
{
    out->reset();
    if (!r.has(key))
        return;
    T value;
    if (RecordCodec::fromJson(r.object(key), &value))
        *out = value;
}

}  // namespace

namespace ViewCodec {

QJsonObject toJson(const ServiceLine &l)
{
    return {{"time", RecordCodec::time(l.time)}, {"text", l.text}, {"colour", l.colour}};
}

bool fromJson(JsonReader r, ServiceLine *out)
{
    r.dateTime("time", Qt::LocalTime, &out->time);
    r.text("text", MaxLineLength, &out->text, true);
    r.text("colour", MaxColourLength, &out->colour);
    if (r.ok() && !isColourName(out->colour))
        r.fail("colour", JsonReader::tr("not a colour name of lower-case letters"));
    return r.finish();
}

QJsonObject toJson(const LinkView &s)
{
    return {{"phase", int(s.phase)}, {"port", s.port}, {"searchTotal", s.searchTotal}, {"searchDone", s.searchDone}};
}

bool fromJson(JsonReader r, LinkView *out)
{
    int phase = 0;
    r.integer("phase", &phase, 0, LinkView::PhaseCount - 1);
    out->phase = LinkView::Phase(phase);
    r.text("port", MaxNameLength, &out->port);
    r.integer("searchTotal", &out->searchTotal, 0, 100000);
    r.integer("searchDone", &out->searchDone, 0, out->searchTotal);
    return r.finish();
}

QJsonObject toJson(const WorkProgress &p)
{
    return {{"steering", int(p.steering)}, {"journalTotal", p.journalTotal}, {"journalDone", p.journalDone}};
}

bool fromJson(JsonReader r, WorkProgress *out)
{
    int steering = 0;
    r.integer("steering", &steering, 0, WorkProgress::SteeringCount - 1);
    out->steering = WorkProgress::Steering(steering);
    r.integer("journalTotal", &out->journalTotal, -1, RecordCodec::MaxJournalRecords);
    r.integer("journalDone", &out->journalDone, 0, qMax(0, out->journalTotal));
    return r.finish();
}

QJsonObject toJson(const DeviceInfo &d)
{
    QJsonObject o;
    for (const InfoField &f : kInfo)
        o.insert(QLatin1String(f.key), d.*f.text);
    return o;
}

bool fromJson(JsonReader r, DeviceInfo *out)
{
    for (const InfoField &f : kInfo)
        r.text(f.key, MaxInfoLength, &(out->*f.text));
    return r.finish();
}

QJsonObject toJson(const ServiceSnapshot &s)
{
    QJsonObject o{{"serviceName", s.serviceName},
                  {"titleItem", s.titleItem},
                  {"link", toJson(s.link)},
                  {"results", RecordCodec::toJson(s.results)},
                  {"parameters", ParameterCodec::toJson(s.parameters)},
                  {"counters", RecordCodec::toJson(s.counters)},
                  {"progress", toJson(s.progress)},
                  {"instrumentHeard", s.instrumentHeard}};
    if (s.deviceInfo)
        o.insert(QStringLiteral("deviceInfo"), toJson(*s.deviceInfo));
    putRecord(o, "detect", s.detect);
    putRecord(o, "cmdState", s.cmdState);
    putRecord(o, "adjState", s.adjState);
    putRecord(o, "varState", s.varState);
    QJsonArray lines;
    const int first = qMax(0, s.lines.size() - ServiceSnapshot::MaxLines);
    for (int i = first; i < s.lines.size(); ++i)
        lines.append(toJson(s.lines[i]));
    o.insert(QStringLiteral("lines"), lines);
    if (!s.historyDatabase.isEmpty())
        o.insert(QStringLiteral("historyDatabase"), s.historyDatabase);
    if (!s.channelNames.isEmpty())
        putChannelNames(o, s.channelNames);
    return o;
}

bool fromJson(JsonReader r, ServiceSnapshot *out)
{
    r.text("serviceName", MaxNameLength, &out->serviceName);
    r.text("titleItem", MaxNameLength, &out->titleItem);
    fromJson(r.object("link"), &out->link);
    RecordCodec::fromJson(r.object("results"), &out->results);
    ParameterCodec::fromJson(r.object("parameters"), &out->parameters);
    RecordCodec::fromJson(r.object("counters"), &out->counters);
    fromJson(r.object("progress"), &out->progress);
    // Not sent by the first services of this version.
    out->instrumentHeard = false;
    if (r.has("instrumentHeard"))
        r.boolean("instrumentHeard", &out->instrumentHeard);
    out->deviceInfo.reset();
    if (r.has("deviceInfo")) {
        DeviceInfo info;
        if (fromJson(r.object("deviceInfo"), &info))
            out->deviceInfo = info;
    }
    takeRecord(r, "detect", &out->detect);
    takeRecord(r, "cmdState", &out->cmdState);
    takeRecord(r, "adjState", &out->adjState);
    takeRecord(r, "varState", &out->varState);
    const QJsonArray lines = r.arrayOf("lines", 0, ServiceSnapshot::MaxLines);
    out->lines.clear();
    for (int i = 0; r.ok() && i < lines.size(); ++i) {
        ServiceLine line;
        if (fromJson(r.objectAt(lines, "lines", i), &line))
            out->lines.append(line);
    }
    out->historyDatabase.clear();
    if (r.has("historyDatabase"))
        r.text("historyDatabase", MaxLineLength, &out->historyDatabase);
    // Not sent by the first services of this version either.
    out->channelNames.clear();
    if (r.has("channelNames"))
        takeChannelNames(r, &out->channelNames);
    return r.finish();
}

void putChannelNames(QJsonObject &o, const QStringList &names)
{
    // Typed into an INI file by hand: what a reader would refuse is mended
    // here, so that one long name cannot keep every window from attaching.
    QJsonArray four;
    for (int i = 0; i < Channels; ++i) {
        QString name = names.value(i).left(MaxNameLength);
        for (QChar &c : name) {
            if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f)
                c = QLatin1Char(' ');
        }
        four.append(name);
    }
    o.insert(QStringLiteral("channelNames"), four);
}

bool takeChannelNames(JsonReader &r, QStringList *out)
{
    return r.texts("channelNames", Channels, MaxNameLength, out);
}

}  // namespace ViewCodec
