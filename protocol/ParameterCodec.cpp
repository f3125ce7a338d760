#include "ParameterCodec.h"

#include "RecordCodec.h"

using RecordCodec::array;
using RecordCodec::time;

namespace {

QJsonValue mode(char m)
{
    return QString(QLatin1Char(m));
}

bool readMode(JsonReader &r, const char *key, char *out)
{
    QString m;
    if (!r.text(key, 1, &m))
        return false;
    if (m.size() != 1 || m[0].unicode() < 0x20 || m[0].unicode() > 0x7e)
        return r.fail(key, JsonReader::tr("not one printable character"));
    *out = char(m[0].unicode());
    return true;
}

QJsonObject intervals(const QualIntervalInfo &q)
{
    return {{"qual_Interval_chan1", q.qual_Interval_chan1},
            {"qual_Interval_chan2", q.qual_Interval_chan2},
            {"qual_Interval_chan3", q.qual_Interval_chan3},
            {"qual_Interval_chan4", q.qual_Interval_chan4}};
}

void readIntervals(JsonReader &r, QualIntervalInfo *q)
{
    r.integer("qual_Interval_chan1", &q->qual_Interval_chan1);
    r.integer("qual_Interval_chan2", &q->qual_Interval_chan2);
    r.integer("qual_Interval_chan3", &q->qual_Interval_chan3);
    r.integer("qual_Interval_chan4", &q->qual_Interval_chan4);
}

QJsonObject smart(const SmartControlInfo &s)
{
    return {{"freq_newValue", JsonNumber::fromDouble(s.freq_newValue)},
            {"phase_newValue", JsonNumber::fromDouble(s.phase_newValue)},
            {"timeInterval", s.timeInterval},
            {"numOfControls", s.numOfControls}};
}

void readSmart(JsonReader &r, SmartControlInfo *s)
{
    r.number("freq_newValue", &s->freq_newValue);
    r.number("phase_newValue", &s->phase_newValue);
    r.integer("timeInterval", &s->timeInterval);
    r.integer("numOfControls", &s->numOfControls);
}

}  // namespace

