#include "link/COMThread.h"
#include "status/StatusPublisher.h"
#include "status/SupervisInfoWriter.h"
#include "metrics/MetricsCollector.h"
#include "tests/support/FakeInstrument.h"
#include "tests/support/LinkHarness.h"
#include "tests/support/VirtualClock.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

constexpr int Interval = 10;  // MonitorInterval, seconds

// The instrument's records, all four in one reading. Before the outage:
// averaging, channel 1 in the group. After it: switching, channel 2 the
// reference and channel 1 its backup, a signal on channel 3 too, other
// offsets.
PollReading beforeOutage()
{
    PollReading r;
    r.detect.chan[0] = r.detect.chan[1] = 1;
    r.cmdState.syncStatus = 1;
    r.cmdState.chanWord[0] = 1;
    r.adjState.freqOffset = 1.5e-13f;
    r.adjState.chanOffset[0] = 3.25e-12f;
    r.varState.value[0] = 2e-13f;
    return r;
}

PollReading afterOutage()
{
    PollReading r;
    r.detect.chan[0] = r.detect.chan[1] = r.detect.chan[2] = 1;
    r.cmdState.syncStatus = 1;
    r.cmdState.flags = 0x1000;
    r.cmdState.chanWord[0] = 0x0011;
    r.cmdState.chanWord[1] = 1;
    r.adjState.freqOffset = -2.5e-13f;
    r.adjState.chanOffset[0] = -4.75e-12f;
    r.varState.value[0] = 6e-14f;
    return r;
}

PollReading reading(PollReading r, int record, const QDateTime &utc)
{
    r.record = PollReading::Record(record);
    r.utc = utc;
    return r;
}

// One answer the link reports: a poll of `record`, or (-1) anything else.
struct Answer {
    qint64 atMs;
    int record;
};

// The answers of the first minute after a reconnection at 0, on the link's
// schedule: one record every interval in turn, from where the order stood at
// the loss, answered 20..450 ms after the request. The poll numbered
// `missed` times out: 10 s of waiting and 1 s to reopen the port hold the
// next one back, and its record waits a whole round. A journal download of
// `journalMs` after the first poll answers once a second and holds the polls.
QVector<Answer> firstMinute(int firstRecord, int firstPollMs, int missed, int journalMs, quint32 seed)
{
    QRandomGenerator jitter(seed);
    QVector<Answer> answers;
    qint64 start = firstPollMs;
    for (int n = 0; start < 60000; ++n) {
        if (n == missed) {
            start += 11000;
            continue;
        }
        const qint64 answeredAt = start + jitter.bounded(20, 450);
        answers.append({answeredAt, (firstRecord + n) % 4});
        start += Interval * 1000;
        if (n == 0 && journalMs > 0) {
            for (qint64 at = answeredAt + 150; at < answeredAt + journalMs; at += jitter.bounded(900, 1000))
                answers.append({at, -1});
            start = qMax(start, (answeredAt + journalMs) / 1000 * 1000 + 1000);
        }
    }
    return answers;
}

}  // namespace

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
    void reconnect_firstMinute_claimsOnlyWhatWasReadAgain_data();
    void reconnect_firstMinute_claimsOnlyWhatWasReadAgain();
    void hungWindowOrSilentInstrument_notUpWithinTwoPolls_data();
    void hungWindowOrSilentInstrument_notUpWithinTwoPolls();
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
        return QString::fromStdString(MetricsCollector::exposition(*m_publisher->board()));
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
    m_link->setMonitorInterval(Interval);
    m_publisher = std::make_unique<StatusPublisher>(m_link.get(), m_clock);
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

