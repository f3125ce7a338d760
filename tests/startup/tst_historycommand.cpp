#include "core/ParameterLog.h"
#include "history/HistoryStore.h"
#include "startup/HistoryCommand.h"
#include "startup/InstanceLock.h"
#include "status/StatusDisplay.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const qint64 T0 = QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();

// The history of a work folder: 500 offsets of channel 1, every 4 s.
void record(const QString &workdir)
{
    QDir().mkpath(workdir + QStringLiteral("/Logs"));
    HistoryStore store(HistoryStore::pathIn(workdir));
    store.addConnected(T0 - 1000, QStringLiteral("COM3"), QStringLiteral("KSR-583"));
    for (int i = 0; i < 500; ++i) {
        ADJ_STATE adj;
        adj.chanOffset[0] = float(1e-12 * std::sin(0.7 * i * i));
        store.addStatus(T0 + 4000 * i + (i * 7) % 13, adj);
    }
    QVERIFY(store.waitUntilWritten());
}

}  // namespace

// The built program, without a display, as a script runs it.
class tst_HistoryCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exportStability_writesTheTableOrSaysWhyNot_data();
    void exportStability_writesTheTableOrSaysWhyNot();
    void importParameterLogs_endsWithItsSummary();
    void besideARunningProgram_onlyTheImportIsRefused_data();
    void besideARunningProgram_onlyTheImportIsRefused();
    void times_areUtc_data();
    void times_areUtc();

private:
    int run(const QStringList &arguments, QString *out, QString *err);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_HistoryCommand::init()
{
    if (!QFileInfo(qEnvironmentVariable("KSR_MONITOR")).isExecutable())
        QSKIP("KSR_MONITOR does not name the built ksr583-monitor; run this test through ctest");
    m_dir = std::make_unique<QTemporaryDir>();
}

int tst_HistoryCommand::run(const QStringList &arguments, QString *out, QString *err)
{
    QProcess monitor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(display);
    // A GUI start would need the display that is not there, and fail.
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LC_ALL", "C");
    monitor.setProcessEnvironment(env);
    monitor.setWorkingDirectory(m_dir->path());
    monitor.start(qEnvironmentVariable("KSR_MONITOR"), arguments);
    if (!monitor.waitForFinished(30000) || monitor.exitStatus() != QProcess::NormalExit)
        return -1;
    *out = QString::fromUtf8(monitor.readAllStandardOutput());
    *err = QString::fromUtf8(monitor.readAllStandardError());
    return monitor.exitCode();
}

void tst_HistoryCommand::exportStability_writesTheTableOrSaysWhyNot_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("says");
    QTest::newRow("written") << true << "2026-03-02T00:00:00Z" << "out.csv" << 0 << "τ0 = 4 s";
    QTest::newRow("no history") << false << "2026-03-02T00:00:00Z" << "out.csv" << 2 << "No history";
    QTest::newRow("no readings in the range") << true << "2026-03-01T00:00:00Z" << "out.csv" << 3 << "No readings";
    QTest::newRow("unwritable file") << true << "2026-03-02T00:00:00Z" << "missing/out.csv" << 4 << "Cannot write";
    QTest::newRow("not a time") << true << "yesterday" << "out.csv" << 1 << "ISO 8601";
}

