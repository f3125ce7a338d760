#include "protocol/ParameterCodec.h"
#include "protocol/RecordCodec.h"
#include "protocol/ViewCodec.h"

#include <QJsonDocument>
#include <QtTest>

#include <cstring>
#include <limits>

namespace {

float fromBits(quint32 bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Through text, as on the wire.
QJsonObject wire(const QJsonObject &o)
{
    return QJsonDocument::fromJson(QJsonDocument(o).toJson(QJsonDocument::Compact)).object();
}

template <typename T>
T roundTrip(const T &value)
{
    T back;
    JsonReader r(wire(RecordCodec::toJson(value)));
    if (!RecordCodec::fromJson(r, &back))
        qWarning() << r.error();
    return back;
}

QJsonObject edited(QJsonObject o, const QString &path, const QJsonValue &v)
{
    const int dot = path.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        if (v.isUndefined())
            o.remove(path);
        else
            o.insert(path, v);
        return o;
    }
    const QString head = path.left(dot);
    o.insert(head, edited(o.value(head).toObject(), path.mid(dot + 1), v));
    return o;
}

}  // namespace

class tst_RecordCodec : public QObject
{
    Q_OBJECT

private slots:
    void floats_comeBackBitForBit_data();
    void floats_comeBackBitForBit();
    void everyRecordAndBlock_roundTrips();
    void hostileField_isRefusedWithItsPath_data();
    void hostileField_isRefusedWithItsPath();
    void reading_withoutAKnownRecord_isRefused_data();
    void reading_withoutAKnownRecord_isRefused();
    void request_carriesOnlyItsFieldsAndKeepsTheServicesOwn();
};

void tst_RecordCodec::floats_comeBackBitForBit_data()
{
    QTest::addColumn<quint32>("bits");
    QTest::newRow("1.1f, no double of its own") << 0x3f8ccccdu;
    QTest::newRow("negative zero") << 0x80000000u;
    QTest::newRow("smallest subnormal") << 0x00000001u;
    QTest::newRow("largest float") << 0x7f7fffffu;
    QTest::newRow("infinity") << 0x7f800000u;
    QTest::newRow("minus infinity") << 0xff800000u;
    QTest::newRow("quiet NaN") << 0x7fc00000u;
    QTest::newRow("NaN with a payload and sign") << 0xffc01234u;
}

void tst_RecordCodec::floats_comeBackBitForBit()
{
    QFETCH(quint32, bits);
    ADJ_STATE s;
    s.freqOffset = fromBits(bits);
    s.chanOffset[3] = fromBits(bits);
    const ADJ_STATE back = roundTrip(s);
    QCOMPARE(back.toPayload(), s.toPayload());
}