namespace ParameterCodec {

QJsonObject toJson(const CommandParameters &p)
{
    const SyncControlInfo &s = p.syncControl_info;
    const QJsonObject sync{{"Ref_Chan", s.Ref_Chan},         {"BackUp1_Chan", s.BackUp1_Chan},
                           {"BackUp2_Chan", s.BackUp2_Chan}, {"BackUp3_Chan", s.BackUp3_Chan},
                           {"SyncIsOn", s.SyncIsOn},         {"chanIncluded", array(&s.chanIncluded)},
                           {"modeNew", mode(s.modeNew)},     {"modeCur", mode(s.modeCur)},
                           {"syncStatus", s.syncStatus},     {"chanAvailable", array(&s.chanAvailable)},
                           {"stat", array(&s.stat)}};
    const PhaseControlInfo &ph = p.phaseControl_info;
    const QJsonObject phase{
        {"phaseOffset", ph.phaseOffset}, {"timerInterval", ph.timerInterval}, {"endTime", time(ph.endTime)}};
    const DateTimeShiftInfo &d = p.dateTime_info;
    const QJsonObject shift{{"timeDifference", d.timeDifference},
                            {"dateDifference", d.dateDifference},
                            {"lastUpdate", time(d.lastUpdate)}};
    const AveControlInfo &a = p.ave_info;
    const QJsonObject ave{{"enabledNew", a.enabledNew},
                          {"aveNew", array(&a.aveNew)},
                          {"enabledCur", a.enabledCur},
                          {"aveCur", array(&a.aveCur)}};
    return {{"syncControl_info", sync},
            {"phaseControl_info", phase},
            {"freq_newOffset", JsonNumber::fromDouble(p.freq_newOffset)},
            {"drift_newOffset", JsonNumber::fromDouble(p.drift_newOffset)},
            {"smartControl_info", smart(p.smartControl_info)},
            {"freq_diffLimit_newValue", JsonNumber::fromDouble(p.freq_diffLimit_newValue)},
            {"currentLimit", JsonNumber::fromFloat(p.currentLimit)},
            {"dateTime_info", shift},
            {"qualInterval_info", intervals(p.qualInterval_info)},
            {"journalFolder", p.journalFolder},
            {"ave_info", ave},
            {"pps_info", RecordCodec::toJson(p.pps_info)}};
}

bool fromJson(JsonReader r, CommandParameters *out)
{
    JsonReader s = r.object("syncControl_info");
    SyncControlInfo &sync = out->syncControl_info;
    s.integer("Ref_Chan", &sync.Ref_Chan);
    s.integer("BackUp1_Chan", &sync.BackUp1_Chan);
    s.integer("BackUp2_Chan", &sync.BackUp2_Chan);
    s.integer("BackUp3_Chan", &sync.BackUp3_Chan);
    s.boolean("SyncIsOn", &sync.SyncIsOn);
    s.array("chanIncluded", &sync.chanIncluded);
    readMode(s, "modeNew", &sync.modeNew);
    readMode(s, "modeCur", &sync.modeCur);
    s.integer("syncStatus", &sync.syncStatus);
    s.array("chanAvailable", &sync.chanAvailable);
    s.array("stat", &sync.stat);
    s.finish();

    JsonReader ph = r.object("phaseControl_info");
    ph.integer("phaseOffset", &out->phaseControl_info.phaseOffset);
    ph.integer("timerInterval", &out->phaseControl_info.timerInterval);
    ph.dateTime("endTime", Qt::UTC, &out->phaseControl_info.endTime);
    ph.finish();

    r.number("freq_newOffset", &out->freq_newOffset);
    r.number("drift_newOffset", &out->drift_newOffset);
    JsonReader sm = r.object("smartControl_info");
    readSmart(sm, &out->smartControl_info);
    sm.finish();
    r.number("freq_diffLimit_newValue", &out->freq_diffLimit_newValue);
    r.number("currentLimit", &out->currentLimit);

    JsonReader d = r.object("dateTime_info");
    d.integer("timeDifference", &out->dateTime_info.timeDifference);
    d.integer("dateDifference", &out->dateTime_info.dateDifference);
    d.dateTime("lastUpdate", Qt::LocalTime, &out->dateTime_info.lastUpdate);
    d.finish();

    JsonReader q = r.object("qualInterval_info");
    readIntervals(q, &out->qualInterval_info);
    q.finish();
    r.text("journalFolder", MaxFolderLength, &out->journalFolder);

    JsonReader a = r.object("ave_info");
    a.integer("enabledNew", &out->ave_info.enabledNew);
    a.array("aveNew", &out->ave_info.aveNew);
    a.boolean("enabledCur", &out->ave_info.enabledCur);
    a.array("aveCur", &out->ave_info.aveCur);
    a.finish();

    RecordCodec::fromJson(r.object("pps_info"), &out->pps_info);
    return r.finish();
}

QJsonObject requestToJson(int code, const CommandParameters &p)
{
    const SyncControlInfo &s = p.syncControl_info;
    switch (code) {
    case COMMAND_SET_SYNC_CHLIST:
        return {{"Ref_Chan", s.Ref_Chan},
                {"BackUp1_Chan", s.BackUp1_Chan},
                {"BackUp2_Chan", s.BackUp2_Chan},
                {"BackUp3_Chan", s.BackUp3_Chan}};
    case COMMAND_SET_SYNC_STATUS:
        return {{"SyncIsOn", s.SyncIsOn}};
    case COMMAND_PHASE_CORRECTION:
        return {{"phaseOffset", p.phaseControl_info.phaseOffset},
                {"timerInterval", p.phaseControl_info.timerInterval}};
    case COMMAND_SET_FREQ_OFFSET:
        return {{"freq_newOffset", JsonNumber::fromDouble(p.freq_newOffset)}};
    case COMMAND_SET_FREQ_DRIFT:
        return {{"drift_newOffset", JsonNumber::fromDouble(p.drift_newOffset)}};
    case COMMAND_SMART_CONTROL:
        return smart(p.smartControl_info);
    case COMMAND_SET_FREQ_LIMIT:
        return {{"freq_diffLimit_newValue", JsonNumber::fromDouble(p.freq_diffLimit_newValue)}};
    case COMMAND_SET_DATETIME:
        return {{"timeDifference", p.dateTime_info.timeDifference},
                {"dateDifference", p.dateTime_info.dateDifference}};
    case COMMAND_SET_QUAL_INTERVALS:
        return intervals(p.qualInterval_info);
    case COMMAND_SET_MODE:
        return {{"modeNew", mode(s.modeNew)}};
    case COMMAND_SET_CHAN_STAT:
        return {{"chanIncluded", array(&s.chanIncluded)}};
    case COMMAND_MASTER_CHAN:
        return {{"Ref_Chan", s.Ref_Chan}};
    case COMMAND_SET_AVE:
        return {{"aveNew", array(&p.ave_info.aveNew)}};
    case COMMAND_SET_AVE_ENABLED:
        return {{"enabledNew", p.ave_info.enabledNew}};
    default:
        return {};
    }
}

bool requestFromJson(int code, JsonReader r, CommandParameters *out)
{
    SyncControlInfo &s = out->syncControl_info;
    switch (code) {
    case COMMAND_SET_SYNC_CHLIST:
        r.integer("Ref_Chan", &s.Ref_Chan);
        r.integer("BackUp1_Chan", &s.BackUp1_Chan);
        r.integer("BackUp2_Chan", &s.BackUp2_Chan);
        r.integer("BackUp3_Chan", &s.BackUp3_Chan);
        break;
    case COMMAND_SET_SYNC_STATUS:
        r.boolean("SyncIsOn", &s.SyncIsOn);
        break;
    case COMMAND_PHASE_CORRECTION:
        r.integer("phaseOffset", &out->phaseControl_info.phaseOffset);
        r.integer("timerInterval", &out->phaseControl_info.timerInterval);
        break;
    case COMMAND_SET_FREQ_OFFSET:
        r.number("freq_newOffset", &out->freq_newOffset);
        break;
    case COMMAND_SET_FREQ_DRIFT:
        r.number("drift_newOffset", &out->drift_newOffset);
        break;
    case COMMAND_SMART_CONTROL:
        readSmart(r, &out->smartControl_info);
        break;
    case COMMAND_SET_FREQ_LIMIT:
        r.number("freq_diffLimit_newValue", &out->freq_diffLimit_newValue);
        break;
    case COMMAND_SET_DATETIME:
        r.integer("timeDifference", &out->dateTime_info.timeDifference);
        r.integer("dateDifference", &out->dateTime_info.dateDifference);
        break;
    case COMMAND_SET_QUAL_INTERVALS:
        readIntervals(r, &out->qualInterval_info);
        break;
    case COMMAND_SET_MODE:
        readMode(r, "modeNew", &s.modeNew);
        break;
    case COMMAND_SET_CHAN_STAT:
        r.array("chanIncluded", &s.chanIncluded);
        break;
    case COMMAND_MASTER_CHAN:
        r.integer("Ref_Chan", &s.Ref_Chan);
        break;
    case COMMAND_SET_AVE:
        r.array("aveNew", &out->ave_info.aveNew);
        break;
    case COMMAND_SET_AVE_ENABLED:
        r.integer("enabledNew", &out->ave_info.enabledNew);
        break;
    default:
        break;
    }
    return r.finish();
}

}  // namespace ParameterCodec
