#include "link/JournalFile.h"

#include <QtTest>

namespace {

JournalRecord record(quint16 number)
{
    JournalRecord r;
    r.number = number;
    return r;
}

JournalFile::Slots numbered(const QList<int> &numbers)
{
    JournalFile::Slots entries;
    for (int n : numbers) {
        if (n < 0)
            entries.emplace_back();  // did not arrive
        else
            entries.emplace_back(record(quint16(n)));
    }
    return entries;
}

// A record stamped with the device's own date and time fields.
JournalRecord stamped(quint16 number, const QDate &date, const QTime &time)
{
    JournalRecord r;
    r.number = number;
    r.day = quint8(date.day());
    r.month = quint8(date.month());
    r.year = quint16(date.year());
    r.hour = quint16(time.hour());
    r.minute = quint8(time.minute());
    r.second = quint8(time.second());
    return r;
}

JournalRecord switchingOn()
{
    JournalRecord r = stamped(1, QDate(2026, 1, 7), QTime(15, 45, 2));
    r.event = 0x0104;
    r.channels = 0x0017;
    r.dac1 = 1234;
    r.dac2 = 5678;
    r.offset = 1.25e-12f;
    r.trend = -3.5e-15f;
    r.rfd[0] = 1e-11f;
    r.rfd[2] = -2.5e-12f;
    r.rfd[3] = 9.99e-10f;
    return r;
}

JournalRecord unknownEvent()
{
    JournalRecord r = stamped(2, QDate(2025, 12, 31), QTime(9, 5, 0));
    r.event = 0x3700;
    r.dac2 = 65535;
    return r;
}

const QString kHeader = QStringLiteral(
    "Number Date and time         Event                          Cause                            "
    "Channels   DAC1   DAC2   Offset    Trend     RFD1      RFD2      RFD3      RFD4     \n");
const QString kSwitchingOn = QStringLiteral(
    "1      07.01.2026  15:45:02  Switching on unit              Freq. diff. exceeds lim          "
    " + C  -  *  * 1234   5678   1.25E-12  -3.50E-15 1.00E-11  0.00E+00  -2.50E-12 9.99E-10  \n");
const QString kUnknownEvent = QStringLiteral(
    "2      31.12.2025  09:05:00                                 Unknown reason                   "
    " *  *  *  * 0      65535  0.00E+00  0.00E+00  0.00E+00  0.00E+00  0.00E+00  0.00E+00  \n");

}  // namespace

class tst_JournalFile : public QObject
{
    Q_OBJECT

private slots:
    void record_roundTripsThroughItsPayload();
    void texts_data();
    void texts();
    void channelsText_data();
    void channelsText();
    void slotOrder_data();
    void slotOrder();
    void text_isTheGoldenJournal();
    void fileName_data();
    void fileName();
    void write_intoCyrillicFolder_replacesTheFile();
    void russian_headerKeepsItsColumns();
};

void tst_JournalFile::record_roundTripsThroughItsPayload()
{
    const JournalRecord r = switchingOn();
    const QByteArray payload = r.toPayload();
    QCOMPARE(payload.size(), JournalRecord::Size);
    // Event word 0x0104 at offset 30: cause byte first on the wire.
    QCOMPARE(payload.mid(30, 2).toHex(), QByteArray("0401"));
    QCOMPARE(payload.mid(32, 8).toHex(), QByteArray("0701ea07022d0f00"));
    QCOMPARE(JournalRecord::fromPayload(payload).toPayload().toHex(), payload.toHex());
}

void tst_JournalFile::texts_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("cause");

    QTest::newRow("0x0104") << 0x0104 << "Switching on unit" << "Freq. diff. exceeds lim";
    QTest::newRow("0x3700 has a blank event") << 0x3700 << " " << "Unknown reason";
    QTest::newRow("last of both tables") << 0x3617 << "Change master signal" << "Incorrect values";
    QTest::newRow("event 0 and cause 24 are blanks") << 0x0018 << " " << " ";
    QTest::newRow("top codes are blanks") << 0xFFFF << " " << " ";
}

void tst_JournalFile::texts()
{
    QFETCH(int, word);
    QFETCH(QString, event);
    QFETCH(QString, cause);
    JournalRecord r;
    r.event = quint16(word);
    QCOMPARE(JournalFile::eventText(r.eventCode()), event);
    QCOMPARE(JournalFile::causeText(r.causeCode()), cause);
}

void tst_JournalFile::channelsText_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("text");

    QTest::newRow("no channel") << 0x0000 << " *  *  *  * ";
    QTest::newRow("channel 1 present") << 0x0001 << " -  *  *  * ";
    QTest::newRow("channel 1 in use and C") << 0x0007 << " + C  *  *  * ";
    QTest::newRow("C without presence is not shown") << 0x0002 << " *  *  *  * ";
    QTest::newRow("each channel its own nibble") << 0x7531 << " -  - C  +  + C ";
    QTest::newRow("channel 2 with only its C bit is absent") << 0x0020 << " *  *  *  * ";
}

