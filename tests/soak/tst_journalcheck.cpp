#include "JournalCheck.h"
#include "SoakEvent.h"

#include "link/JournalFile.h"

#include <QtTest>

class tst_JournalCheck : public QObject
{
    Q_OBJECT

private slots:
    void file_isWholeOnlyWithEveryReceivedRecord_data();
    void file_isWholeOnlyWithEveryReceivedRecord();
    void outcomes_takeAnnouncedAndMissingRecords();
};

namespace {

QByteArray file(int records)
{
    QString text = JournalFile::header();
    for (int i = 1; i <= records; ++i) {
        JournalRecord r;
        r.number = quint16(i);
        r.event = 0x0104;  // "Switching on unit"
        text += JournalFile::line(r);
    }
    return text.toUtf8();
}

SoakEvent driverEvent(const QString &kind, const QString &text)
{
    return {1, kind, {text}};
}

}  // namespace

void tst_JournalCheck::file_isWholeOnlyWithEveryReceivedRecord_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("whole");

    QTest::newRow("header and every record") << file(3) << 3 << true;
    QTest::newRow("a header alone for a download that received nothing") << file(0) << 0 << true;
    QTest::newRow("a record short") << file(2) << 3 << false;
    QTest::newRow("the last line cut off") << file(3).chopped(20) << 3 << false;
    QByteArray torn = file(3);
    torn.insert(torn.indexOf("ing on unit"), '\n');
    QTest::newRow("a line broken in two within the file") << torn << 4 << false;
    QTest::newRow("no header") << file(3).mid(file(0).size()) << 2 << false;
    QTest::newRow("not UTF-8") << file(3).replace("Switching", "Sw\xff\xfe") << 3 << false;
}

void tst_JournalCheck::file_isWholeOnlyWithEveryReceivedRecord()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QFETCH(bool, whole);

    const QString problem = JournalCheck::checkFile(bytes, expected);
    QVERIFY2(problem.isEmpty() == whole, qPrintable(problem));
}

void tst_JournalCheck::outcomes_takeAnnouncedAndMissingRecords()
{
    const QVector<SoakEvent> events = {
        driverEvent("journalsize", "300"),
        driverEvent("window", "History has been downloaded"),
        driverEvent("debug", "Journal records not received: 4 of 300; they are left out of the file"),
        driverEvent("journalsize", "0"),
        driverEvent("window", "Loading failed!"),
        driverEvent("journalsize", "0"),
        driverEvent("window", "No records in the history"),
        driverEvent("journalsize", "12"),
        driverEvent("window", "History has been downloaded"),
    };
    const JournalCheck::Outcomes o = JournalCheck::outcomes(events);
    QCOMPARE(o.written.size(), 2);
    QCOMPARE(o.written.at(0).announced, 300);
    QCOMPARE(o.written.at(0).missing, 4);
    QCOMPARE(o.written.at(1).announced, 12);
    QCOMPARE(o.written.at(1).missing, 0);
    QCOMPARE(o.failed, 1);
    QCOMPARE(o.empty, 1);
}

QTEST_GUILESS_MAIN(tst_JournalCheck)
#include "tst_journalcheck.moc"
