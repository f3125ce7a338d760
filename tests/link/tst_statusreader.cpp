#include "link/LinkRecords.h"
#include "link/StatusReader.h"
#include "tests/support/FakeExchange.h"
#include "tests/support/FakeInstrument.h"

#include <QtTest>

#include <memory>

using Answer = FakeInstrument::Answer;
Q_DECLARE_METATYPE(FakeInstrument::Answer)

// The readings on their own: one exchange each against a fake instrument.
class tst_StatusReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readRecord_data();
    void readRecord();
    void pollNumbers_countEveryPollOfItsRecord();
    void delayPps_isStoredInNanoseconds_data();
    void delayPps_isStoredInNanoseconds();
    void dacCodes_areReportedNotStored();
    void deviceInfo_data();
    void deviceInfo();

private:
    QByteArray recordPayload(int record) const;
    QStringList lines() const;

    std::unique_ptr<FakeExchange> m_bench;
    std::unique_ptr<LinkRecords> m_records;
    std::unique_ptr<StatusReader> m_reader;
    std::unique_ptr<QSignalSpy> m_debug;
    FakeInstrument m_device;
};

void tst_StatusReader::init()
{
    m_bench = std::make_unique<FakeExchange>();
    m_device = FakeInstrument();
    m_bench->line->attach("COM1", m_device.device());
    m_bench->port->setPortName("COM1");
    QVERIFY(m_bench->port->open());
    m_records = std::make_unique<LinkRecords>();
    m_reader = std::make_unique<StatusReader>(m_bench->io, *m_records);
    m_debug = std::make_unique<QSignalSpy>(m_reader.get(), &StatusReader::debugInfo);
}

void tst_StatusReader::cleanup()
{
    m_debug.reset();
    m_reader.reset();
    m_records.reset();
    m_bench.reset();
}

QByteArray tst_StatusReader::recordPayload(int record) const
{
    switch (record) {
    case 0: return m_records->detect.get().toPayload();
    case 1: return m_records->cmdState.get().toPayload();
    case 2: return m_records->adjState.get().toPayload();
    default: return m_records->varState.get().toPayload();
    }
}

QStringList tst_StatusReader::lines() const
{
    QStringList out;
    for (const QList<QVariant> &args : *m_debug)
        out.append(args.at(0).toString() + " (" + args.at(1).toString() + ")");
    return out;
}

void tst_StatusReader::readRecord_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("expectedLines");

    struct Row { int record; const char *code; const char *name; const char *signal; };
    const Row rows[] = {
        {0, "P10", "getDetectStruct", "detectRcvd"},
        {1, "PC0", "getCmdStruct", "cmdStateRcvd"},
        {2, "PA0", "getAdjStruct", "adjStateRcvd"},
        {3, "PV0", "getVarStruct", "avarStateRcvd"},
    };
    for (const Row &r : rows) {
        const QString n = QString::fromLatin1(r.code);
        QTest::newRow(qPrintable(n + " accepted")) << r.record << Answer::Good << 1 << QStringList();
        QTest::newRow(qPrintable(n + " silent is a timeout"))
            << r.record << Answer::Silent << 0 << QStringList();
        QTest::newRow(qPrintable(n + " wrong checksum"))
            << r.record << Answer::WrongChecksum << 2
            << QStringList{QString("wrong checksum! %1 (red)").arg(r.name)};
        QTest::newRow(qPrintable(n + " no start byte"))
            << r.record << Answer::NoStartByte << 3 << QStringList{"no 0x01 at start (red)"};
    }
}

