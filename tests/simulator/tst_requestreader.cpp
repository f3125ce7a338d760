#include "simulator/RequestReader.h"

#include "link/Frame.h"

#include <QtTest>

namespace {

QByteArray req(Request r, const QByteArray &payload = QByteArray())
{
    return Frame::request(r, payload);
}

QByteArray withByte(QByteArray b, int i, char v)
{
    b[i] = v;
    return b;
}

}  // namespace

class tst_RequestReader : public QObject
{
    Q_OBJECT

private slots:
    void feed_findsTheRequests_data();
    void feed_findsTheRequests();
    void splitRequest_isTakenWhenComplete();
    void partialFrameAfterAPause_isDropped();
    void anyPrefixOfNoise_neverCrashes();
};

void tst_RequestReader::feed_findsTheRequests_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("codes");

    const QByteArray p10 = req(Request::Detect);
    const QByteArray m10 = req(Request::FreqOffset, QByteArray::fromHex("0000803f"));
    const QByteArray q10 = req(Request::AveWrite, QByteArray(16, '\x01'));
    QTest::newRow("one request") << p10 << QStringList{"P10"};
    QTest::newRow("three in one write") << p10 + m10 + q10 << QStringList{"P10", "m10", "Q10"};
    QTest::newRow("garbage before") << QByteArray("\xff\x55\x00zz", 5) + m10 << QStringList{"m10"};
    QTest::newRow("garbage with a false start byte")
        << QByteArray("\x01P1\x01\x01", 5) + p10 << QStringList{"P10"};
    QTest::newRow("unknown code skipped") << QByteArray("\x01ZZZ", 4) + p10 << QStringList{"P10"};
    QTest::newRow("bad CRC skipped, next request taken")
        << withByte(p10, 4, char(p10.at(4) ^ 1)) + m10 << QStringList{"m10"};
    QTest::newRow("cut-off request before two whole ones")
        << p10.left(5) + p10 + p10 << QStringList{"P10", "P10"};
    QTest::newRow("arbitrary trailing bytes accepted") << withByte(withByte(p10, 6, 'x'), 7, 'y')
                                                       << QStringList{"P10"};
    QTest::newRow("nothing but noise") << QByteArray(300, '\x7e') << QStringList{};
}

void tst_RequestReader::feed_findsTheRequests()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, codes);
    RequestReader reader;
    QStringList got;
    const QList<QByteArray> frames = reader.feed(input, 0);
    for (const QByteArray &f : frames)
        got.append(QString::fromLatin1(f.mid(1, 3)));
    QCOMPARE(got, codes);
    QVERIFY(reader.pending() < 24);
}

void tst_RequestReader::splitRequest_isTakenWhenComplete()
{
    RequestReader reader;
    const QByteArray frame = Frame::request(Request::QualIntervals, QByteArray::fromHex("5802BC0220038403"));
    for (int i = 0; i < frame.size() - 1; ++i)
        QVERIFY(reader.feed(frame.mid(i, 1), 10).isEmpty());
    const QList<QByteArray> frames = reader.feed(frame.right(1), 10);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first(), frame);
    QCOMPARE(reader.pending(), 0);
    QCOMPARE(reader.discarded(), qint64(0));
}

void tst_RequestReader::partialFrameAfterAPause_isDropped()
{
    RequestReader reader;
    const QByteArray p10 = Frame::request(Request::Detect);
    QVERIFY(reader.feed(p10.left(5), 0).isEmpty());
    // Half a request, then silence: the next request must not be eaten by it.
    const QList<QByteArray> frames = reader.feed(p10, RequestReader::StaleMs + 1);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(reader.discarded(), qint64(5));
}

void tst_RequestReader::anyPrefixOfNoise_neverCrashes()
{
    QByteArray noise;
    for (int i = 0; i < 400; ++i)
        noise.append(char((i * 131 + 7) & 0xFF));
    for (int i = 0; i < noise.size(); i += 13)
        noise[i] = Frame::StartByte;
    noise.append(Frame::request(Request::PpsDelay));
    RequestReader reader;
    int found = 0;
    for (int i = 0; i < noise.size(); i += 3)
        found += reader.feed(noise.mid(i, 3), 0).size();
    QCOMPARE(found, 1);
}

QTEST_GUILESS_MAIN(tst_RequestReader)
#include "tst_requestreader.moc"
