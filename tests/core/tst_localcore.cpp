#include "core/LocalCore.h"
#include "link/COMThread.h"
#include "link/Frame.h"
#include "metrics/MetricsCollector.h"
#include "status/StatusPublisher.h"
#include "tests/support/FakeInstrument.h"
#include "tests/support/FakePort.h"
#include "tests/support/SteppedClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// The core without a window: the link runs on its thread against a fake
// instrument in stepped virtual time, and the test is the view.
class tst_LocalCore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commands_goOutWithTheBlockTheyWereGiven();
    void metrics_stopTellingTheInstrumentOnTheCoresClock();
    void unattended_data();
    void unattended();

private:
    bool open(const QByteArray &ini, bool unattended);
    bool connectLink();
    bool sent(const QByteArray &frame) const;
    QString programLog() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::shared_ptr<SteppedClock> m_linkClock;
    std::shared_ptr<VirtualClock> m_clock;
    std::shared_ptr<FakeLine> m_line;
    FakeInstrument m_instrument;
    std::unique_ptr<LocalCore> m_core;
    QList<Message> m_messages;
};

void tst_LocalCore::init()
{
    m_oldDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_linkClock = std::make_shared<SteppedClock>();
    m_clock = std::make_shared<VirtualClock>(QDateTime(QDate(2026, 1, 7), QTime(0, 59, 30), Qt::UTC));
    m_line = std::make_shared<FakeLine>(*m_linkClock);
    m_line->attach("COM21", m_instrument.device());
    m_messages.clear();
}

void tst_LocalCore::cleanup()
{
    m_linkClock->release();
    m_core.reset();
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

bool tst_LocalCore::open(const QByteArray &ini, bool unattended)
{
    QFile file("fconn583.ini");
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
        return false;
    file.close();
    LocalCore::Options options;
    options.unattended = unattended;
    options.ports = std::make_shared<FakePortFactory>(m_line);
    options.linkClock = m_linkClock;
    options.clock = m_clock;
    m_core = std::make_unique<LocalCore>(options);
    QObject::connect(m_core.get(), &MonitorCore::message, m_core.get(),
                     [this](const Message &m) { m_messages << m; });
    m_core->start();
    return true;
}

// Found and polled: the link runs its connected loop.
bool tst_LocalCore::connectLink()
{
    for (int i = 0; i < 50 && !m_line->codes().contains("P10"); ++i)
        m_linkClock->runTo(m_linkClock->monotonicMs() + 1000);
    return m_line->codes().contains("P10") && QTest::qWaitFor([this] {
               return m_core->state().link == LinkStatus::Connected;
           });
}

bool tst_LocalCore::sent(const QByteArray &frame) const
{
    const QList<FakeWrite> writes = m_line->writes();
    return std::any_of(writes.cbegin(), writes.cend(), [&frame](const FakeWrite &w) { return w.frame == frame; });
}

QString tst_LocalCore::programLog() const
{
    QFile f("Logs/" + m_clock->now().toString("yyyyMMdd") + ".log");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void tst_LocalCore::commands_goOutWithTheBlockTheyWereGiven()
{
    QVERIFY(open("[Settings]\nAnalyseAtStart=0\n", false));
    QVERIFY(connectLink());

    // The link's own block holds nothing of this: only the copy carries it.
    CommandParameters block;
    block.freq_newOffset = 1.5e-12;
    m_core->submitCommand(COMMAND_SET_FREQ_OFFSET, block);
    QByteArray offset;
    Frame::appendF32(offset, 1.5e-12f);
    const QByteArray setOffset = Frame::request(QByteArray("m10"), offset);
    QVERIFY(m_linkClock->runTo(m_linkClock->monotonicMs() + 2000));
    QVERIFY(sent(setOffset));

    // The daily download goes to the folder of the last command's block, and
    // only when that folder is there.
    block.journalFolder = m_dir->filePath("journal");
    m_core->submitCommand(COMMAND_GET_FREQ_LIMIT, block);
    m_clock->advance(50000);  // 01:00:20 UTC
    QSignalSpy due(m_core.get(), &LocalCore::loadHistory);
    m_core->loadHistoryEveryDay();
    QVERIFY(m_linkClock->runTo(m_linkClock->monotonicMs() + 3000));
    QCOMPARE(due.count(), 1);
    QVERIFY(!m_line->codes().contains("G00"));

    QVERIFY(QDir().mkpath(block.journalFolder));
    m_clock->setUtc(QDateTime(QDate(2026, 1, 8), QTime(1, 0, 10), Qt::UTC));
    m_core->loadHistoryEveryDay();
    QVERIFY(m_linkClock->runTo(m_linkClock->monotonicMs() + 3000));
    QVERIFY(m_line->codes().contains("G00"));
}

void tst_LocalCore::metrics_stopTellingTheInstrumentOnTheCoresClock()
{
    QVERIFY(open("[Settings]\nAnalyseAtStart=0\nMonitorInterval=10\n", false));
    QVERIFY(connectLink());
    const auto board = m_core->statusPublisher()->board();
    const auto says = [&board](const char *line) {
        return QString::fromStdString(MetricsCollector::exposition(*board)).contains(QLatin1String(line));
    };
    QVERIFY(QTest::qWaitFor([&says] { return says("ksr583_up 1\n"); }));

    // The link stands still in its own time, as a hung one would; two poll
    // intervals pass on the clock the core was given.
    m_clock->advance(21000);
    QVERIFY(says("ksr583_up 0\n"));
}

void tst_LocalCore::unattended_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("named");
    QTest::newRow("Path_local under a regular file: no start")
        << QByteArray("[Settings]\nPath_local=afile/sub\n") << false << "afile/sub";
    QTest::newRow("accounts file a device: runs, and the program log says so")
        << QByteArray("[Passwords]\nFile_passwords=/dev/zero\n") << true << "/dev/zero";
}

void tst_LocalCore::unattended()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, starts);
    QFETCH(QString, named);
    QFile plain("afile");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    QVERIFY(open("[Settings]\nAnalyseAtStart=0\n" + ini, true));
    QCOMPARE(m_core->started(), starts);
    QCOMPARE(m_core->linkThread() != nullptr, starts);
    const auto red = std::count_if(m_messages.cbegin(), m_messages.cend(), [&named](const Message &m) {
        return m.colour == "red" && m.text.contains(named);
    });
    QCOMPARE(int(red), 1);
    if (starts)
        QCOMPARE(programLog().count(named), 1);
}

QTEST_GUILESS_MAIN(tst_LocalCore)
#include "tst_localcore.moc"
