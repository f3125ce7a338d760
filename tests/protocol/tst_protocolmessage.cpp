#include "protocol/LineFramer.h"
#include "protocol/ProtocolMessage.h"

#include <QtTest>

class tst_ProtocolMessage : public QObject
{
    Q_OBJECT

private slots:
    void parse_refusesWhatIsNoMessage_data();
    void parse_refusesWhatIsNoMessage();
    void framer_splitsLinesAndStopsAtTheBound_data();
    void framer_splitsLinesAndStopsAtTheBound();
};

void tst_ProtocolMessage::parse_refusesWhatIsNoMessage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");  // empty: accepted
    QTest::newRow("a message") << QByteArray(R"({"type":"ping","id":1})") << "";
    QTest::newRow("garbage") << QByteArray("\x16\x03\x01\x02\x00", 5) << "no JSON";
    QTest::newRow("an array") << QByteArray("[1,2]") << "no JSON object";
    QTest::newRow("no type") << QByteArray(R"({"id":1})") << "no \"type\"";
    QTest::newRow("a type that is a number") << QByteArray(R"({"type":5})") << "no \"type\"";
    QTest::newRow("a type with markup") << QByteArray(R"({"type":"<ping>"})") << "no \"type\"";
    QTest::newRow("one byte over the bound") << QByteArray(R"({"type":"ping","x":")") + QByteArray(100, 'a') + "\"}" << "larger than 100";
    QTest::newRow("a number beyond double") << QByteArray(R"({"type":"ping","id":1e999})") << "no JSON";
    QTest::newRow("two messages on one line") << QByteArray(R"({"type":"ping"}{"type":"ping"})") << "no JSON";
}

void tst_ProtocolMessage::parse_refusesWhatIsNoMessage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    ProtocolMessage m;
    QString why;
    QCOMPARE(ProtocolMessage::parse(bytes, 100, &m, &why), reason.isEmpty());
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void tst_ProtocolMessage::framer_splitsLinesAndStopsAtTheBound_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("a line in three pieces, CR LF")
        << QList<QByteArray>{"ab", "c", "d\r\nef\n"} << QList<QByteArray>{"abcd", "ef"} << false;
    QTest::newRow("empty lines skipped") << QList<QByteArray>{"\n\r\nx\n"} << QList<QByteArray>{"x"} << false;
    QTest::newRow("exactly the bound") << QList<QByteArray>{"12345678\n"} << QList<QByteArray>{"12345678"} << false;
    QTest::newRow("the bound and CR") << QList<QByteArray>{"12345678\r\n"} << QList<QByteArray>{"12345678"} << false;
    QTest::newRow("two over (room for a CR), no line end yet")
        << QList<QByteArray>{"ok\n1234", "567890"} << QList<QByteArray>{"ok"} << true;
    QTest::newRow("nothing taken after the overflow")
        << QList<QByteArray>{"123456789012\nok\n", "ok\n"} << QList<QByteArray>{} << true;
}

void tst_ProtocolMessage::framer_splitsLinesAndStopsAtTheBound()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(bool, overflow);
    LineFramer framer(8);
    QList<QByteArray> got;
    for (const QByteArray &c : chunks)
        got += framer.feed(c);
    QCOMPARE(got, lines);
    QCOMPARE(framer.overflowed(), overflow);
}

QTEST_APPLESS_MAIN(tst_ProtocolMessage)
#include "tst_protocolmessage.moc"