void tst_JournalFile::channelsText()
{
    QFETCH(int, flags);
    QFETCH(QString, text);
    QCOMPARE(JournalFile::channelsText(quint16(flags)), text);
}

void tst_JournalFile::slotOrder_data()
{
    QTest::addColumn<QList<int>>("numbers");  // per slot, -1: did not arrive
    QTest::addColumn<QVector<int>>("order");

    QTest::newRow("record 1 in slot 3 of 6") << QList<int>{4, 3, 2, 1, 6, 5} << QVector<int>{3, 2, 1, 0, 5, 4};
    QTest::newRow("record 1 in slot 0") << QList<int>{1, 3, 2} << QVector<int>{0, 2, 1};
    QTest::newRow("no record 1 starts at slot 0") << QList<int>{7, 6, 5} << QVector<int>{0, 2, 1};
    QTest::newRow("first record 1 wins") << QList<int>{2, 1, 1} << QVector<int>{1, 0, 2};
    QTest::newRow("missing slot keeps its place") << QList<int>{4, -1, 2, 1, 6, 5}
                                                  << QVector<int>{3, 2, 1, 0, 5, 4};
    QTest::newRow("empty journal") << QList<int>{} << QVector<int>{};
}

void tst_JournalFile::slotOrder()
{
    QFETCH(QList<int>, numbers);
    QFETCH(QVector<int>, order);
    QCOMPARE(JournalFile::slotOrder(numbered(numbers)), order);
}

void tst_JournalFile::text_isTheGoldenJournal()
{
    // Slot 0 holds record 2, slot 1 did not arrive, slot 2 holds record 1.
    JournalFile::Slots entries;
    entries.emplace_back(unknownEvent());
    entries.emplace_back();
    entries.emplace_back(switchingOn());
    QCOMPARE(JournalFile::text(entries), kHeader + kSwitchingOn + kUnknownEvent);
}

void tst_JournalFile::fileName_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");

    QTest::newRow("item without #") << "COM3" << "20260107_154502.log";
    QTest::newRow("serial after #") << "COM3 KSR-583 #1234 A" << "20260107_154502#1234_A.log";
    QTest::newRow("after the last #, trimmed") << "COM3 #a#  b 12 " << "20260107_154502#b_12.log";
    QTest::newRow("path climbing is cut") << "COM3 #../../etc/passwd" << "20260107_154502#____etc_passwd.log";
    QTest::newRow("drive and backslash are cut") << "COM3 #C:\\Windows" << "20260107_154502#C__Windows.log";
    QTest::newRow("characters Windows refuses") << "COM3 #a<b>c|d?e*f\"g" << "20260107_154502#a_b_c_d_e_f_g.log";
    QTest::newRow("runs of dots") << "COM3 #...." << "20260107_154502#__.log";
    QTest::newRow("Cyrillic serial is kept") << QString::fromUtf8("COM3 #Ключ 5")
                                             << QString::fromUtf8("20260107_154502#Ключ_5.log");
}

void tst_JournalFile::fileName()
{
    QFETCH(QString, item);
    QFETCH(QString, name);
    const QDateTime utc(QDate(2026, 1, 7), QTime(15, 45, 2), Qt::UTC);
    QCOMPARE(JournalFile::fileName(utc, item), name);
    QCOMPARE(QFileInfo(name).fileName(), name);
}

void tst_JournalFile::write_intoCyrillicFolder_replacesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QString::fromUtf8("Журнал прибора"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QString::fromUtf8("20260107_154502#Ключ.log"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }

    JournalFile::Slots entries;
    entries.emplace_back(switchingOn());
    QVERIFY(JournalFile::write(path, entries));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromUtf8(file.readAll()), kHeader + kSwitchingOn);
}

void tst_JournalFile::russian_headerKeepsItsColumns()
{
    QTranslator russian;
    QVERIFY(russian.load(QStringLiteral(":/Brontel583_ru")));
    QCoreApplication::installTranslator(&russian);
    const QString header = JournalFile::header();
    const QString event = JournalFile::eventText(1);
    const QString cause = JournalFile::causeText(4);
    QCoreApplication::removeTranslator(&russian);

    QCOMPARE(event, QString::fromUtf8("Включение прибора"));
    QVERIFY(cause != QLatin1String("Freq. diff. exceeds lim"));
    // Columns are counted in characters, so Cyrillic titles line up too.
    QCOMPARE(header.size(), kHeader.size());
    QCOMPARE(header.indexOf(QString::fromUtf8("Событие")), kHeader.indexOf(QLatin1String("Event")));
}

QTEST_GUILESS_MAIN(tst_JournalFile)
#include "tst_journalfile.moc"
