#include "HistoryCodec.h"

#include "JsonNumber.h"

namespace {

constexpr qint64 kMaxTime = (qint64(1) << 53) - 1;  // ms, as a JSON number holds them
constexpr qint64 kMaxCount = (qint64(1) << 53) - 1;
constexpr int kMaxId = 0x7fffffff;

template <typename T, typename Get>
QJsonArray column(const QVector<T> &items, Get get)
{
    QJsonArray a;
    for (const T &item : items)
        a.append(get(item));
    return a;
}

// A list of `*count` elements (or, with `*count` < 0, of up to MaxColumn),
// each given to `take`, which refuses it by returning false.
template <typename Take>
bool readColumn(JsonReader &r, const char *key, int *count, Take take)
{
    const bool any = *count < 0;
    const QJsonArray a = r.arrayOf(key, any ? 0 : *count, any ? HistoryCodec::MaxColumn : *count);
    if (!r.ok())
        return false;
    *count = a.size();
    for (int i = 0; i < a.size(); ++i) {
        if (!take(i, a.at(i)))
            return r.fail(key, JsonReader::tr("element %1 out of range").arg(i));
    }
    return true;
}

// The length of the list `key`, which the columns after it must share.
int columnSize(JsonReader &r, const char *key)
{
    return r.arrayOf(key, 0, HistoryCodec::MaxColumn).size();
}

bool toInt(const QJsonValue &v, qint64 lowest, qint64 highest, qint64 *out)
{
    return JsonNumber::toInteger(v, lowest, highest, out);
}

template <typename T>
bool toInt(const QJsonValue &v, qint64 lowest, qint64 highest, T *out)
{
    qint64 n = 0;
    if (!JsonNumber::toInteger(v, lowest, highest, &n))
        return false;
    *out = T(n);
    return true;
}

QJsonObject bucketsToJson(const QVector<SeriesBucket> &b)
{
    QVector<int> breaks;
    for (int i = 0; i < b.size(); ++i) {
        if (b.at(i).breakBefore)
            breaks << i;
    }
    return {{"first", column(b, [](const SeriesBucket &x) { return double(x.firstMs); })},
            {"last", column(b, [](const SeriesBucket &x) { return double(x.lastMs); })},
            {"min", column(b, [](const SeriesBucket &x) { return JsonNumber::fromFloat(x.min); })},
            {"max", column(b, [](const SeriesBucket &x) { return JsonNumber::fromFloat(x.max); })},
            {"readings", column(b, [](const SeriesBucket &x) { return x.readings; })},
            {"breaks", column(breaks, [](int i) { return i; })}};
}

bool bucketsFromJson(JsonReader r, QVector<SeriesBucket> *out)
{
    int n = columnSize(r, "first");
    QVector<SeriesBucket> b(n);
    readColumn(r, "first", &n, [&](int i, const QJsonValue &v) { return toInt(v, -kMaxTime, kMaxTime, &b[i].firstMs); });
    readColumn(r, "last", &n, [&](int i, const QJsonValue &v) { return toInt(v, -kMaxTime, kMaxTime, &b[i].lastMs); });
    readColumn(r, "min", &n, [&](int i, const QJsonValue &v) { return JsonNumber::toFloat(v, &b[i].min); });
    readColumn(r, "max", &n, [&](int i, const QJsonValue &v) { return JsonNumber::toFloat(v, &b[i].max); });
    readColumn(r, "readings", &n, [&](int i, const QJsonValue &v) { return toInt(v, 0, INT_MAX, &b[i].readings); });
    int breaks = -1;
    readColumn(r, "breaks", &breaks, [&](int, const QJsonValue &v) {
        int i = 0;
        if (!toInt(v, 0, qMax(0, b.size() - 1), &i) || b.isEmpty())
            return false;
        b[i].breakBefore = true;
        return true;
    });
    if (!r.finish())
        return false;
    *out = b;
    return true;
}

template <typename State>
QJsonObject intervalsToJson(const QVector<StateInterval<State>> &v)
{
    using I = StateInterval<State>;
    return {{"from", column(v, [](const I &x) { return double(x.fromMs); })},
            {"to", column(v, [](const I &x) { return double(x.toMs); })},
            {"state", column(v, [](const I &x) { return int(x.state); })}};
}

template <typename State>
bool intervalsFromJson(JsonReader r, int highestState, QVector<StateInterval<State>> *out)
{
    int n = columnSize(r, "from");
    QVector<StateInterval<State>> v(n);
    readColumn(r, "from", &n, [&](int i, const QJsonValue &x) { return toInt(x, -kMaxTime, kMaxTime, &v[i].fromMs); });
    readColumn(r, "to", &n, [&](int i, const QJsonValue &x) { return toInt(x, -kMaxTime, kMaxTime, &v[i].toMs); });
    readColumn(r, "state", &n, [&](int i, const QJsonValue &x) { return toInt(x, 0, highestState, &v[i].state); });
    if (!r.finish())
        return false;
    *out = v;
    return true;
}

QJsonObject markersToJson(const QVector<Marker> &m)
{
    return {{"time", column(m, [](const Marker &x) { return double(x.timeMs); })},
            {"kind", column(m, [](const Marker &x) { return int(x.kind); })},
            {"code", column(m, [](const Marker &x) { return x.code; })},
            {"channel", column(m, [](const Marker &x) { return x.channel; })},
            {"previous", column(m, [](const Marker &x) { return x.previous; })},
            {"number", column(m, [](const Marker &x) { return x.number; })},
            {"outcome", column(m, [](const Marker &x) { return int(x.outcome); })},
            {"text", column(m, [](const Marker &x) { return x.text; })}};
}

bool markersFromJson(JsonReader r, QVector<Marker> *out)
{
    int n = columnSize(r, "time");
    QVector<Marker> m(n);
    readColumn(r, "time", &n, [&](int i, const QJsonValue &v) { return toInt(v, -kMaxTime, kMaxTime, &m[i].timeMs); });
    readColumn(r, "kind", &n, [&](int i, const QJsonValue &v) {
        return toInt(v, 0, int(MarkerKind::HistoryGap), &m[i].kind);
    });
    readColumn(r, "code", &n, [&](int i, const QJsonValue &v) { return toInt(v, INT_MIN, INT_MAX, &m[i].code); });
    readColumn(r, "channel", &n, [&](int i, const QJsonValue &v) { return toInt(v, 0, 4, &m[i].channel); });
    readColumn(r, "previous", &n, [&](int i, const QJsonValue &v) { return toInt(v, 0, 4, &m[i].previous); });
    readColumn(r, "number", &n, [&](int i, const QJsonValue &v) { return toInt(v, INT_MIN, INT_MAX, &m[i].number); });
    readColumn(r, "outcome", &n, [&](int i, const QJsonValue &v) {
        return toInt(v, 0, int(Outcome::Failed), &m[i].outcome);
    });
    readColumn(r, "text", &n, [&](int i, const QJsonValue &v) {
        m[i].text = v.toString();
        return v.isString() && m[i].text.size() <= HistoryCodec::MaxMarkerText;
    });
    if (!r.finish())
        return false;
    *out = m;
    return true;
}

}  // namespace

