#include "FolderSim.h"
#include "HostileClients.h"
#include "HostileCrowd.h"
#include "ProgramFolder.h"
#include "Scraper.h"
#include "SimTrace.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <sys/resource.h>

#include <thread>

// The built ksr583-monitor with its metrics endpoint on a free local port,
// against ksr583-sim: misbehaving clients cannot stop it polling nor keep a
// scraper waiting, and a real Prometheus scrapes what the simulator reports
// and sees the instrument go. A scrape here is one try with a deadline.
class tst_MetricsEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void hostileClients_programKeepsPollingAndAnswering();
    void prometheus_scrapesTheOffset_andSeesTheInstrumentGo();

private:
    bool startProgram();
    QByteArray scrape() const;
    bool startPrometheus(QTemporaryDir &dir);
    // The value of the query's first sample in Prometheus, or an empty text.
    QString promValue(const QString &query) const;
    QString programLog() const;

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<FolderSim> m_sim;
    std::unique_ptr<QProcess> m_monitor;
    std::unique_ptr<QProcess> m_prometheus;
    int m_port = 0;
    int m_promPort = 0;
};

namespace {

void stop(std::unique_ptr<QProcess> &process)
{
    if (process && process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(10000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    process.reset();
}

const QStringList PollCodes{"P10", "PC0", "PA0", "PV0"};

}  // namespace

void tst_MetricsEndpoint::initTestCase()
{
    const QString reason = ProgramFolder::monitorUnavailableReason();
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
}

void tst_MetricsEndpoint::cleanup()
{
    stop(m_prometheus);
    stop(m_monitor);
    m_sim.reset();
    m_folder.reset();
}

bool tst_MetricsEndpoint::startProgram()
{
    m_folder = std::make_unique<ProgramFolder>();
    m_sim = std::make_unique<FolderSim>(m_folder->path());
    if (!m_folder->isValid() || !m_sim->start())
        return false;
    m_port = Scraper::freePort();
    if (!m_folder->writeConfiguration(m_sim->link(), 0,
                                      QStringLiteral("[Metrics]\nPort=%1\n").arg(m_port)))
        return false;
    // The program starts with the limit of open files a desktop session
    // gives, and must make room for a crowd of clients itself.
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    const rlimit ours = files;
    files.rlim_cur = std::min<rlim_t>(files.rlim_cur, 1024);
    ::setrlimit(RLIMIT_NOFILE, &files);
    m_monitor = m_folder->startMonitor();
    ::setrlimit(RLIMIT_NOFILE, &ours);
    return m_monitor != nullptr;
}

QByteArray tst_MetricsEndpoint::scrape() const
{
    const Scraper::Answer answer = Scraper::get(m_port, "/metrics");
    return answer.status == 200 ? answer.body : QByteArray();
}

QString tst_MetricsEndpoint::programLog() const
{
    return "program log:\n" + m_folder->programLog() + "\nprogram " + (m_monitor->state() == QProcess::Running ? "running" : "ended")
        + ", its stderr:\n" + QString::fromLocal8Bit(m_monitor->readAllStandardError());
}

bool tst_MetricsEndpoint::startPrometheus(QTemporaryDir &dir)
{
    m_promPort = Scraper::freePort();
    QFile config(dir.filePath("prometheus.yml"));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write(QStringLiteral("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                                "scrape_configs:\n  - job_name: ksr583\n    static_configs:\n"
                                "      - targets: ['127.0.0.1:%1']\n")
                     .arg(m_port)
                     .toUtf8());
    config.close();
    m_prometheus = std::make_unique<QProcess>();
    m_prometheus->setProcessChannelMode(QProcess::MergedChannels);
    m_prometheus->setStandardOutputFile(dir.filePath("prometheus.log"));
    m_prometheus->start(QStandardPaths::findExecutable("prometheus"),
                        {"--config.file=" + config.fileName(), "--storage.tsdb.path=" + dir.filePath("data"),
                         QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(m_promPort)});
    return m_prometheus->waitForStarted(10000);
}

QString tst_MetricsEndpoint::promValue(const QString &query) const
{
    const Scraper::Answer answer =
        Scraper::get(m_promPort, "/api/v1/query?query=" + QUrl::toPercentEncoding(query), 5000);
    if (answer.status != 200)
        return QString();
    const QJsonArray samples = QJsonDocument::fromJson(answer.body)
                                   .object()["data"].toObject()["result"].toArray();
    return samples.isEmpty() ? QString() : samples.first().toObject()["value"].toArray().at(1).toString();
}

void tst_MetricsEndpoint::hostileClients_programKeepsPollingAndAnswering()
{
    QVERIFY(startProgram());
    // Until the program has found the instrument; from then on every scrape counts.
    QTRY_VERIFY2_WITH_TIMEOUT(scrape().contains("\nksr583_up 1\n"), qPrintable(programLog()), 60000);
    const qint64 rssBefore = HostileClients::residentKb(m_monitor->processId());
    const qint64 from = QDateTime::currentMSecsSinceEpoch();

    HostileClients hostile(m_port);
    QCOMPARE(hostile.sendHugeRequests(), 9);
    const QByteArray garbage("\x16\x03\x01\x02\x00 garbage\r\n\r\n", 16);
    QVERIFY(hostile.exchange(garbage).startsWith("HTTP/1.1 400"));

    // While a thousand idle clients and fifty slow ones keep at it, every
    // scrape of a scraper that asks once a second is answered in time.
    HostileCrowd crowd(m_port, 1000, 50, 40);
    QVERIFY(crowd.start());
    int answered = 0;
    constexpr int Scrapes = 10;
    for (int k = 0; k < Scrapes; ++k) {
        answered += scrape().contains("\nksr583_up 1\n") ? 1 : 0;
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    const qint64 grown = HostileClients::residentKb(m_monitor->processId()) - rssBefore;
    crowd.stop();
    QCOMPARE(answered, Scrapes);
    QVERIFY(crowd.closedByServer() >= 1000);
    const qint64 to = QDateTime::currentMSecsSinceEpoch();

    // One poll a second all along, as the configuration asks.
    QVERIFY2(m_monitor->state() == QProcess::Running, qPrintable(programLog()));
    const QList<SimTrace::Line> polls =
        SimTrace::only(SimTrace::read(m_folder->filePath("trace.txt")), PollCodes);
    qint64 last = from;
    qint64 longestGap = 0;
    for (const SimTrace::Line &poll : polls) {
        if (poll.atMs < from || poll.atMs > to)
            continue;
        longestGap = qMax(longestGap, poll.atMs - last);
        last = poll.atMs;
    }
    longestGap = qMax(longestGap, to - last);
    qInfo("%lld s of hostile clients: longest gap between polls %lld ms, memory %+lld kB",
          (to - from) / 1000, longestGap, grown);
    QVERIFY2(longestGap < 2500, qPrintable(QString::number(longestGap)));
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)  // their own memory grows regardless
    QVERIFY(grown < 20 * 1024);
#endif
}

void tst_MetricsEndpoint::prometheus_scrapesTheOffset_andSeesTheInstrumentGo()
{
    if (QStandardPaths::findExecutable("prometheus").isEmpty())
        QSKIP("prometheus is not installed (Debian package prometheus)");
    QVERIFY(startProgram());
    // Readings without noise, so that each one is the offset set here.
    QVERIFY(m_sim->control("steady on"));
    QVERIFY(m_sim->control("offset 2.5e-13"));
    QTemporaryDir promDir;
    QVERIFY(promDir.isValid());
    QVERIFY(startPrometheus(promDir));

    QTRY_COMPARE_WITH_TIMEOUT(promValue("ksr583_up"), QStringLiteral("1"), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(promValue("ksr583_frequency_offset").toDouble(), 2.5e-13, 20000);
    QCOMPARE(promValue("ksr583_channel_state{channel=\"1\",state=\"reference\"}"), QStringLiteral("1"));

    m_sim.reset();  // the instrument is gone
    QTRY_COMPARE_WITH_TIMEOUT(promValue("ksr583_up"), QStringLiteral("0"), 40000);
    QCOMPARE(promValue("ksr583_frequency_offset"), QString());
    QCOMPARE(promValue("up{job=\"ksr583\"}"), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(tst_MetricsEndpoint)
#include "tst_metricsendpoint.moc"
