#include "protocol/HistoryCodec.h"

#include <QtTest>

#include <cmath>
#include <limits>

// What a service sends of its history comes back bit for bit, and what a
// client sends is refused naming the field when it is out of bounds.
class tst_HistoryCodec : public QObject
{
    Q_OBJECT

private slots:
    void view_comesBackBitForBit();
    void stability_comesBackBitForBit();
    void outOfBounds_isRefusedNamingTheField_data();
    void outOfBounds_isRefusedNamingTheField();
};

namespace {

HistoryView untidyView()
{
    HistoryView v;
    v.range = {1772000000000, 1772086400000};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    v.series[0] = {{1772000000004, 1772000009997, -0.0f, 1.4929999e-12f, 3, false},
                   {1772000020011, 1772000020011, nan, nan, 1, true},
                   {1772000030010, 1772000039990, std::numeric_limits<float>::denorm_min(), 3.4e38f, 2, true}};
    v.series[9] = {{1772000000000, 1772000000000, 7.0f, 7.0f, 1, false}};
    v.link = {{1772000000000, 1772000050000, LinkState::Estimation}, {1772000050000, 1772000060000, LinkState::ParameterLog}};
    v.channels[3] = {{1772000000000, 1772000060000, ChannelBand::Other}};
    Marker m;
    m.timeMs = 1772000000500;
    m.kind = MarkerKind::ReferenceChanged;
    m.channel = 2;
    m.previous = 1;
    m.text = QString::fromUtf8("COM3 «ключ»");
    v.markers = {m};
    return v;
}

}  // namespace

void tst_HistoryCodec::view_comesBackBitForBit()
{
    const HistoryView v = untidyView();
    HistoryView back;
    const QJsonObject json = HistoryCodec::toJson(v);
    QVERIFY(HistoryCodec::fromJson(JsonReader(json), &back));
    QCOMPARE(HistoryCodec::toJson(back), json);
    QCOMPARE(std::signbit(back.series[0][0].min), true);
    QVERIFY(std::isnan(back.series[0][1].max));
    QCOMPARE(back.series[0][2].breakBefore, true);
    QCOMPARE(back.series[0][0].breakBefore, false);
    QCOMPARE(back.markers.value(0).text, v.markers[0].text);
}

void tst_HistoryCodec::stability_comesBackBitForBit()
{
    StabilityResult s;
    s.request.series = Series::Adev3;
    s.request.range = {1, 2};
    s.request.options.kinds = {Deviation::Hdev, Deviation::Adev};
    s.request.options.confidence = 0.95;
    s.read = 9;
    s.used = 7;
    s.runs = 1;
    s.intervalMs = 10000;
    s.shares = {{10000, 1, 7, 70000}, {4000, 2, 2, 8000}};
    s.curves = {{Deviation::Hdev, {{10, 1, 1.0 / 3.0, 0.1, 0.9, 6, 5.5, -2, true}, {20, 2, 2e-13, 1e-13, 3e-13, 2, 1.2, 0, false}}}};
    StabilityResult back;
    const QJsonObject json = HistoryCodec::toJson(s);
    QVERIFY(HistoryCodec::fromJson(JsonReader(json), &back));
    QCOMPARE(HistoryCodec::toJson(back), json);
    QCOMPARE(back.curves.value(0).points.value(0).deviation, 1.0 / 3.0);
}

void tst_HistoryCodec::outOfBounds_isRefusedNamingTheField_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("path");  // where in the object
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("named");
    const QJsonObject view = HistoryCodec::toJson(untidyView());
    QTest::newRow("a column shorter than the others") << "view" << "series[0].max" << QJsonValue(QJsonArray{1, 2})
                                                       << "series[0].max";
    QTest::newRow("a break past the buckets") << "view" << "series[0].breaks" << QJsonValue(QJsonArray{3})
                                               << "series[0].breaks";
    QTest::newRow("a state without a name") << "view" << "link.state" << QJsonValue(QJsonArray{2, 6}) << "link.state";
    QTest::newRow("a marker's text of 5000 characters")
        << "view" << "markers.text" << QJsonValue(QJsonArray{QString(5000, 'x')}) << "markers.text";
    QTest::newRow("nine series") << "view" << "series" << QJsonValue(QJsonArray{1, 2, 3, 4, 5, 6, 7, 8, 9}) << "series";
    QTest::newRow("a view of 5000 buckets") << "request" << "buckets" << QJsonValue(5000) << "buckets";
    QTest::newRow("no id") << "request" << "id" << QJsonValue(0) << "id";
    QTest::newRow("a choice past the list") << "request" << "choice" << QJsonValue(7) << "choice";
    QTest::newRow("a statistic twice") << "stability" << "kinds" << QJsonValue(QJsonArray{1, 1}) << "kinds";
    QTest::newRow("a confidence of 1") << "stability" << "confidence" << QJsonValue(1) << "confidence";
    QTest::newRow("a series that is none") << "stability" << "series" << QJsonValue(10) << "series";
}

void tst_HistoryCodec::outOfBounds_isRefusedNamingTheField()
{
    QFETCH(QString, what);
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QFETCH(QString, named);
    QJsonObject json = what == "view"      ? HistoryCodec::toJson(untidyView())
        : what == "request" ? HistoryCodec::toJson(ViewRequest{3, HistoryRange::All, 5, {}, 1000})
                            : HistoryCodec::toJson(StabilityRequest());
    // Sets `value` at the dotted path ("series[0].max").
    std::function<QJsonValue(QJsonValue, QStringList)> set = [&](QJsonValue at, QStringList keys) -> QJsonValue {
        if (keys.isEmpty())
            return value;
        QString key = keys.takeFirst();
        int index = -1;
        if (key.endsWith(']')) {
            index = key.section('[', 1).chopped(1).toInt();
            key = key.section('[', 0, 0);
        }
        QJsonObject o = at.toObject();
        if (index < 0) {
            o[key] = set(o.value(key), keys);
        } else {
            QJsonArray a = o.value(key).toArray();
            a[index] = set(a.at(index), keys);
            o[key] = a;
        }
        return o;
    };
    json = set(json, path.split('.')).toObject();
    JsonReader r(json);
    bool ok = true;
    if (what == "view") {
        HistoryView v;
        ok = HistoryCodec::fromJson(r, &v);
    } else if (what == "request") {
        ViewRequest q;
        ok = HistoryCodec::fromJson(r, &q);
    } else {
        StabilityRequest q;
        ok = HistoryCodec::fromJson(r, &q);
    }
    QVERIFY(!ok);
    QVERIFY2(r.error().startsWith(named + ":"), qPrintable(r.error()));
}

QTEST_GUILESS_MAIN(tst_HistoryCodec)
#include "tst_historycodec.moc"