void tst_HistoryCommand::exportStability_writesTheTableOrSaysWhyNot()
{
    QFETCH(bool, history);
    QFETCH(QString, from);
    QFETCH(QString, output);
    QFETCH(int, exit);
    QFETCH(QString, says);
    const QString workdir = m_dir->filePath(QStringLiteral("lab"));
    if (history)
        record(workdir);
    const QString to = from.startsWith(QLatin1String("2026-03-01")) ? "2026-03-01T12:00:00Z" : "2026-03-02T01:00:00Z";
    QString out, err;
    QCOMPARE(run({"--workdir", workdir, "--export-stability", "channel1", "--from", from, "--to", to, "--output",
                  output},
                 &out, &err),
             exit);
    // The file is named from where the command was given.
    QFile table(m_dir->filePath(output));
    if (exit != 0) {
        QCOMPARE(err.count(QLatin1Char('\n')), 1);
        QVERIFY2(err.contains(says), qPrintable(err));
        QVERIFY(!table.exists());
        return;
    }
    QVERIFY2(out.startsWith(says), qPrintable(out));
    QVERIFY(table.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = table.readAll().split('\n');
    QCOMPARE(lines.first(), QByteArray("tau_s,oadev,oadev_low,oadev_high,oadev_n,mdev,mdev_low,mdev_high,mdev_n,"
                                       "tdev,tdev_low,tdev_high,tdev_n,ohdev,ohdev_low,ohdev_high,ohdev_n\r"));
    QVERIFY(lines.at(1).startsWith("4,"));
    QCOMPARE(lines.size(), 2 + 8);  // tau 4 s .. 512 s, and the end of the last line
}

void tst_HistoryCommand::importParameterLogs_endsWithItsSummary()
{
    const QString parameters = m_dir->filePath(QStringLiteral("lab/Logs/Parameters"));
    QVERIFY(QDir().mkpath(parameters));
    ParameterLog::Row row;
    row.mode = StatusDisplay::modeText(true);
    for (QString &status : row.status)
        status = QStringLiteral("+");
    row.offset = 1e-12f;
    QFile log(parameters + QStringLiteral("/20260302.log"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(ParameterLog::header(ParameterLog::titles()) + ParameterLog::row(QTime(8, 0), row)
              + ParameterLog::row(QTime(8, 1), row));
    log.close();
    QString out, err;
    QCOMPARE(run({"--workdir", m_dir->filePath(QStringLiteral("lab")), "--import-parameter-logs"}, &out, &err), 0);
    QVERIFY2(out.endsWith(QStringLiteral("Parameter logs imported: 2 rows from 1 files; skipped: 0 unreadable, "
                                         "0 already in the history, 0 without a reading, 0 older than the history "
                                         "keeps.\n")),
             qPrintable(out + err));
    QVERIFY(QFileInfo::exists(m_dir->filePath(QStringLiteral("lab/Logs/history.sqlite"))));
    // The folder's lock was held for the import only.
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("lab/") + InstanceLock::fileName())));
}

void tst_HistoryCommand::besideARunningProgram_onlyTheImportIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("says");
    QTest::newRow("import refused") << QStringList{"--import-parameter-logs"} << int(HistoryCommand::FolderInUse)
                                    << QStringLiteral("is in use by process %1").arg(QCoreApplication::applicationPid());
    QTest::newRow("export beside it") << QStringList{"--export-stability", "channel1", "--from", "2026-03-02T00:00:00Z",
                                                     "--to", "2026-03-02T01:00:00Z", "--output", "out.csv"}
                                      << 0 << "τ0 = 4 s";
    QTest::newRow("help beside it") << QStringList{"--help"} << 0 << "--import-parameter-logs";
}

void tst_HistoryCommand::besideARunningProgram_onlyTheImportIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exit);
    QFETCH(QString, says);
    const QString workdir = m_dir->filePath(QStringLiteral("lab"));
    record(workdir);
    // This test is the program that works in the folder.
    InstanceLock running(workdir);
    QCOMPARE(running.acquire(), InstanceLock::Outcome::Held);

    QString out, err;
    QCOMPARE(run(QStringList{"--workdir", workdir} + arguments, &out, &err), exit);
    if (exit != 0) {
        QCOMPARE(err.count(QLatin1Char('\n')), 1);
        QVERIFY2(err.contains(says), qPrintable(err));
        QVERIFY(out.isEmpty());
    } else {
        QVERIFY2(out.contains(says), qPrintable(out + err));
    }
}

void tst_HistoryCommand::times_areUtc_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("Z") << "2026-03-02T00:00:00Z" << T0;
    QTest::newRow("no zone is UTC") << "2026-03-02T00:00" << T0;
    QTest::newRow("a date") << "2026-03-02" << T0;
    QTest::newRow("an offset") << "2026-03-02T03:00:00+03:00" << T0;
    QTest::newRow("milliseconds") << "2026-03-02T00:00:00.250Z" << T0 + 250;
    QTest::newRow("not a time") << "02.03.2026" << qint64(0);
}

void tst_HistoryCommand::times_areUtc()
{
    QFETCH(QString, text);
    QFETCH(qint64, ms);
    QCOMPARE(HistoryCommand::utcMsOf(text), ms);
}

QTEST_GUILESS_MAIN(tst_HistoryCommand)
#include "tst_historycommand.moc"
