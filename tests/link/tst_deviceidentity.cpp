#include "link/DeviceIdentity.h"
#include "link/Frame.h"

#include <QtTest>

class tst_DeviceIdentity : public QObject
{
    Q_OBJECT

private slots:
    void identificationText_data();
    void identificationText();
    void qualifies_data();
    void qualifies();
    void deviceInfo_data();
    void deviceInfo();
};

namespace {

// An FN0 answer: eight header bytes, then the text field as given.
QByteArray identAnswer(const QByteArray &field)
{
    return QByteArray("\x01" "FN0", 4) + QByteArray(4, '\0') + field;
}

// A 7N0 answer with the given bytes placed at their answer offsets.
QByteArray infoAnswer(const QList<QPair<int, QByteArray>> &fields)
{
    QByteArray a(44, '\0');
    a[0] = 0x01;
    for (const auto &f : fields)
        a.replace(f.first, f.second.size(), f.second);
    return a;
}

}  // namespace

void tst_DeviceIdentity::identificationText_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero padding is cut off")
        << identAnswer(QByteArray("KSR-583 #0042").leftJustified(16, '\0')) << "KSR-583 #0042";
    QTest::newRow("text cut at its first zero, garbage behind it ignored")
        << identAnswer(QByteArray("KSR-583\0junk#99", 15) + '\0') << "KSR-583";
    QTest::newRow("full 16 bytes without a zero")
        << identAnswer("KSR-583 #0042abc") << "KSR-583 #0042abc";
    QTest::newRow("bytes past the field are not part of the text")
        << identAnswer(QByteArray("KSR-583 #0042abc") + "TRAILER") << "KSR-583 #0042abc";
    QTest::newRow("short answer gives what is there")
        << identAnswer("KSR-583") << "KSR-583";
    QTest::newRow("Cyrillic in Windows-1251")
        << identAnswer(QByteArray("\xCA\xD1\xD0-583").leftJustified(16, '\0'))
        << QString::fromUtf8("КСР-583");
    QTest::newRow("header only") << identAnswer(QByteArray()) << QString();
}

void tst_DeviceIdentity::identificationText()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, text);
    QCOMPARE(DeviceIdentity::identificationText(answer), text);
}

void tst_DeviceIdentity::qualifies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("qualifies");
    QTest::newRow("KSR-583 with serial") << "KSR-583 #0042" << true;
    QTest::newRow("model number alone") << "583" << true;
    QTest::newRow("another instrument of the family") << "KSR-582 #0042" << false;
    QTest::newRow("58 and 3 apart") << "58-3" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_DeviceIdentity::qualifies()
{
    QFETCH(QString, text);
    QFETCH(bool, qualifies);
    QCOMPARE(DeviceIdentity::qualifies(text), qualifies);
}

void tst_DeviceIdentity::deviceInfo_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("all fields")
        << infoAnswer({{8, "2.20.5"}, {16, "12.03.2024"}, {27, "0042"},
                       {35, QByteArray(1, 5)}, {36, QByteArray(1, 5)}, {37, QByteArray(1, 3)},
                       {38, QByteArray("\x01\x07", 2)}})
        << QStringList{"2.20.5", "12.03.2024", "0042", "5", "05", "3", "01.07"};
    QTest::newRow("fields without a zero stop at their end")
        << infoAnswer({{8, "ABCDEFGH"}, {16, "01.02.2025X"}, {27, "SN123456"}})
        << QStringList{"ABCDEFGH", "01.02.2025X", "SN123456", "0", "00", "0", "00.00"};
    QTest::newRow("large bytes are unsigned")
        << infoAnswer({{35, "\xFF"}, {36, "\xC8"}, {37, "\x80"}, {38, QByteArray("\x63\x64", 2)}})
        << QStringList{"", "", "", "255", "200", "128", "99.100"};
}

void tst_DeviceIdentity::deviceInfo()
{
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, texts);
    const DeviceInfo info = DeviceIdentity::deviceInfo(answer);
    QCOMPARE(QStringList({info.softwareVersNumber, info.softwareVersDate, info.serialNumber,
                          info.comparatorVers, info.outherComparatorVers, info.PLIS_CPUvers,
                          info.OSFvers}),
             texts);
}

QTEST_GUILESS_MAIN(tst_DeviceIdentity)
#include "tst_deviceidentity.moc"
