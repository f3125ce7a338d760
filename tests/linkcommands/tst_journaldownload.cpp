#include "CommandRig.h"

#include "link/Frame.h"
#include "link/JournalDownload.h"
#include "link/JournalRecord.h"

#include <QtTest>

namespace {

const QString kItem = QStringLiteral("COM5 KSR-583 #1234 A");

QByteArray sizeAnswer(int count)
{
    QByteArray p;
    Frame::appendU16(p, quint16(count));
    return CommandRig::goodAnswer("G00", p);
}

QByteArray recordAnswer(int number)
{
    JournalRecord r;
    r.number = quint16(number);
    r.event = 0x0104;
    r.day = 7;
    r.month = 1;
    r.year = 2026;
    r.dac1 = quint16(1000 + number);
    return CommandRig::goodAnswer("G-0", r.toPayload());
}

// The record numbers in the file, in file order.
QList<int> numbersIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<int> numbers;
    file.readLine();  // header
    while (!file.atEnd())
        numbers.append(file.readLine().left(7).trimmed().toInt());
    return numbers;
}

}  // namespace

class tst_JournalDownload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void records_areWrittenFromTheSlotHoldingRecordOne();
    void emptyJournal_writesNoFile();
    void noSizeAnswer_reportsFailure();
    void missingRecords_areLeftOutAndCounted_data();
    void missingRecords_areLeftOutAndCounted();
    void instrumentGoneMidway_restIsNotAskedFor_data();
    void instrumentGoneMidway_restIsNotAskedFor();
    void eachDownload_startsEmpty();
    void moreThan810Records_areCapped();
    void unwritableFolder_isReported();
    void outcome_isReturnedAndReadRecordsAreHandedOn_data();
    void outcome_isReturnedAndReadRecordsAreHandedOn();
    void clear_data();
    void clear();

private:
    // The instrument's journal: record numbers per slot, -1 for an answer
    // that never comes, -2 for one that comes after the wait.
    void journal(const QList<int> &numbers);
    QStringList logFiles() const;
    QString onlyLogFile() const;

    std::unique_ptr<CommandRig> m_rig;
    std::unique_ptr<JournalDownload> m_download;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSignalSpy> m_total;
    std::unique_ptr<QSignalSpy> m_ready;
    int m_next = 0;
};

void tst_JournalDownload::init()
{
    qRegisterMetaType<JournalReading>();
    m_rig = std::make_unique<CommandRig>();
    m_download = std::make_unique<JournalDownload>(m_rig->io);
    m_rig->listen(m_download.get());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_total = std::make_unique<QSignalSpy>(m_download.get(), &JournalDownload::setNumberOfJournalRec);
    m_ready = std::make_unique<QSignalSpy>(m_download.get(), &JournalDownload::setNumberOfReadyRec);
}

void tst_JournalDownload::cleanup()
{
    m_total.reset();
    m_ready.reset();
    m_download.reset();
    m_rig.reset();
    m_dir.reset();
}

void tst_JournalDownload::journal(const QList<int> &numbers)
{
    m_next = 0;
    m_rig->on("G00", [numbers, this](const QByteArray &) {
        m_next = 0;
        return FakeReply{sizeAnswer(numbers.size()), 5};
    });
    m_rig->on("G-0", [numbers, this](const QByteArray &) {
        const int n = numbers.value(m_next++, -1);
        if (n == -1)
            return FakeReply{};
        if (n == -2)
            return FakeReply{recordAnswer(99), 1500};
        return FakeReply{recordAnswer(n), 5};
    });
}

QStringList tst_JournalDownload::logFiles() const
{
    return QDir(m_dir->path()).entryList({QStringLiteral("*.log")}, QDir::Files);
}

QString tst_JournalDownload::onlyLogFile() const
{
    const QStringList files = logFiles();
    return files.size() == 1 ? QDir(m_dir->path()).filePath(files.first()) : QString();
}

static QList<int> values(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).toInt());
    return out;
}