void tst_StatusPublisher::reconnect_firstMinute_claimsOnlyWhatWasReadAgain_data()
{
    QTest::addColumn<int>("firstRecord");
    QTest::addColumn<int>("firstPollMs");
    QTest::addColumn<int>("missed");
    QTest::addColumn<int>("journalMs");
    QTest::newRow("lost before DETECT, polled again at once") << 0 << 300 << -1 << 0;
    QTest::newRow("lost before ADJ_STATE: DETECT and the command state come last") << 2 << 850 << -1 << 0;
    QTest::newRow("the command state's poll times out: unsure all minute") << 3 << 120 << 2 << 0;
    QTest::newRow("a journal download holds the polls for 40 s") << 1 << 500 << -1 << 40000;
}

// Every second a status file write, and every half second a scrape, may fall
// on in the first minute after a reconnection: only what was read again is told, and the
// instrument counts as heard only within two poll intervals of an answer.
void tst_StatusPublisher::reconnect_firstMinute_claimsOnlyWhatWasReadAgain()
{
    QFETCH(int, firstRecord);
    QFETCH(int, firstPollMs);
    QFETCH(int, missed);
    QFETCH(int, journalMs);
    emit m_link->connected();
    for (int record = 0; record < 4; ++record) {
        m_clock->advance(Interval * 1000);
        emit m_link->pollAnswered(reading(beforeOutage(), record, m_clock->nowUtc()));
    }
    writeStatusFile();
    m_clock->advance(65000);
    emit m_link->searchStarted();
    emit m_link->noConnection();
    m_clock->advance(180000);
    writeStatusFile();
    emit m_link->connected();
    const qint64 reconnectedMs = m_clock->monotonicMs();

    // Key, before the outage, after it.
    const QVector<QStringList> keys = {
        {"Device_status/Err_status", "NOCONNECTION", "NORMAL"},
        {"Device_status/Synchronization_status", "NOSYNC", "OK"},
        {"Device_status/Mode", "SUM", "SWITCH"},
        {"Device_status/Freq_offset", "1.5e-13", "-2.5e-13"},
        {"Device_status/RefChan", "<missing>", "2"},
        {"Channel_1/Status", "INGROUP", "BACKUP1"},
        {"Channel_3/Status", "NOTDETECT", "NOTINGROUP"},
        {"Channel_1/Offset", "3.25e-12", "-4.75e-12"},
    };
    // Family, its sample after the outage, the records it draws on.
    const QVector<std::pair<QStringList, QList<int>>> samples = {
        {{"ksr583_synchronized ", "ksr583_synchronized 1"}, {1}},
        {{"ksr583_mode{", "ksr583_mode{mode=\"switching\"} 1"}, {1}},
        {{"ksr583_frequency_offset ", "ksr583_frequency_offset -2.5e-13"}, {2}},
        {{"ksr583_channel_frequency_offset{", "ksr583_channel_frequency_offset{channel=\"1\",name=\"Rb 1\"} -4.75e-12"}, {2}},
        {{"ksr583_channel_adev_1s{", "ksr583_channel_adev_1s{channel=\"1\",name=\"Rb 1\"} 6e-14"}, {3}},
        {{"ksr583_channel_signal_detected{", "ksr583_channel_signal_detected{channel=\"3\",name=\"Cs 3\"} 1"}, {0}},
        {{"ksr583_channel_state{", "ksr583_channel_state{channel=\"2\",name=\"Rb 2\",state=\"reference\"} 1"}, {0, 1}},
    };

    const QVector<Answer> answers = firstMinute(firstRecord, firstPollMs, missed, journalMs,
                                                qHash(QString::fromLatin1(QTest::currentDataTag())));
    QSet<int> read;
    qint64 heardMs = 0;
    int next = 0;
    for (qint64 t = 250; t <= 60000; t += 500) {
        for (; next < answers.size() && answers.at(next).atMs <= t; ++next) {
            const Answer &a = answers.at(next);
            m_clock->advance(reconnectedMs + a.atMs - m_clock->monotonicMs());
            emit m_link->answered(m_clock->nowUtc());
            if (a.record >= 0) {
                emit m_link->pollAnswered(reading(afterOutage(), a.record, m_clock->nowUtc()));
                read.insert(a.record);
            }
            heardMs = a.atMs;
        }
        m_clock->advance(reconnectedMs + t - m_clock->monotonicMs());
        const QString when = QStringLiteral("%1 ms after the reconnection: ").arg(t);

        if (t % 1000 == 250) {
            writeStatusFile();
            const bool current = read.contains(0) && read.contains(1) && read.contains(2);
            QCOMPARE(value("Device_status/Connection"), QStringLiteral("YES"));
            for (const QStringList &key : keys)
                QVERIFY2(value(key[0]) == key[current ? 2 : 1], qPrintable(when + key[0] + "=" + value(key[0])));
        }

        const QStringList lines = metrics().split('\n');
        const bool up = t - heardMs < 2 * Interval * 1000;
        QVERIFY2(lines.contains(up ? "ksr583_up 1" : "ksr583_up 0"), qPrintable(when + metrics()));
        for (const auto &sample : samples) {
            const bool known = up && std::all_of(sample.second.begin(), sample.second.end(),
                                                 [&read](int record) { return read.contains(record); });
            const bool shown = std::any_of(lines.begin(), lines.end(),
                                           [&](const QString &l) { return l.startsWith(sample.first[0]); });
            QVERIFY2(shown == known && (!known || lines.contains(sample.first[1])),
                     qPrintable(when + sample.first[1] + "\n" + metrics()));
        }
    }
}