void tst_RecordCodec::everyRecordAndBlock_roundTrips()
{
    // Every byte of each record distinct, so a field read into another shows.
    QByteArray bytes;
    for (int i = 0; i < 100; ++i)
        bytes.append(char(0x11 * i + 7));
    const auto cmd = ADJ_CMD_STATE::fromPayload(bytes.left(ADJ_CMD_STATE::Size));
    QCOMPARE(roundTrip(cmd).toPayload(), cmd.toPayload());
    const auto detect = DETECT::fromPayload(bytes.left(DETECT::Size));
    QCOMPARE(roundTrip(detect).toPayload(), detect.toPayload());
    const auto var = VAR_STRUCT::fromPayload(bytes.mid(3, VAR_STRUCT::Size));
    QCOMPARE(roundTrip(var).toPayload(), var.toPayload());
    const auto pps = PPS_DELAY::fromPayload(QByteArray("\xff\xff\xff\xff\x00\x80\x01\x00", 8));
    QCOMPARE(roundTrip(pps).toPayload(), pps.toPayload());

    PollReading poll;
    poll.record = PollReading::AdjState;
    poll.utc = QDateTime(QDate(2026, 3, 29), QTime(1, 59, 59, 999), Qt::UTC);
    poll.adjState = ADJ_STATE::fromPayload(bytes.left(ADJ_STATE::Size));
    const PollReading pollBack = roundTrip(poll);
    QCOMPARE(pollBack.record, poll.record);
    QCOMPARE(pollBack.utc, poll.utc);
    QCOMPARE(pollBack.adjState.toPayload(), poll.adjState.toPayload());

    LinkCounters c{(quint64(1) << 53) - 1, quint64(1) << 53, std::numeric_limits<quint64>::max(), 0};
    const LinkCounters cBack = roundTrip(c);
    QCOMPARE(cBack.polls, c.polls);
    QCOMPARE(cBack.pollTimeouts, c.pollTimeouts);
    QCOMPARE(cBack.rejectedAnswers, c.rejectedAnswers);

    JournalReading j;
    j.outcome = JournalReading::Incomplete;
    j.expected = 3;
    j.records = {JournalRecord::fromPayload(bytes.left(JournalRecord::Size)), JournalRecord::fromPayload(bytes.mid(44, 44))};
    const JournalReading jBack = roundTrip(j);
    QCOMPARE(jBack.records.size(), 2);
    QCOMPARE(jBack.records[1].toPayload(), j.records[1].toPayload());
    QVERIFY(!jBack.utc.isValid());

    CommandParameters p;
    p.syncControl_info.stat[2] = 13;
    p.syncControl_info.modeCur = '2';
    p.smartControl_info.phase_newValue = -0.0;
    p.freq_newOffset = 1e-8 / 3;
    p.ave_info.aveCur[1] = fromBits(0x7fc00001u);
    p.dateTime_info.lastUpdate = QDateTime(QDate(2026, 1, 7), QTime(15, 45, 1, 250));
    p.journalFolder = QStringLiteral("C:\\Журнал");
    CommandParameters pBack;
    JsonReader r(wire(ParameterCodec::toJson(p)));
    QVERIFY2(ParameterCodec::fromJson(r, &pBack), qPrintable(r.error()));
    QCOMPARE(QJsonDocument(ParameterCodec::toJson(pBack)).toJson(), QJsonDocument(ParameterCodec::toJson(p)).toJson());
    QVERIFY(std::signbit(pBack.smartControl_info.phase_newValue));
    QCOMPARE(pBack.dateTime_info.lastUpdate.timeSpec(), Qt::LocalTime);

    ServiceSnapshot s;
    s.titleItem = QStringLiteral("COM3 KSR-583 #0042");
    s.adjState = poll.adjState;
    s.deviceInfo = DeviceInfo{"2.20", "07.01.2026", "00042", "3", "7", "12", "1"};
    s.channelNames = QStringList{QStringLiteral("Водород\t1"), "", "Cs\n5071", QString(300, 'x')};
    for (int i = 0; i < ServiceSnapshot::MaxLines + 20; ++i)
        s.lines.append({QDateTime::currentDateTime(), QStringLiteral("line %1\n<b>").arg(i), QStringLiteral("red")});
    ServiceSnapshot sBack;
    JsonReader sr(wire(ViewCodec::toJson(s)));
    QVERIFY2(ViewCodec::fromJson(sr, &sBack), qPrintable(sr.error()));
    QCOMPARE(sBack.lines.size(), ServiceSnapshot::MaxLines);
    QCOMPARE(sBack.lines.first().text, QStringLiteral("line 20\n<b>"));  // the newest 500 are kept
    QVERIFY(sBack.adjState && !sBack.detect);
    QCOMPARE(sBack.deviceInfo->OSFvers, QStringLiteral("1"));
    QCOMPARE(sBack.channelNames, (QStringList{QStringLiteral("Водород\t1"), "", "Cs 5071", QString(256, 'x')}));
    // A service that tells no names is read all the same.
    JsonReader older(wire(ViewCodec::toJson(ServiceSnapshot())));
    QVERIFY2(ViewCodec::fromJson(older, &sBack), qPrintable(older.error()));
    QVERIFY(sBack.channelNames.isEmpty());
}