namespace HistoryCodec {

QJsonObject toJson(TimeRange range)
{
    return {{"from", double(range.fromMs)}, {"to", double(range.toMs)}};
}

bool fromJson(JsonReader r, TimeRange *out)
{
    TimeRange t;
    r.integer("from", &t.fromMs, -kMaxTime, kMaxTime);
    r.integer("to", &t.toMs, -kMaxTime, kMaxTime);
    if (!r.finish())
        return false;
    *out = t;
    return true;
}

QJsonObject toJson(const ViewRequest &q)
{
    return {{"id", q.id}, {"choice", int(q.choice)}, {"now", double(q.nowMs)}, {"range", toJson(q.range)},
            {"buckets", q.buckets}};
}

bool fromJson(JsonReader r, ViewRequest *out)
{
    ViewRequest q;
    r.integer("id", &q.id, 1, kMaxId);
    int choice = 0;
    r.integer("choice", &choice, 0, HistoryRange::ChoiceCount - 1);
    q.choice = HistoryRange::Choice(choice);
    r.integer("now", &q.nowMs, 0, kMaxTime);
    fromJson(r.object("range"), &q.range);
    r.integer("buckets", &q.buckets, 1, MaxBuckets);
    if (!r.finish())
        return false;
    *out = q;
    return true;
}

QJsonObject toJson(const HistoryView &view)
{
    QJsonArray series;
    for (const QVector<SeriesBucket> &s : view.series)
        series.append(bucketsToJson(s));
    QJsonArray channels;
    for (const QVector<ChannelInterval> &c : view.channels)
        channels.append(intervalsToJson(c));
    return {{"range", toJson(view.range)}, {"series", series}, {"link", intervalsToJson(view.link)},
            {"channels", channels}, {"markers", markersToJson(view.markers)}};
}

bool fromJson(JsonReader r, HistoryView *out)
{
    HistoryView v;
    fromJson(r.object("range"), &v.range);
    const QJsonArray series = r.arrayOf("series", Series::Count, Series::Count);
    for (int i = 0; r.ok() && i < series.size(); ++i)
        bucketsFromJson(r.objectAt(series, "series", i), &v.series[i]);
    intervalsFromJson(r.object("link"), int(LinkState::ParameterLog), &v.link);
    const QJsonArray channels = r.arrayOf("channels", 4, 4);
    for (int i = 0; r.ok() && i < channels.size(); ++i)
        intervalsFromJson(r.objectAt(channels, "channels", i), int(ChannelBand::Other), &v.channels[i]);
    markersFromJson(r.object("markers"), &v.markers);
    if (!r.finish())
        return false;
    *out = v;
    return true;
}

QJsonObject toJson(const StabilityRequest &q)
{
    return {{"series", int(q.series)},
            {"range", toJson(q.range)},
            {"kinds", column(q.options.kinds, [](Deviation::Kind k) { return int(k); })},
            {"spacing", int(q.options.spacing)},
            {"confidence", JsonNumber::fromDouble(q.options.confidence)},
            {"interval", double(q.intervalMs)}};
}

bool fromJson(JsonReader r, StabilityRequest *out)
{
    StabilityRequest q;
    int series = 0;
    r.integer("series", &series, 0, Series::Count - 1);
    q.series = Series::Id(series);
    fromJson(r.object("range"), &q.range);
    int kinds = -1;
    q.options.kinds.clear();
    readColumn(r, "kinds", &kinds, [&](int, const QJsonValue &v) {
        int k = 0;
        if (!toInt(v, 0, Deviation::KindCount - 1, &k) || q.options.kinds.contains(Deviation::Kind(k)))
            return false;
        q.options.kinds << Deviation::Kind(k);
        return true;
    });
    int spacing = 0;
    r.integer("spacing", &spacing, 0, TauSpacing::SpacingCount - 1);
    q.options.spacing = TauSpacing::Spacing(spacing);
    r.number("confidence", &q.options.confidence);
    if (r.ok() && !(q.options.confidence > 0 && q.options.confidence < 1))
        r.fail("confidence", JsonReader::tr("not a number between 0 and 1"));
    r.integer("interval", &q.intervalMs, 0, kMaxTime);
    if (!r.finish())
        return false;
    *out = q;
    return true;
}

QJsonObject toJson(const StabilityResult &s)
{
    using Share = IntervalShares::Share;
    QJsonArray curves;
    for (const StabilityCurve &c : s.curves) {
        using P = StabilityPoint;
        const QVector<P> &p = c.points;
        curves.append(QJsonObject{
            {"kind", int(c.kind)},
            {"tau", column(p, [](const P &x) { return JsonNumber::fromDouble(x.tau); })},
            {"m", column(p, [](const P &x) { return double(x.m); })},
            {"deviation", column(p, [](const P &x) { return JsonNumber::fromDouble(x.deviation); })},
            {"low", column(p, [](const P &x) { return JsonNumber::fromDouble(x.low); })},
            {"high", column(p, [](const P &x) { return JsonNumber::fromDouble(x.high); })},
            {"terms", column(p, [](const P &x) { return double(x.terms); })},
            {"dof", column(p, [](const P &x) { return JsonNumber::fromDouble(x.dof); })},
            {"alpha", column(p, [](const P &x) { return x.alpha; })},
            {"measured", column(p, [](const P &x) { return x.alphaMeasured; })}});
    }
    return {{"request", toJson(s.request)},
            {"read", double(s.read)},
            {"noSignal", double(s.noSignal)},
            {"otherIntervals", double(s.otherIntervals)},
            {"alone", double(s.alone)},
            {"used", double(s.used)},
            {"runs", s.runs},
            {"interval", double(s.intervalMs)},
            {"shares",
             QJsonObject{{"interval", column(s.shares, [](const Share &x) { return double(x.intervalMs); })},
                         {"runs", column(s.shares, [](const Share &x) { return x.runs; })},
                         {"readings", column(s.shares, [](const Share &x) { return double(x.readings); })},
                         {"time", column(s.shares, [](const Share &x) { return double(x.timeMs); })}}},
            {"curves", curves}};
}

bool fromJson(JsonReader r, StabilityResult *out)
{
    StabilityResult s;
    fromJson(r.object("request"), &s.request);
    r.integer("read", &s.read, 0, kMaxCount);
    r.integer("noSignal", &s.noSignal, 0, kMaxCount);
    r.integer("otherIntervals", &s.otherIntervals, 0, kMaxCount);
    r.integer("alone", &s.alone, 0, kMaxCount);
    r.integer("used", &s.used, 0, kMaxCount);
    r.integer("runs", &s.runs, 0, INT_MAX);
    r.integer("interval", &s.intervalMs, 0, kMaxTime);
    JsonReader shares = r.object("shares");
    int n = columnSize(shares, "interval");
    s.shares.resize(n);
    readColumn(shares, "interval", &n,
               [&](int i, const QJsonValue &v) { return toInt(v, 0, kMaxTime, &s.shares[i].intervalMs); });
    readColumn(shares, "runs", &n, [&](int i, const QJsonValue &v) { return toInt(v, 0, INT_MAX, &s.shares[i].runs); });
    readColumn(shares, "readings", &n,
               [&](int i, const QJsonValue &v) { return toInt(v, 0, kMaxCount, &s.shares[i].readings); });
    readColumn(shares, "time", &n, [&](int i, const QJsonValue &v) { return toInt(v, 0, kMaxTime, &s.shares[i].timeMs); });
    shares.finish();
    const QJsonArray curves = r.arrayOf("curves", 0, Deviation::KindCount);
    for (int c = 0; r.ok() && c < curves.size(); ++c) {
        JsonReader cr = r.objectAt(curves, "curves", c);
        StabilityCurve curve;
        int kind = 0;
        cr.integer("kind", &kind, 0, Deviation::KindCount - 1);
        curve.kind = Deviation::Kind(kind);
        QVector<StabilityPoint> &p = curve.points;
        int points = columnSize(cr, "tau");
        p.resize(points);
        readColumn(cr, "tau", &points, [&](int i, const QJsonValue &v) { return JsonNumber::toDouble(v, &p[i].tau); });
        readColumn(cr, "m", &points, [&](int i, const QJsonValue &v) { return toInt(v, 1, kMaxCount, &p[i].m); });
        readColumn(cr, "deviation", &points,
                   [&](int i, const QJsonValue &v) { return JsonNumber::toDouble(v, &p[i].deviation); });
        readColumn(cr, "low", &points, [&](int i, const QJsonValue &v) { return JsonNumber::toDouble(v, &p[i].low); });
        readColumn(cr, "high", &points, [&](int i, const QJsonValue &v) { return JsonNumber::toDouble(v, &p[i].high); });
        readColumn(cr, "terms", &points, [&](int i, const QJsonValue &v) { return toInt(v, 0, kMaxCount, &p[i].terms); });
        readColumn(cr, "dof", &points, [&](int i, const QJsonValue &v) { return JsonNumber::toDouble(v, &p[i].dof); });
        readColumn(cr, "alpha", &points, [&](int i, const QJsonValue &v) { return toInt(v, -4, 4, &p[i].alpha); });
        readColumn(cr, "measured", &points, [&](int i, const QJsonValue &v) {
            p[i].alphaMeasured = v.toBool();
            return v.isBool();
        });
        if (cr.finish())
            s.curves << curve;
    }
    if (!r.finish())
        return false;
    *out = s;
    return true;
}

QJsonObject toJson(const ExportChunk &c)
{
    // The files' lines end in CR LF; a message's texts hold no CR.
    QByteArray text = c.text;
    text.replace("\r\n", "\n");
    return {{"text", QString::fromLatin1(text)}, {"rows", double(c.rows)}, {"at", double(c.next.at)},
            {"skip", double(c.next.skip)}, {"done", c.done}, {"percent", c.percent}};
}

bool fromJson(JsonReader r, ExportChunk *out)
{
    ExportChunk c;
    QString text;
    r.text("text", MaxChunkBytes + 64 * 1024, &text, true);
    r.integer("rows", &c.rows, 0, kMaxCount);
    r.integer("at", &c.next.at, -kMaxTime, kMaxTime);
    r.integer("skip", &c.next.skip, 0, kMaxCount);
    r.boolean("done", &c.done);
    r.integer("percent", &c.percent, 0, 100);
    if (!r.finish())
        return false;
    c.text = text.toLatin1().replace("\n", "\r\n");
    *out = c;
    return true;
}

}  // namespace HistoryCodec
