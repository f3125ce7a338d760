#include "link/CommandParameters.h"
#include "metrics/MetricsCollector.h"
#include "tests/status/StatusSamples.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The metrics read from a snapshot, as the text a scrape gets.
class tst_MetricsCollector : public QObject
{
    Q_OBJECT

private slots:
    void neverConnected_publishesOnlyWhatIsKnown();
    void connected_publishesTheInstrumentsState_data();
    void connected_publishesTheInstrumentsState();
    void channelState_data();
    void channelState();
    void lostInstrument_leavesItsStateOut();
    void silentInstrument_isNotUp_andItsStateLeftOut_data();
    void silentInstrument_isNotUp_andItsStateLeftOut();
    void exposition_passesPromtool();

private:
    static StatusSnapshot connectedSnapshot();
    // Scraped the moment the instrument was heard from, unless told otherwise.
    static QString text(const StatusSnapshot &s, qint64 nowMs = 0)
    {
        return QString::fromStdString(MetricsCollector::exposition(s, nowMs));
    }
};

// Switching mode, synchronised: channel 1 the reference, 2 backup 1,
// 3 qualifying with 45.67 s left, no signal on 4.
StatusSnapshot tst_MetricsCollector::connectedSnapshot()
{
    StatusSnapshot s = StatusSamples::switchingSynchronised();
    s.lastAnswerUtc = QDateTime::fromMSecsSinceEpoch(1767811503250, Qt::UTC);
    s.channelNames = QStringList{"Rb \"1\"", "Cs\\2", "H\n3", "Водород 4"};
    s.cmd->qualState[2] = 1;
    s.cmd->qualTimeLeft[2] = 4567;
    ADJ_STATE adj;
    adj.freqOffset = 1.25e-13f;
    adj.freqDrift = -3e-17f;
    adj.chanOffset[0] = 2.5e-12f;
    VAR_STRUCT var;
    var.value[0] = 1.5e-13f;
    s.adj = adj;
    s.var = var;
    s.serialNumber = "0042";
    s.firmware = "3.1";
    s.counters = {120, 3, 2, 1};
    s.commands[COMMAND_SET_FREQ_OFFSET] = {2, 1};
    s.journalDownloads[JournalReading::Incomplete] = 1;
    return s;
}

void tst_MetricsCollector::neverConnected_publishesOnlyWhatIsKnown()
{
    const QString t = text(StatusSnapshot());
    for (const char *line : {"ksr583_up 0\n", "ksr583_polls_total 0\n", "ksr583_connections_total 0\n",
                             "ksr583_commands_total{command=\"set_mode\",outcome=\"failed\"} 0\n",
                             "ksr583_journal_downloads_total{outcome=\"ok\"} 0\n",
                             "ksr583_build_info{version=\"2.20.05.091\"} 1\n"})
        QVERIFY2(t.contains(QLatin1String(line)), line);
    for (const char *name : {"ksr583_last_answer_timestamp_seconds", "ksr583_synchronized", "ksr583_mode",
                             "ksr583_frequency_offset", "ksr583_initial_estimation", "ksr583_channel_"})
        QVERIFY2(!t.contains(QLatin1String(name)), name);
}

void tst_MetricsCollector::connected_publishesTheInstrumentsState_data()
{
    QTest::addColumn<QString>("line");
    const char *const lines[] = {
        "ksr583_up 1",
        "ksr583_last_answer_timestamp_seconds 1767811503.25",
        "ksr583_synchronized 1",
        "ksr583_initial_estimation_seconds_left 0",
        "ksr583_mode{mode=\"switching\"} 1",
        "ksr583_mode{mode=\"averaging\"} 0",
        "ksr583_frequency_offset 1.25e-13",
        "ksr583_frequency_trend -3e-17",
        "ksr583_channel_frequency_offset{channel=\"1\",name=\"Rb \\\"1\\\"\"} 2.5e-12",
        "ksr583_channel_adev_1s{channel=\"1\",name=\"Rb \\\"1\\\"\"} 1.5e-13",
        "ksr583_channel_signal_detected{channel=\"4\",name=\"Водород 4\"} 0",
        "ksr583_channel_state{channel=\"2\",name=\"Cs\\\\2\",state=\"backup1\"} 1",
        "ksr583_channel_state{channel=\"3\",name=\"H\\n3\",state=\"qualifying\"} 1",
        "ksr583_channel_qualification_seconds_left{channel=\"3\",name=\"H\\n3\"} 45.67",
        "ksr583_polls_total 120",
        "ksr583_poll_timeouts_total 3",
        "ksr583_checksum_errors_total 2",
        "ksr583_connections_total 1",
        "ksr583_commands_total{command=\"set_freq_offset\",outcome=\"ok\"} 2",
        "ksr583_commands_total{command=\"set_freq_offset\",outcome=\"failed\"} 1",
        "ksr583_journal_downloads_total{outcome=\"incomplete\"} 1",
        "ksr583_build_info{version=\"2.20.05.091\",serial=\"0042\",firmware=\"3.1\"} 1",
    };
    for (const char *line : lines)
        QTest::newRow(line) << QString::fromUtf8(line);
}

