#include "FolderSim.h"
#include "ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

// The built ksr583-monitor --service against ksr583-sim, with no display and
// no Qt platform: what it does is seen only from outside, in its files, its
// metrics, its standard error and its exit code.
class tst_Service : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void firstMinute_pollsPublishesRecordsAndStopsInOrder();

private:
    QString diagnosis();
    QString serviceSaid();
    // A second service beside the first: its exit code and standard error.
    std::pair<int, QString> secondService() const;
    // A second window beside the service: the line it says on standard error
    // (its message box, which would wait for an operator, is not answered).
    QString secondWindow(const QString &expected) const;

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<FolderSim> m_sim;
    std::unique_ptr<QProcess> m_service;
    QString m_serviceSaid;
};

namespace {

// The status file is first rewritten on the 60 s timer's first tick.
constexpr int FirstMinuteMs = 75000;
const QString Stale = QStringLiteral("1999.12.31 23:59:59");

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    return address;
}

// A port no one listens on now, as the system hands them out.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

// The whole answer to GET /metrics, headers first; empty when none came.
QByteArray scrape(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const timeval timeout{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address = loopback(port);
    QByteArray answer;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        const char request[] = "GET /metrics HTTP/1.0\r\nHost: localhost\r\n\r\n";
        if (::write(fd, request, sizeof request - 1) == ssize_t(sizeof request - 1)) {
            char buffer[4096];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                answer.append(buffer, int(n));
        }
    }
    ::close(fd);
    return answer;
}

// Rows of a table of the history, counted by the sqlite3 shell.
int historyRows(const QString &database, const QString &table)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), database,
                                            QStringLiteral("SELECT count(*) FROM %1;").arg(table)});
    if (!shell.waitForFinished(10000) || shell.exitCode() != 0)
        return -1;
    return shell.readAllStandardOutput().trimmed().toInt();
}

}  // namespace

void tst_Service::initTestCase()
{
    const QString reason = ProgramFolder::monitorUnavailableReason();
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        QSKIP("the sqlite3 shell is not installed (scripts/install-deps.sh installs it)");
}

void tst_Service::cleanup()
{
    if (m_service && m_service->state() != QProcess::NotRunning) {
        m_service->kill();
        m_service->waitForFinished(5000);
    }
    m_service.reset();
    m_sim.reset();
    m_folder.reset();
}

QString tst_Service::serviceSaid()
{
    m_serviceSaid += QString::fromLocal8Bit(m_service->readAllStandardError());
    return m_serviceSaid;
}

QString tst_Service::diagnosis()
{
    return "program log:\n" + m_folder->programLog() + "\nservice "
           + (m_service->state() == QProcess::Running ? "running" : "ended") + ", its stderr:\n" + serviceSaid();
}

std::pair<int, QString> tst_Service::secondService() const
{
    const std::unique_ptr<QProcess> second = m_folder->startService();
    if (!second || !second->waitForFinished(20000))
        return {-1, QStringLiteral("did not end")};
    return {second->exitCode(), QString::fromLocal8Bit(second->readAllStandardError())};
}

QString tst_Service::secondWindow(const QString &expected) const
{
    const std::unique_ptr<QProcess> second = m_folder->startMonitor();
    if (!second)
        return QString();
    second->setReadChannel(QProcess::StandardError);
    QString said;
    while (!said.contains(expected) && second->waitForReadyRead(20000))
        said += QString::fromLocal8Bit(second->readAllStandardError());
    second->kill();
    second->waitForFinished(5000);
    return said;
}

void tst_Service::firstMinute_pollsPublishesRecordsAndStopsInOrder()
{
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_sim = std::make_unique<FolderSim>(m_folder->path());
    if (!m_sim->start())
        QSKIP(qPrintable(m_sim->error()));
    const int port = freePort();
    QVERIFY(port > 0);
    QVERIFY(m_folder->writeConfiguration(m_sim->link(), 0, QStringLiteral("[Metrics]\nPort=%1\n").arg(port)));
    // A status file left by an earlier run, to be rewritten.
    QVERIFY(QDir().mkpath(m_folder->filePath("Status")));
    {
        const auto old = m_folder->ini("Status/SupervisInfo.ini");
        old->setValue("Device_status/Connection", "NO");
        old->setValue("Device_status/LastUpdate", Stale);
    }
    m_service = m_folder->startService();
    QVERIFY(m_service);

    QTRY_VERIFY_WITH_TIMEOUT(m_sim->requests().count("P10 -") >= 2, 20000);
    QVERIFY2(m_folder->programLog().contains(" Program started.\n"), qPrintable(diagnosis()));

    // Window or service, a second program in the folder is refused in one
    // line that names the process holding it.
    const QString holder = QStringLiteral("in use by process %1 ").arg(m_service->processId());
    const auto [code, said] = secondService();
    QVERIFY2(code == 1, qPrintable(QString::number(code) + ": " + said));
    QVERIFY2(said.contains(holder) && said.trimmed().count('\n') == 0, qPrintable(said));
    const QString windowSaid = secondWindow(holder);
    QVERIFY2(windowSaid.contains(holder), qPrintable(windowSaid));
    QCOMPARE(m_folder->programLog().count(" Program started.\n"), 1);

    const QByteArray metrics = scrape(port);
    QVERIFY2(metrics.startsWith("HTTP/1.1 200") || metrics.startsWith("HTTP/1.0 200"), metrics.constData());
    QVERIFY2(metrics.contains("\nksr583_up 1\n"), metrics.constData());

    QTRY_VERIFY_WITH_TIMEOUT(m_folder->ini("Status/SupervisInfo.ini")->value("Device_status/LastUpdate") != Stale,
                             FirstMinuteMs);
    const auto status = m_folder->ini("Status/SupervisInfo.ini");
    QCOMPARE(status->value("Device_status/Connection").toString(), QStringLiteral("YES"));
    QCOMPARE(status->value("Device_status/Mode").toString(), QStringLiteral("SWITCH"));
    QCOMPARE(status->value("Channel_1/Status").toString(), QStringLiteral("INGROUP"));

    // Polled all the while, the readings kept in the history (an unchanged
    // detection only once).
    for (const char *code : {"P10", "PC0", "PA0", "PV0"})
        QVERIFY2(m_sim->requests().count(QString(code) + " -") >= 10, code);
    const QString history = m_folder->filePath("Logs/history.sqlite");
    QTRY_VERIFY_WITH_TIMEOUT(historyRows(history, "adj_state") >= 10, 10000);
    QVERIFY(historyRows(history, "detect") >= 1);

    // SIGTERM: an orderly stop, the folder free again.
    m_service->terminate();
    QVERIFY(m_service->waitForFinished(20000));
    QCOMPARE(m_service->exitStatus(), QProcess::NormalExit);
    QVERIFY2(m_service->exitCode() == 0, qPrintable(diagnosis()));
    QVERIFY2(m_folder->programLog().endsWith(" Program is closed.\n"), qPrintable(diagnosis()));
    const QString logged = serviceSaid();
    QVERIFY2(logged.contains(" Program started.\n") && logged.endsWith(" Program is closed.\n"), qPrintable(logged));
    QVERIFY(!QFileInfo::exists(m_folder->filePath("ksr583-monitor.lock")));
}

QTEST_GUILESS_MAIN(tst_Service)
#include "tst_service.moc"