void tst_JournalDownload::records_areWrittenFromTheSlotHoldingRecordOne()
{
    journal({4, 3, 2, 1, 6, 5});
    m_download->download(m_dir->path(), kItem);

    QCOMPARE(values(*m_total), QList<int>{6});
    QCOMPARE(values(*m_ready), (QList<int>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(m_rig->lines, QStringList{"black: History has been downloaded"});
    const QString path = onlyLogFile();
    QVERIFY2(QFileInfo(path).fileName().startsWith(QLatin1String("20260107_1545")), qPrintable(path));
    QVERIFY(path.endsWith(QLatin1String("#1234_A.log")));
    QCOMPARE(numbersIn(path), (QList<int>{1, 2, 3, 4, 5, 6}));
}

void tst_JournalDownload::emptyJournal_writesNoFile()
{
    journal({});
    m_download->download(m_dir->path(), kItem);

    QCOMPARE(values(*m_total), QList<int>{0});
    QVERIFY(m_ready->isEmpty());
    QCOMPARE(m_rig->lines, QStringList{"black: No records in the history"});
    QCOMPARE(m_rig->codes(), QStringList{"G00"});
    QVERIFY(logFiles().isEmpty());
}

void tst_JournalDownload::noSizeAnswer_reportsFailure()
{
    m_rig->silence("G00");
    m_download->download(m_dir->path(), kItem);

    QCOMPARE(values(*m_total), QList<int>{0});
    QCOMPARE(values(*m_ready), QList<int>{0});
    QCOMPARE(m_rig->lines, QStringList{"red: Loading failed!"});
    QCOMPARE(m_rig->codes(), QStringList{"G00"});
    QVERIFY(logFiles().isEmpty());
}

void tst_JournalDownload::missingRecords_areLeftOutAndCounted_data()
{
    QTest::addColumn<QList<int>>("journalSlots");
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<QString>("line");

    QTest::newRow("one record does not arrive")
        << QList<int>{3, -1, 1, 4} << QList<int>{1, 3, 4}
        << "red: Journal records not received: 1 of 4; they are left out of the file";
    QTest::newRow("a late record does not shift the ones after it")
        << QList<int>{2, -2, 1, 4, 3} << QList<int>{1, 2, 3, 4}
        << "red: Journal records not received: 1 of 5; they are left out of the file";
}

void tst_JournalDownload::missingRecords_areLeftOutAndCounted()
{
    QFETCH(QList<int>, journalSlots);
    QFETCH(QList<int>, written);
    QFETCH(QString, line);

    journal(journalSlots);
    m_download->download(m_dir->path(), kItem);

    // The journal tab finishes when the count reaches N, missing or not.
    QCOMPARE(values(*m_ready).last(), journalSlots.size());
    QCOMPARE(m_rig->lines, (QStringList{"black: History has been downloaded", line}));
    QCOMPARE(numbersIn(onlyLogFile()), written);
}

void tst_JournalDownload::instrumentGoneMidway_restIsNotAskedFor_data()
{
    QTest::addColumn<QList<int>>("journalSlots");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QList<int>>("written");

    QTest::newRow("four records missed in a row: the download goes on")
        << QList<int>{1, -1, -1, -1, -1, 3, 2} << 7 << QList<int>{1, 2, 3};
    QTest::newRow("five missed in a row: the rest is not asked for")
        << QList<int>{1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1} << 7 << QList<int>{1, 2};
}

void tst_JournalDownload::instrumentGoneMidway_restIsNotAskedFor()
{
    QFETCH(QList<int>, journalSlots);
    QFETCH(int, asked);
    QFETCH(QList<int>, written);

    journal(journalSlots);
    m_download->download(m_dir->path(), kItem);

    QCOMPARE(m_rig->codes().count(QStringLiteral("G-0")), asked);
    QCOMPARE(values(*m_ready).last(), journalSlots.size());
    QCOMPARE(m_rig->lines.last(), QStringLiteral("red: Journal records not received: %1 of %2; they are left out of the file")
                                      .arg(journalSlots.size() - written.size())
                                      .arg(journalSlots.size()));
    QCOMPARE(numbersIn(onlyLogFile()), written);
}

void tst_JournalDownload::eachDownload_startsEmpty()
{
    journal({2, 1, 3});
    m_download->download(m_dir->path(), kItem);
    QFile::remove(onlyLogFile());

    journal({2, -1, 3});
    m_download->download(m_dir->path(), kItem);
    QCOMPARE(numbersIn(onlyLogFile()), (QList<int>{2, 3}));
}

void tst_JournalDownload::moreThan810Records_areCapped()
{
    QList<int> numbers;
    for (int i = 1; i <= 900; ++i)
        numbers.append(i);
    journal(numbers);
    m_download->download(m_dir->path(), kItem);

    QCOMPARE(values(*m_total), QList<int>{810});
    QCOMPARE(m_ready->size(), 810);
    QCOMPARE(m_rig->codes().count(QStringLiteral("G-0")), 810);
    QCOMPARE(m_rig->lines.first(),
             QStringLiteral("red: The device reports 900 journal records; only the first 810 are downloaded"));
    QCOMPARE(numbersIn(onlyLogFile()).size(), 810);
}

void tst_JournalDownload::unwritableFolder_isReported()
{
    journal({1, 2});
    const QString folder = m_dir->filePath(QStringLiteral("gone"));
    m_download->download(folder, kItem);

    QCOMPARE(values(*m_ready).last(), 2);
    QCOMPARE(m_rig->lines.size(), 2);
    QVERIFY(m_rig->lines.last().startsWith(QLatin1String("red: Cannot write the journal file ")));
}

void tst_JournalDownload::outcome_isReturnedAndReadRecordsAreHandedOn_data()
{
    QTest::addColumn<QList<int>>("journalSlots");  // empty with no size answer: silent
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QList<int>>("handedOn");

    QTest::newRow("all arrived") << QList<int>{2, 1} << true << int(JournalReading::Complete)
                                 << QList<int>{2, 1};
    QTest::newRow("one missing") << QList<int>{2, -1, 1} << true << int(JournalReading::Incomplete)
                                 << QList<int>{2, 1};
    QTest::newRow("file not written") << QList<int>{1} << false << int(JournalReading::Failed)
                                      << QList<int>{1};
    QTest::newRow("no size answer") << QList<int>() << true << int(JournalReading::Failed) << QList<int>();
}

void tst_JournalDownload::outcome_isReturnedAndReadRecordsAreHandedOn()
{
    QFETCH(QList<int>, journalSlots);
    QFETCH(bool, writable);
    QFETCH(int, outcome);
    QFETCH(QList<int>, handedOn);
    if (journalSlots.isEmpty())
        m_rig->silence("G00");
    else
        journal(journalSlots);
    QSignalSpy read(m_download.get(), &JournalDownload::journalRead);

    const bool complete = m_download->download(writable ? m_dir->path() : m_dir->filePath("gone"), kItem);

    QCOMPARE(complete, outcome == JournalReading::Complete);
    QCOMPARE(read.size(), 1);
    const JournalReading reading = read.first().first().value<JournalReading>();
    QCOMPARE(int(reading.outcome), outcome);
    QCOMPARE(reading.expected, journalSlots.size());
    QList<int> numbers;
    for (const JournalRecord &r : reading.records)
        numbers.append(r.number);
    QCOMPARE(numbers, handedOn);
}

void tst_JournalDownload::clear_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("line");
    QTest::newRow("cleared") << "good" << "black: History cleared successfully";
    QTest::newRow("no answer") << "silent" << "red: Clear history failed!";
}

void tst_JournalDownload::clear()
{
    QFETCH(QString, reply);
    QFETCH(QString, line);

    QByteArray bytes = CommandRig::goodAnswer("G!0", QByteArray());
    if (reply == QLatin1String("silent"))
        bytes.clear();
    m_rig->on("G!0", [bytes](const QByteArray &) { return FakeReply{bytes, 5}; });

    m_download->clear();
    QCOMPARE(m_rig->codes(), QStringList{"G!0"});
    QCOMPARE(m_rig->lines, QStringList{line});
}

QTEST_GUILESS_MAIN(tst_JournalDownload)
#include "tst_journaldownload.moc"