void tst_RecordCodec::hostileField_isRefusedWithItsPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a float single precision cannot hold") << "results.currentLimit" << QJsonValue(0.1) << "results.currentLimit: not a single";
    QTest::newRow("a plain value spelt as bits") << "results.currentLimit" << QJsonValue("0x3f800000") << "not a single";
    QTest::newRow("bits of the wrong length") << "results.currentLimit" << QJsonValue("0x7fc0000") << "not a single";
    QTest::newRow("a 16-bit word out of range") << "parameters.syncControl_info.syncStatus" << QJsonValue(32768) << "syncStatus: not a whole number from -32768";
    QTest::newRow("a fraction for a count") << "link.searchDone" << QJsonValue(0.5) << "link.searchDone";
    QTest::newRow("more ports done than tried") << "link.searchDone" << QJsonValue(5) << "from 0 to 0";
    QTest::newRow("a missing field") << "progress.steering" << QJsonValue(QJsonValue::Undefined) << "progress.steering";
    QTest::newRow("a field the protocol has not") << "link.extra" << QJsonValue(1) << "link.extra: not a field";
    QTest::newRow("a time without zone") << "results.lastTimeUpdate" << QJsonValue("2026-01-07T15:45:00") << "not a UTC time";
    QTest::newRow("an unknown link phase") << "link.phase" << QJsonValue(7) << "link.phase";
    QTest::newRow("a title with a control character") << "titleItem" << QJsonValue("COM3\x1b[2J") << "control character";
    QTest::newRow("a device text too long") << "deviceInfo.serialNumber" << QJsonValue(QString(65, 'x')) << "longer than 64";
    QTest::newRow("more than 500 lines") << "lines" << QJsonValue(QJsonArray::fromVariantList(QVariantList(QVector<QVariant>(501, "x").toList()))) << "a list of 0 to 500";
    QTest::newRow("a colour that is markup") << "lines" << QJsonValue(QJsonArray{QJsonObject{{"time", QJsonValue::Null}, {"text", "x"}, {"colour", "red;font-size:99px"}}}) << "lines[0].colour";
    QTest::newRow("a mode of two letters") << "parameters.syncControl_info.modeNew" << QJsonValue("12") << "modeNew";
    QTest::newRow("a record that is a number") << "detect" << QJsonValue(3) << "detect: not an object";
    QTest::newRow("a short array") << "adjState.coeff" << QJsonValue(QJsonArray{1, 2, 3}) << "adjState.coeff: a list of 4";
    QTest::newRow("three channel names") << "channelNames" << QJsonValue(QJsonArray{"a", "b", "c"}) << "channelNames: a list of 4";
    QTest::newRow("a channel name too long") << "channelNames" << QJsonValue(QJsonArray{"a", QString(257, 'x'), "c", "d"}) << "element 1: longer than 256";
    QTest::newRow("a channel name of two lines") << "channelNames" << QJsonValue(QJsonArray{"a", "b", "c", "d\ne"}) << "element 3: holds a control";
    QTest::newRow("a channel name that is a number") << "channelNames" << QJsonValue(QJsonArray{1, "b", "c", "d"}) << "element 0: not a text";
}

void tst_RecordCodec::hostileField_isRefusedWithItsPath()
{
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QFETCH(QString, reason);
    ServiceSnapshot s;
    s.adjState = ADJ_STATE();
    s.deviceInfo = DeviceInfo();
    const QJsonObject bad = edited(ViewCodec::toJson(s), path, value);
    ServiceSnapshot back;
    JsonReader r(wire(bad));
    QVERIFY(!ViewCodec::fromJson(r, &back));
    QVERIFY2(r.error().contains(reason), qPrintable(r.error()));
}

void tst_RecordCodec::reading_withoutAKnownRecord_isRefused_data()
{
    QTest::addColumn<QJsonValue>("record");
    QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined);
    QTest::newRow("not a text") << QJsonValue(2);
    QTest::newRow("a name the protocol has not") << QJsonValue("journal");
}

void tst_RecordCodec::reading_withoutAKnownRecord_isRefused()
{
    QFETCH(QJsonValue, record);
    PollReading p;
    p.record = PollReading::VarStruct;
    const QJsonObject bad = edited(RecordCodec::toJson(p), "record", record);
    PollReading back;
    JsonReader r(wire(bad));
    QVERIFY(!RecordCodec::fromJson(r, &back));
    QVERIFY2(r.error().startsWith("record"), qPrintable(r.error()));
}

void tst_RecordCodec::request_carriesOnlyItsFieldsAndKeepsTheServicesOwn()
{
    CommandParameters window;
    window.freq_newOffset = 2.5e-12;
    window.journalFolder = QStringLiteral("/etc");
    window.syncControl_info.stat[0] = 11;
    const QJsonObject request = wire(ParameterCodec::requestToJson(COMMAND_SET_FREQ_OFFSET, window));
    QCOMPARE(request.keys(), QStringList{"freq_newOffset"});

    CommandParameters service;
    service.journalFolder = QStringLiteral("/var/lib/ksr583-monitor/journal");
    QVERIFY(ParameterCodec::requestFromJson(COMMAND_SET_FREQ_OFFSET, JsonReader(request), &service));
    QCOMPARE(service.freq_newOffset, 2.5e-12);
    QCOMPARE(service.journalFolder, QStringLiteral("/var/lib/ksr583-monitor/journal"));
    QCOMPARE(service.syncControl_info.stat[0], qint16(0));

    // A window that slips in a field of the service's own is refused whole.
    QJsonObject sly = request;
    sly.insert("journalFolder", "/etc");
    JsonReader r(sly);
    QVERIFY(!ParameterCodec::requestFromJson(COMMAND_SET_FREQ_OFFSET, r, &service));
    QVERIFY(r.error().startsWith("journalFolder"));
    QVERIFY(!ParameterCodec::requestFromJson(COMMAND_GET_JOURNAL, JsonReader(sly), &service));
}

QTEST_APPLESS_MAIN(tst_RecordCodec)
#include "tst_recordcodec.moc"
