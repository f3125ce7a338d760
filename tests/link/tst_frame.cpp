#include "link/CommandTable.h"
#include "link/Frame.h"

#include <QtTest>

class tst_Frame : public QObject
{
    Q_OBJECT

private slots:
    void crc_checkValue();
    void request_data();
    void request();
    void requestLengths_matchPayloadSizes();
    void check_data();
    void check();
    void truncatedOrGarbage_neverReadsPastTheBuffer();
    void table_everyRowIsConsistent();
};

void tst_Frame::crc_checkValue()
{
    QCOMPARE(Frame::crc16(QByteArray("123456789")), quint16(0x4B37));
}

void tst_Frame::request_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("DETECT poll") << Frame::request(Request::Detect)
                                 << QByteArray::fromHex("0150313064550000");
    QTest::newRow("ADJ_CMD_STATE poll") << Frame::request(Request::CmdState)
                                        << QByteArray::fromHex("01504330" "40F5" "0000");
}

void tst_Frame::request()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(' '), expected.toHex(' '));
}

void tst_Frame::requestLengths_matchPayloadSizes()
{
    for (const CommandFormat *row = CommandTable::begin(); row != CommandTable::end(); ++row) {
        const QByteArray frame = Frame::request(row->request, QByteArray(row->payloadSize, '\x55'), '1');
        QCOMPARE(frame.size(), 8 + row->payloadSize);
        QVERIFY(QList<int>({8, 12, 14, 16, 24}).contains(frame.size()));
        QCOMPARE(Frame::u16(frame, 4 + row->payloadSize),
                 Frame::crc16(frame.constData() + 1, 3 + row->payloadSize));
    }
}

namespace {

// A well-formed answer for `r`, with `p` as its payload.
QByteArray goodAnswer(Request r, const QByteArray &p = QByteArray(), char digit = '0')
{
    return Frame::answer(CommandTable::format(r), CommandTable::code(r, digit), p);
}

QByteArray withByte(QByteArray b, int i, char v)
{
    b[i] = v;
    return b;
}

}  // namespace

void tst_Frame::check_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("result");

    const QByteArray detect = goodAnswer(Request::Detect, QByteArray(8, '\x01'));
    QTest::newRow("minimum length accepted") << int(Request::Detect) << detect.left(20) << 1;
    QTest::newRow("one byte short is a timeout") << int(Request::Detect) << detect.left(19) << 0;
    QTest::newRow("extra bytes ignored") << int(Request::Detect) << detect + QByteArray(7, '\x7f') << 1;
    QTest::newRow("no start byte") << int(Request::Detect) << withByte(detect, 0, 0x02) << 3;
    QTest::newRow("start byte tested before checksum")
        << int(Request::Detect) << withByte(withByte(detect, 0, 0), 16, 0) << 3;

    QByteArray filler = detect;
    for (int i = 4; i < 8; ++i)
        filler[i] = char(0xA0 + i);
    const quint16 crc = Frame::crc16(filler.constData() + 1, 15);
    filler[16] = char(crc & 0xFF);
    filler[17] = char(crc >> 8);
    QTest::newRow("arbitrary bytes 4..7 covered by CRC") << int(Request::Detect) << filler << 1;

    QByteArray swapped = detect;
    swapped[16] = detect.at(17);
    swapped[17] = detect.at(16);
    QTest::newRow("CRC most significant byte first") << int(Request::Detect) << swapped << 2;

    const QByteArray mode = goodAnswer(Request::Mode, QByteArray(1, '\x02'), '2');
    QTest::newRow("M20 with CRC at 9") << int(Request::Mode) << mode.left(13) << 1;
    QByteArray modeAt8 = mode.left(13);
    const quint16 crc8 = Frame::crc16(modeAt8.constData() + 1, 7);
    modeAt8[8] = char(crc8 & 0xFF);
    modeAt8[9] = char(crc8 >> 8);
    QTest::newRow("M20 with CRC at 8") << int(Request::Mode) << modeAt8 << 2;

    QTest::newRow("wrong letter echo") << int(Request::SyncOn)
                                       << withByte(goodAnswer(Request::SyncOn), 1, 'X') << 4;
    QTest::newRow("m command wrong digit echo")
        << int(Request::FreqOffset) << withByte(goodAnswer(Request::FreqOffset, QByteArray(4, 0)), 2, '2') << 4;
    QTest::newRow("status polls do not check the echo")
        << int(Request::CmdState) << goodAnswer(Request::CmdState).replace(1, 1, "Z") << 2;
    QTest::newRow("journal taken on length alone")
        << int(Request::JournalNext) << QByteArray("\x01G-0") + QByteArray(52, '\xEE') << 1;
    QTest::newRow("identification taken on length alone")
        << int(Request::Identify) << QByteArray(1, '\x01') + QByteArray(23, 'x') << 1;
}

void tst_Frame::check()
{
    QFETCH(int, request);
    QFETCH(QByteArray, answer);
    QFETCH(int, result);
    const CommandFormat &format = CommandTable::format(Request(request));
    const char digit = Request(request) == Request::Mode ? '2' : '0';
    QCOMPARE(int(Frame::check(answer, format, CommandTable::code(Request(request), digit))), result);
}

void tst_Frame::truncatedOrGarbage_neverReadsPastTheBuffer()
{
    // Every table row against every prefix of a noisy buffer: only result codes.
    QByteArray noise;
    for (int i = 0; i < 120; ++i)
        noise.append(char((i * 37 + 1) & 0xFF));
    noise[0] = 0x01;
    for (const CommandFormat *row = CommandTable::begin(); row != CommandTable::end(); ++row) {
        for (int n = 0; n <= noise.size(); ++n) {
            const int r = int(Frame::check(noise.left(n), *row, QByteArray(row->code, 3)));
            QVERIFY(r >= 0 && r <= 4);
        }
    }
    QCOMPARE(Frame::u16(QByteArray("\x01"), 0), quint16(0));
    QCOMPARE(Frame::f32(QByteArray(3, '\xff'), 0), 0.0f);
    QCOMPARE(Frame::i32(QByteArray(8, '\xff'), -4), 0);
    QVERIFY(Frame::payload(QByteArray(10, 0), 8).isEmpty());
}

void tst_Frame::table_everyRowIsConsistent()
{
    for (const CommandFormat *row = CommandTable::begin(); row != CommandTable::end(); ++row) {
        if (row->crcOffset > 0)
            QCOMPARE(row->minAnswer, row->crcOffset + 4);
        QVERIFY(CommandTable::find(CommandTable::code(row->request, '3').constData()) == row);
        const QByteArray a = goodAnswer(row->request, QByteArray(), '3');
        QCOMPARE(int(Frame::check(a, *row, CommandTable::code(row->request, '3'))), 1);
    }
    QVERIFY(CommandTable::find("ZZZ") == nullptr);
}

QTEST_GUILESS_MAIN(tst_Frame)
#include "tst_frame.moc"
