#include "link/COMThread.h"
#include "status/StatusPublisher.h"
#include "status/SupervisInfoWriter.h"
#include "metrics/MetricsCollector.h"
#include "tests/support/VirtualClock.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The snapshot other programs are told, and the status file written from it,
// fed by the link's signals (the link itself does not run: the test speaks
// for it).
class tst_StatusPublisher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void statusFile_followsTheInstrumentAway_andBack();
    void counts_commandsJournalsAndLinkCounters();

private:
    void answerAllFourPolls(qint16 syncStatus);
    void writeStatusFile() const
    {
        QVERIFY(SupervisInfoWriter::write(m_dir->filePath("SupervisInfo.ini"), m_publisher->snapshot(), m_clock->now()));
    }
    QString value(const QString &key) const;
    QString metrics() const
    {
        return QString::fromStdString(MetricsCollector::exposition(*m_publisher->board()->current()));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<COMThread> m_link;
    std::unique_ptr<StatusPublisher> m_publisher;
};

void tst_StatusPublisher::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_clock = std::make_shared<VirtualClock>();
    m_link = std::make_unique<COMThread>();
    m_publisher = std::make_unique<StatusPublisher>(m_link.get());
    m_publisher->setChannelNames({"Rb 1", "Rb 2", "Cs 3", "H 4"});
}

void tst_StatusPublisher::cleanup()
{
    m_publisher.reset();
    m_link.reset();
    m_dir.reset();
}

// One poll of each record, channel 1 in the group in switching mode.
void tst_StatusPublisher::answerAllFourPolls(qint16 syncStatus)
{
    PollReading r;
    r.utc = m_clock->nowUtc();
    r.record = PollReading::Detect;
    r.detect.chan[0] = 1;
    emit m_link->pollAnswered(r);
    r.record = PollReading::CmdState;
    r.cmdState.syncStatus = syncStatus;
    r.cmdState.flags = 0x1000;
    r.cmdState.chanWord[0] = 1;
    emit m_link->pollAnswered(r);
    r.record = PollReading::AdjState;
    r.adjState.freqOffset = 1.5e-13f;
    emit m_link->pollAnswered(r);
    r.record = PollReading::VarStruct;
    emit m_link->pollAnswered(r);
}

QString tst_StatusPublisher::value(const QString &key) const
{
    QSettings ini(m_dir->filePath("SupervisInfo.ini"), QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    return ini.value(key, "<missing>").toString();
}

void tst_StatusPublisher::statusFile_followsTheInstrumentAway_andBack()
{
    emit m_link->connected();
    answerAllFourPolls(1);
    const QString answeredAt = m_clock->now().toString("yyyy.MM.dd hh:mm:ss");
    writeStatusFile();
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NORMAL"));
    QCOMPARE(value("Device_status/Synchronization_status"), QStringLiteral("OK"));
    QCOMPARE(value("Device_status/Connection"), QStringLiteral("YES"));
    QCOMPARE(value("Device_status/LastAnswer"), answeredAt);
    QCOMPARE(value("Channel_1/Status"), QStringLiteral("INGROUP"));
    QVERIFY(metrics().contains("ksr583_synchronized 1\n"));

    // Silenced until the link gives up: it starts a search, then reports the loss.
    m_clock->advance(90000);
    emit m_link->searchStarted();
    emit m_link->noConnection();
    writeStatusFile();
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NOCONNECTION"));
    QCOMPARE(value("Device_status/Synchronization_status"), QStringLiteral("NOSYNC"));
    QCOMPARE(value("Device_status/Connection"), QStringLiteral("NO"));
    QCOMPARE(value("Device_status/LastAnswer"), answeredAt);
    QCOMPARE(value("Device_status/LastUpdate"), m_clock->now().toString("yyyy.MM.dd hh:mm:ss"));
    QCOMPARE(value("Channel_1/Status"), QStringLiteral("INGROUP"));
    QVERIFY(metrics().contains("ksr583_up 0\n"));
    QVERIFY(!metrics().contains("ksr583_synchronized"));

    // Back: nothing is claimed until it is read again.
    emit m_link->connected();
    QVERIFY(!metrics().contains("ksr583_synchronized"));
    answerAllFourPolls(1);
    writeStatusFile();
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NORMAL"));
    QCOMPARE(value("Device_status/Synchronization_status"), QStringLiteral("OK"));
    QCOMPARE(value("Device_status/LastAnswer"), m_clock->now().toString("yyyy.MM.dd hh:mm:ss"));
}

void tst_StatusPublisher::counts_commandsJournalsAndLinkCounters()
{
    emit m_link->commandFinished(COMMAND_SET_MODE, true);
    emit m_link->commandFinished(COMMAND_SET_MODE, false);
    emit m_link->commandFinished(COMMAND_SET_MODE, false);
    emit m_link->commandFinished(23, true);   // not a command: not counted
    emit m_link->commandFinished(-1, false);
    JournalReading journal;
    journal.outcome = JournalReading::Incomplete;
    emit m_link->journalRead(journal);
    emit m_link->countersChanged({40, 5, 2, 3});
    emit m_link->setDeviceInfo("3.1", "2024-05-01", "0042", "", "", "", "");

    const StatusSnapshot s = *m_publisher->board()->current();
    QCOMPARE(s.commands[COMMAND_SET_MODE][0], quint64(1));
    QCOMPARE(s.commands[COMMAND_SET_MODE][1], quint64(2));
    QCOMPARE(s.journalDownloads[JournalReading::Incomplete], quint64(1));
    QCOMPARE(s.counters.pollTimeouts, quint64(5));
    QCOMPARE(s.serialNumber, QStringLiteral("0042"));
    QCOMPARE(s.firmware, QStringLiteral("3.1"));
    quint64 total = 0;
    for (const auto &byOutcome : s.commands)
        total += byOutcome[0] + byOutcome[1];
    QCOMPARE(total, quint64(3));
}

QTEST_GUILESS_MAIN(tst_StatusPublisher)
#include "tst_statuspublisher.moc"