void tst_StatusReader::readRecord()
{
    QFETCH(int, record);
    QFETCH(Answer, answer);
    QFETCH(int, result);
    QFETCH(QStringList, expectedLines);

    // A payload with every byte set, so that a stored record is unmistakable.
    const Request request = StatusReader::recordRequest(record);
    const CommandFormat &format = CommandTable::format(request);
    QByteArray payload(format.crcOffset - 8, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(i + 1);
    m_device.setPayload(CommandTable::code(request), payload);
    m_device.setPollAnswer(answer);
    const QByteArray before = recordPayload(record);

    const char *signalOf[] = {SIGNAL(detectRcvd()), SIGNAL(cmdStateRcvd()), SIGNAL(adjStateRcvd()),
                              SIGNAL(avarStateRcvd())};
    QSignalSpy refreshed(m_reader.get(), signalOf[record]);

    QCOMPARE(int(m_reader->readRecord(record)), result);

    QCOMPARE(lines(), expectedLines);
    QCOMPARE(refreshed.count(), result == 1 ? 1 : 0);
    QCOMPARE(recordPayload(record), result == 1 ? payload : before);
}

void tst_StatusReader::pollNumbers_countEveryPollOfItsRecord()
{
    QSignalSpy answered(m_reader.get(), &StatusReader::pollAnswered);
    for (Answer answer : {Answer::Good, Answer::Silent, Answer::WrongChecksum, Answer::Good}) {
        m_device.setPollAnswer(answer);
        m_reader->readRecord(0);
    }
    m_device.setPollAnswer(Answer::Good);
    m_reader->readRecord(2);
    QCOMPARE(answered.count(), 3);
    const quint64 numbers[] = {1, 4, 1};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(answered.at(i).at(0).value<PollReading>().number, numbers[i]);
}

void tst_StatusReader::delayPps_isStoredInNanoseconds_data()
{
    QTest::addColumn<qint32>("delay");
    QTest::addColumn<qint16>("external");
    QTest::addColumn<qint32>("nanoseconds");
    QTest::newRow("37 gives 370 ns") << 37 << qint16(1) << 370;
    QTest::newRow("zero") << 0 << qint16(0) << 0;
    QTest::newRow("negative delay") << -5 << qint16(1) << -50;
}

void tst_StatusReader::delayPps_isStoredInNanoseconds()
{
    QFETCH(qint32, delay);
    QFETCH(qint16, external);
    QFETCH(qint32, nanoseconds);
    QByteArray payload;
    Frame::appendI32(payload, delay);
    Frame::appendI16(payload, 0);
    Frame::appendI16(payload, external);
    m_device.setPayload("P30", payload);
    m_reader->setDebugLevel(1);
    QSignalSpy ready(m_reader.get(), &StatusReader::currentOffset_1PPS_isReady);

    QCOMPARE(m_reader->getDelayPPS(), Frame::Result::Accepted);

    QCOMPARE(ready.count(), 1);
    const PPS_DELAY pps = m_records->results.get().pps;
    QCOMPARE(qint32(pps.delay), nanoseconds);
    QCOMPARE(pps.external, external);
    QCOMPARE(lines(), QStringList{QString("1PPS delay is %1 ns (black)").arg(nanoseconds)});
}

void tst_StatusReader::dacCodes_areReportedNotStored()
{
    QCOMPARE(m_reader->getDACcodes(), Frame::Result::Accepted);
    QCOMPARE(lines(), QStringList({"DAC1(coarce) = 1234 (black)", "DAC2(fine) = 567 (black)"}));
}

void tst_StatusReader::deviceInfo_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("debugLevel");
    QTest::addColumn<QStringList>("expectedLines");
    QTest::addColumn<bool>("reported");
    QTest::newRow("good, quiet") << Answer::Good << 0 << QStringList() << true;
    QTest::newRow("good, debug") << Answer::Good << 1
                                 << QStringList{"OK checksum! getDeviceInfo (black)"} << true;
    QTest::newRow("wrong checksum") << Answer::WrongChecksum << 1
                                    << QStringList{"wrong checksum! getSoftwareVersion (red)"} << false;
    QTest::newRow("no start byte") << Answer::NoStartByte << 0
                                   << QStringList{"no 0x01 at start (red)"} << false;
    QTest::newRow("no answer") << Answer::Silent << 1 << QStringList() << false;
}

void tst_StatusReader::deviceInfo()
{
    QFETCH(Answer, answer);
    QFETCH(int, debugLevel);
    QFETCH(QStringList, expectedLines);
    QFETCH(bool, reported);
    QByteArray payload(32, '\0');
    payload.replace(0, 6, "2.20.5");
    payload[27] = 5;  // answer byte 35
    payload[28] = 5;
    payload[29] = 2;
    payload[30] = 1;
    payload[31] = 7;
    m_device.setPayload("7N0", payload);
    m_device.setOtherAnswer(answer);
    m_reader->setDebugLevel(debugLevel);
    QSignalSpy info(m_reader.get(), &StatusReader::setDeviceInfo);

    m_reader->getDeviceInfo();

    QCOMPARE(lines(), expectedLines);
    QCOMPARE(info.count(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(info.first(), QVariantList({"2.20.5", "", "", "5", "05", "2", "01.07"}));
    }
}

QTEST_GUILESS_MAIN(tst_StatusReader)
#include "tst_statusreader.moc"
