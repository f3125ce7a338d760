#include "ProgramFolder.h"
#include "FolderSim.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

// The built ksr583-monitor as a process of its own, left alone with
// ksr583-sim for its first minute: what it publishes is seen only from
// outside, in the files it writes.
class tst_MonitorProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void firstMinute_publishesTheInstrumentsState();

private:
    bool startMonitor();
    QString logSummary() const;

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<FolderSim> m_sim;
    std::unique_ptr<QProcess> m_monitor;
};

namespace {
// The status file is first written on the 60 s timer's first tick.
constexpr int FirstMinuteMs = 75000;
}  // namespace

void tst_MonitorProcess::initTestCase()
{
    const QString reason = ProgramFolder::monitorUnavailableReason();
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
}

void tst_MonitorProcess::cleanup()
{
    if (m_monitor && m_monitor->state() != QProcess::NotRunning) {
        m_monitor->kill();
        m_monitor->waitForFinished(5000);
    }
    m_monitor.reset();
    m_sim.reset();
    m_folder.reset();
}

bool tst_MonitorProcess::startMonitor()
{
    m_monitor = m_folder->startMonitor();
    return m_monitor != nullptr;
}

QString tst_MonitorProcess::logSummary() const
{
    return "program log:\n" + m_folder->programLog() + "\nparameter log:\n" + m_folder->parameterLog()
           + "\nmonitor's stderr:\n" + QString::fromLocal8Bit(m_monitor->readAllStandardError());
}

void tst_MonitorProcess::firstMinute_publishesTheInstrumentsState()
{
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_sim = std::make_unique<FolderSim>(m_folder->path());
    if (!m_sim->start())
        QSKIP(qPrintable(m_sim->error()));
    QVERIFY(m_folder->writeConfiguration(m_sim->link(), 0));
    QVERIFY(startMonitor());

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(m_folder->filePath("Status/SupervisInfo.ini")),
                             FirstMinuteMs);
    QVERIFY2(m_monitor->state() == QProcess::Running, qPrintable(logSummary()));
    QVERIFY2(m_folder->programLog().contains(" Program started.\n"), qPrintable(logSummary()));

    // The simulator starts in switching mode, still estimating its signals for
    // two minutes: channel 1 the reference, 2 its backup, 3 qualifying for
    // 450 s, no signal on 4.
    const auto status = m_folder->ini("Status/SupervisInfo.ini");
    status->beginGroup("Device_status");
    QCOMPARE(status->value("Synchronization_status").toString(), QStringLiteral("INIT"));
    QCOMPARE(status->value("Mode").toString(), QStringLiteral("SWITCH"));
    QCOMPARE(status->value("RefChan").toString(), QStringLiteral("1"));
    QCOMPARE(status->value("RefName").toString(), QStringLiteral("Channel 1"));
    QCOMPARE(status->value("Err_status").toString(), QStringLiteral("NORMAL"));
    QVERIFY(status->value("Freq_offset").toString() != "0");
    status->endGroup();
    const QStringList channelStatus{"INGROUP", "BACKUP1", "INCVAL", "NOTDETECT"};
    for (int n = 1; n <= 4; ++n) {
        status->beginGroup(QStringLiteral("Channel_%1").arg(n));
        QCOMPARE(status->value("Name").toString(), QStringLiteral("Channel %1").arg(n));
        QCOMPARE(status->value("Status").toString(), channelStatus.at(n - 1));
        const int timeLeft = status->value("TimeCval").toInt();
        if (n == 3)
            QVERIFY2(timeLeft > 300 && timeLeft < 450, qPrintable(QString::number(timeLeft)));
        else
            QCOMPARE(timeLeft, 0);
        status->endGroup();
    }

    // Header, the row written at start-up, and the one a minute later that
    // shows the instrument as the window did.
    QTRY_VERIFY_WITH_TIMEOUT(m_folder->parameterLog().count('\n') >= 3, 10000);
    const QStringList rows = m_folder->parameterLog().split('\n', Qt::SkipEmptyParts);
    QVERIFY(rows.at(0).startsWith("Time      Mode "));
    const QString row = rows.at(2);
    // Fixed columns: time 10, mode 25, then 10 for each channel's status.
    const auto column = [&row](int start, int width) { return row.mid(start, width).trimmed(); };
    QCOMPARE(column(10, 25), QStringLiteral("SWITCHING mode"));
    QCOMPARE(column(35, 10), QStringLiteral("+"));
    QCOMPARE(column(45, 10), QStringLiteral("BACKUP 1"));
    QVERIFY2(QRegularExpression("^\\d+ s$").match(column(55, 10)).hasMatch(), qPrintable(row));
    QCOMPARE(column(65, 10), QStringLiteral("-"));

    // Polled every second: all four status records went out many times.
    for (const char *code : {"P10", "PC0", "PA0", "PV0"})
        QVERIFY2(m_sim->requests().count(QString(code) + " -") >= 10, code);
    QVERIFY2(m_monitor->state() == QProcess::Running, qPrintable(logSummary()));
}

QTEST_GUILESS_MAIN(tst_MonitorProcess)
#include "tst_monitorprocess.moc"