void tst_StatusPublisher::hungWindowOrSilentInstrument_notUpWithinTwoPolls_data()
{
    QTest::addColumn<bool>("windowHangs");
    QTest::newRow("the window's thread hangs") << true;
    QTest::newRow("the instrument falls silent, the link still connected") << false;
}

// The real link in virtual time; this thread is the window's. Scrapes run on
// a thread of their own, as the endpoint's do.
void tst_StatusPublisher::hungWindowOrSilentInstrument_notUpWithinTwoPolls()
{
    QFETCH(bool, windowHangs);
    FakeInstrument device;
    QRandomGenerator jitter(5);  // the link thread's alone
    LinkHarness h;
    // Status polls are answered late at times; the identification, which
    // waits only 100 ms, never is.
    device.setOnRequest([&](const QByteArray &code3) {
        device.setAnswerDelayMs(code3.startsWith('P') ? int(jitter.bounded(5, 400)) : 5);
    });
    h.line().setListed({"COM1"});
    h.line().attach("COM1", device.device());
    h.link().setPortName("COM1");
    h.link().setMonitorInterval(Interval);
    StatusPublisher publisher(&h.link(), h.sharedClock());
    const auto scrapeAt = [&](qint64 ms, bool windowRuns) {
        if (!h.runTo(ms))
            return QStringLiteral("the link hung");
        if (windowRuns)
            QCoreApplication::processEvents();
        std::string text;
        std::thread([&] { text = MetricsCollector::exposition(*publisher.board()); }).join();
        return QString::fromStdString(text);
    };
    const auto up = [](const QString &scrape) { return scrape.contains("\nksr583_up 1\n"); };
    h.start();
    for (qint64 t = 1000; t <= 45000; t += 1000)
        QVERIFY2(up(scrapeAt(t, true)), qPrintable(QString::number(t)));

    constexpr qint64 HangMs = 45500;
    QVERIFY(up(scrapeAt(HangMs, true)));
    if (!windowHangs)
        device.setAllAnswers(FakeInstrument::Answer::Silent);
    for (qint64 t = HangMs + 500; t <= HangMs + 30000; t += 1000) {
        const QString scrape = scrapeAt(t, !windowHangs);
        if (t >= HangMs + 2 * Interval * 1000)
            QVERIFY2(!up(scrape) && !scrape.contains("ksr583_synchronized"), qPrintable(QString::number(t)));
    }
    QVERIFY(h.link().isConnected());

    device.setAllAnswers(FakeInstrument::Answer::Good);
    QVERIFY(up(scrapeAt(HangMs + 42000, true)));
    QVERIFY(h.finish());
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