void tst_MetricsCollector::connected_publishesTheInstrumentsState()
{
    QFETCH(QString, line);
    QVERIFY(text(connectedSnapshot()).split('\n').contains(line));
}

void tst_MetricsCollector::channelState_data()
{
    QTest::addColumn<int>("detect");
    QTest::addColumn<int>("chanWord");
    QTest::addColumn<int>("qualState");
    QTest::addColumn<bool>("switching");
    QTest::addColumn<QString>("state");
    QTest::newRow("in group, switching: the reference") << 1 << 0x0001 << 0 << true << "reference";
    QTest::newRow("in group, averaging") << 1 << 0x0001 << 0 << false << "in_group";
    QTest::newRow("backup number 3") << 1 << 0x0031 << 0 << true << "backup3";
    QTest::newRow("qualifying") << 1 << 0 << 1 << true << "qualifying";
    QTest::newRow("detected, not in the group") << 1 << 0 << 0 << true << "not_in_group";
    QTest::newRow("no signal") << 0 << 0 << 0 << true << "not_detected";
    QTest::newRow("error byte without signal") << 0x0100 << 0 << 0 << true << "error";
    QTest::newRow("role 5 has no word: no state at all") << 1 << 0x0051 << 0 << true << "";
}

void tst_MetricsCollector::channelState()
{
    QFETCH(int, detect);
    QFETCH(int, chanWord);
    QFETCH(int, qualState);
    QFETCH(bool, switching);
    QFETCH(QString, state);
    StatusSnapshot s = connectedSnapshot();
    s.detect->chan[0] = qint16(detect);
    s.cmd->chanWord[0] = qint16(chanWord);
    s.cmd->qualState[0] = qint16(qualState);
    s.cmd->flags = switching ? 0x1000 : 0;

    QCOMPARE(QString::fromStdString(MetricsCollector::channelStateName(s, 1)), state);
    const QStringList ones = text(s).split('\n').filter(QRegularExpression("^ksr583_channel_state\\{channel=\"1\".* 1$"));
    QCOMPARE(ones.size(), state.isEmpty() ? 0 : 1);
}

void tst_MetricsCollector::lostInstrument_leavesItsStateOut()
{
    StatusSnapshot s = connectedSnapshot();
    s.connected = false;
    const QString t = text(s);
    QVERIFY(t.contains("ksr583_up 0\n"));
    QVERIFY(t.contains("ksr583_last_answer_timestamp_seconds 1767811503.25\n"));
    QVERIFY(t.contains("ksr583_polls_total 120\n"));
    for (const char *name : {"ksr583_synchronized", "ksr583_frequency_offset", "ksr583_channel_"})
        QVERIFY2(!t.contains(QLatin1String(name)), name);
}

void tst_MetricsCollector::silentInstrument_isNotUp_andItsStateLeftOut_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("silentMs");
    QTest::addColumn<bool>("up");
    QTest::newRow("10 s polls, heard 19.9 s ago") << 10 << 19900 << true;
    QTest::newRow("10 s polls, heard 20 s ago") << 10 << 20000 << false;
    QTest::newRow("60 s polls, heard 100 s ago") << 60 << 100000 << true;
    QTest::newRow("interval 0 polls every second: heard 1.5 s ago") << 0 << 1500 << true;
    QTest::newRow("interval 0, heard 2 s ago") << 0 << 2000 << false;
}

void tst_MetricsCollector::silentInstrument_isNotUp_andItsStateLeftOut()
{
    QFETCH(int, interval);
    QFETCH(int, silentMs);
    QFETCH(bool, up);
    StatusSnapshot s = connectedSnapshot();
    s.monitorIntervalS = interval;
    s.heardMs = 86400000;
    const QString t = text(s, s.heardMs + silentMs);
    QVERIFY(t.contains(up ? "ksr583_up 1\n" : "ksr583_up 0\n"));
    for (const char *name : {"ksr583_synchronized", "ksr583_frequency_offset", "ksr583_channel_"})
        QCOMPARE(t.contains(QLatin1String(name)), up);
    QVERIFY(t.contains("ksr583_last_answer_timestamp_seconds 1767811503.25\n"));
    QVERIFY(t.contains("ksr583_polls_total 120\n"));
}

void tst_MetricsCollector::exposition_passesPromtool()
{
    const QString promtool = QStandardPaths::findExecutable("promtool");
    if (promtool.isEmpty())
        QSKIP("promtool is not installed (Debian package prometheus)");
    QProcess check;
    check.start(promtool, {"check", "metrics"});
    QVERIFY(check.waitForStarted());
    check.write(MetricsCollector::exposition(connectedSnapshot(), 0).c_str());
    check.closeWriteChannel();
    QVERIFY(check.waitForFinished(30000));
    const QString said = check.readAllStandardOutput() + check.readAllStandardError();
    QVERIFY2(check.exitCode() == 0, qPrintable(said));
    QVERIFY2(said.trimmed().isEmpty(), qPrintable(said));
}

QTEST_APPLESS_MAIN(tst_MetricsCollector)
#include "tst_metricscollector.moc"
