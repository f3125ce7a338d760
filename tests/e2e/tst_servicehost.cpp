#include "FolderSim.h"
#include "ProgramFolder.h"
#include "SimTrace.h"

#include "core/RemoteCore.h"
#include "dialogs/MessageBox.h"
#include "dialogs/authentication.h"
#include "mainwindow/AttachedWindow.h"
#include "remote/ServiceConnection.h"
#include "remote/ServiceSettings.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <QLocalSocket>

#include <cstring>
#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The built ksr583-monitor --service against ksr583-sim, with attached
// windows in this process as --attach opens them: what one sends, all see;
// what runs in the service goes on without the window that started it; a
// service that dies and comes back is found again; --status tells scripts
// which of them answers. Protocol clients try what no window does.
class tst_ServiceHost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void cleanup();

    void windowsSeeCommandsAndReattach();
    void commandFlood_excessRefusedWithRedLine();
    void hostileClients_neitherSlowPollsNorOtherClients();

private:
    // An attached main window, offscreen.
    struct Window {
        std::unique_ptr<MainWindow> main;
        int records = 0;
        quint64 pollTimeouts = 0;
    };
    void attach(Window &w);
    struct Client {
        std::unique_ptr<ServiceConnection> connection;
        QStringList lines;
        WorkProgress progress;
        LinkView link;
        quint64 pollTimeouts = 0;
        int records = 0;
        int snapshots = 0;
    };
    void open(Client &c);
    bool startService();
    // --status with `extra` options in the folder: exit code and standard output.
    std::pair<int, QByteArray> status(const QStringList &extra) const;
    QString diagnosis() const;

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<FolderSim> m_sim;
    std::unique_ptr<QProcess> m_service;
    Window m_a;
    Window m_b;
    Client m_client;
};

namespace {

const char Login[] = "oper";
const char Password[] = "steer-it";

bool anyContains(const QStringList &lines, const QString &part)
{
    return std::any_of(lines.cbegin(), lines.cend(), [&part](const QString &l) { return l.contains(part); });
}

QString logOf(const MainWindow &w)
{
    return w.findChild<QPlainTextEdit *>("plainTextEdit")->toPlainText();
}

QString statusOf(const MainWindow &w)
{
    return w.findChild<QLineEdit *>("lineEdit_stat")->text();
}

QString progressOf(const MainWindow &w)
{
    return w.findChild<QLabel *>("label_control")->text();
}

// Whether the window shows the service's instrument, the service named last.
bool showsInstrument(const MainWindow &w)
{
    const QString title = w.windowTitle();
    return title.contains(QStringLiteral(". Connected to "))
           && title.endsWith(QStringLiteral(" \u2013 service on ") + QSysInfo::machineHostName())
           && statusOf(w) != QStringLiteral("No connection to the service");
}

// The window's login dialog, once it is up, answered as an operator does;
// `asked` says that it came up.
void answerLogin(MainWindow &w, bool *asked)
{
    authentication *dialog = w.loginDialog();
    QTimer::singleShot(0, dialog, [dialog, asked] {
        if (!dialog->isVisible())
            return;
        *asked = true;
        QTest::keyClicks(dialog->findChild<QLineEdit *>("lineLogin"), QString::fromLatin1(Login));
        QTest::keyClicks(dialog->findChild<QLineEdit *>("linePass"), QString::fromLatin1(Password));
        QTest::mouseClick(dialog->findChild<QPushButton *>("pushButton"), Qt::LeftButton);
    });
}

}  // namespace

void tst_ServiceHost::initTestCase()
{
    const QString reason = ProgramFolder::monitorUnavailableReason();
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_sim = std::make_unique<FolderSim>(m_folder->path());
    if (!m_sim->start())
        QSKIP(qPrintable(m_sim->error()));
    QFile accounts(m_folder->filePath("accounts.txt"));
    QVERIFY(accounts.open(QIODevice::WriteOnly));
    accounts.write("1 admin 00000000000000000000000000000000\n3 oper "
                   + QCryptographicHash::hash(Password, QCryptographicHash::Md5).toHex() + "\n");
    accounts.close();
    // The windows keep their own settings here, not in the user's folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder->filePath("config")));
    // A message box would wait for an operator: it is answered and shown in a failure.
    MessageBox::setAutoAnswer(true);
    QVERIFY(m_folder->writeConfiguration(
        m_sim->link(), 0,
        QStringLiteral("[Passwords]\nFile_passwords=%1\nNumOfAttemps=3\n[Signal_names]\nChannel_3=Cs 5071\n")
            .arg(accounts.fileName())));
}

void tst_ServiceHost::cleanup()
{
    m_a = Window();
    m_b = Window();
    m_client = Client();
    if (m_service && m_service->state() != QProcess::NotRunning) {
        m_service->kill();
        m_service->waitForFinished(5000);
    }
    m_service.reset();
}

void tst_ServiceHost::cleanupTestCase()
{
    cleanup();
}

QString tst_ServiceHost::diagnosis() const
{
    return "program log:\n" + m_folder->programLog().right(3000);
}

bool tst_ServiceHost::startService()
{
    m_service = m_folder->startService();
    return m_service != nullptr;
}

void tst_ServiceHost::open(Client &c)
{
    c.connection = std::make_unique<ServiceConnection>(QStringLiteral("tst_servicehost"));
    c.connection->setRetryDelays(100, 500);
    ServiceConnection *conn = c.connection.get();
    connect(conn, &ServiceConnection::snapshotReceived, this, [&c](const ServiceSnapshot &s) {
        ++c.snapshots;
        c.link = s.link;
        c.progress = s.progress;
    });
    connect(conn, &ServiceConnection::recordReceived, this, [&c](const PollReading &) { ++c.records; });
    connect(conn, &ServiceConnection::lineReceived, this, [&c](const ServiceLine &l) { c.lines << l.text; });
    connect(conn, &ServiceConnection::progressChanged, this, [&c](const WorkProgress &p) { c.progress = p; });
    connect(conn, &ServiceConnection::linkChanged, this, [&c](const LinkView &l) { c.link = l; });
    connect(conn, &ServiceConnection::countersChanged, this,
            [&c](const LinkCounters &n) { c.pollTimeouts = n.pollTimeouts; });
    conn->openLocal(ServiceSettings::localServerName(m_folder->path()));
}

void tst_ServiceHost::attach(Window &w)
{
    ServiceAddress address;
    QString error;
    QVERIFY2(ServiceAddress::parse(QString(), m_folder->path(), &address, &error), qPrintable(error));
    w = Window();
    w.main = AttachedWindow::open(address);
    auto *core = qobject_cast<RemoteCore *>(w.main->core());
    QVERIFY(core);
    connect(core, &MonitorCore::adjStateRead, this, [&w] { ++w.records; });
    connect(&core->connection(), &ServiceConnection::countersChanged, this,
            [&w](const LinkCounters &n) { w.pollTimeouts = n.pollTimeouts; });
    w.main->show();
}

std::pair<int, QByteArray> tst_ServiceHost::status(const QStringList &extra) const
{
    QProcess p;
    p.setWorkingDirectory(m_folder->path());
    p.start(qEnvironmentVariable("KSR_MONITOR"), QStringList{"--status"} + extra);
    if (!p.waitForFinished(15000))
        return {-1, QByteArray()};
    return {p.exitCode(), p.readAllStandardOutput()};
}

void tst_ServiceHost::windowsSeeCommandsAndReattach()
{
    QCOMPARE(status({}).first, 2);  // no service yet
    QVERIFY(startService());
    attach(m_a);
    attach(m_b);
    QTRY_VERIFY2_WITH_TIMEOUT(showsInstrument(*m_a.main) && showsInstrument(*m_b.main),
                              qPrintable(m_a.main->windowTitle() + '\n' + diagnosis()), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(m_a.records > 0 && m_b.records > 0, 10000);
    // The service's names, as its configuration has them.
    QCOMPARE(m_b.main->findChild<QLineEdit *>("lineEdit_chan3")->text(), QString("Cs 5071"));

    // A command from one window, after the operator's login: queued, run,
    // and its outcome seen in both, naming the sender.
    bool asked = false;
    answerLogin(*m_a.main, &asked);
    CommandParameters offset;
    offset.freq_newOffset = 2.5e-13;
    m_a.main->core()->submitCommand(COMMAND_SET_FREQ_OFFSET, offset);
    QVERIFY(asked);
    const QString outcome = QStringLiteral("from oper at local is done");
    QTRY_VERIFY2_WITH_TIMEOUT(logOf(*m_a.main).contains(outcome) && logOf(*m_b.main).contains(outcome),
                              qPrintable(logOf(*m_a.main).right(2000)), 10000);
    QVERIFY2(m_folder->programLog().contains("Command set_freq_offset from oper at local"), qPrintable(diagnosis()));

    // Smooth steering started in one window goes on when it has closed.
    CommandParameters smooth;
    smooth.smartControl_info = {1e-12, 0, 10, 3};
    m_a.main->core()->submitCommand(COMMAND_SMART_CONTROL, smooth);
    const QString steering = QStringLiteral("Smooth Correction is in progress...");
    QTRY_COMPARE_WITH_TIMEOUT(progressOf(*m_b.main), steering, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(progressOf(*m_a.main), steering, 5000);
    m_a.main->close();
    m_a = Window();
    const int stepsBefore = m_sim->requests().filter(QStringLiteral("m10 ")).size();
    const int linesBefore = logOf(*m_b.main).count(QStringLiteral("offset is"));
    QTRY_VERIFY_WITH_TIMEOUT(logOf(*m_b.main).count(QStringLiteral("offset is")) > linesBefore, 15000);
    QVERIFY(m_sim->requests().filter(QStringLiteral("m10 ")).size() > stepsBefore);
    QCOMPARE(progressOf(*m_b.main), steering);
    // A window opened now finds it running.
    attach(m_a);
    QTRY_COMPARE_WITH_TIMEOUT(progressOf(*m_a.main), steering, 5000);

    // For scripts: the instrument answers.
    const auto [code, text] = status({});
    QCOMPARE(code, 0);
    QVERIFY2(text.contains("connected") && text.contains("KSR-583"), text.constData());
    const auto [jsonCode, json] = status({"--json"});
    QCOMPARE(jsonCode, 0);
    QCOMPARE(QJsonDocument::fromJson(json).object().value("instrumentAnswers").toBool(), true);
    QCOMPARE(status({ServiceSettings::localServerName(m_folder->path())}).first, 0);  // a socket's path

    // The service killed and started again: both windows say so, greyed,
    // and attach again on their own to the new service's state.
    m_service->kill();
    QVERIFY(m_service->waitForFinished(5000));
    const QString lost = QStringLiteral("No connection to the service");
    QTRY_VERIFY_WITH_TIMEOUT(statusOf(*m_a.main) == lost && statusOf(*m_b.main) == lost, 5000);
    QVERIFY(logOf(*m_a.main).contains(lost + ": trying to attach again."));
    QVERIFY(logOf(*m_b.main).contains(lost + ": trying to attach again."));
    QVERIFY(!m_b.main->windowTitle().contains(QStringLiteral("Connected to")));
    QCOMPARE(status({"--json"}).first, 2);
    const int recordsA = m_a.records;
    const int recordsB = m_b.records;
    QVERIFY(startService());
    QTRY_VERIFY2_WITH_TIMEOUT(showsInstrument(*m_a.main) && showsInstrument(*m_b.main),
                              qPrintable(m_b.main->windowTitle() + '\n' + diagnosis()), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(m_a.records > recordsA && m_b.records > recordsB, 10000);
    // The steering died with the service that ran it.
    QCOMPARE(progressOf(*m_a.main), QString());
    QCOMPARE(progressOf(*m_b.main), QString());

    // The service answers, the instrument does not.
    // A poll unanswered, and more than two poll intervals (1 s) without an answer.
    const quint64 before = m_b.pollTimeouts;
    QVERIFY(m_sim->control("silent on"));
    QTRY_VERIFY_WITH_TIMEOUT(m_b.pollTimeouts > before, 20000);
    QTest::qWait(2100);
    const auto [silentCode, silentJson] = status({"--json"});
    QCOMPARE(silentCode, 1);
    QCOMPARE(QJsonDocument::fromJson(silentJson).object().value("instrumentAnswers").toBool(), false);
    QCOMPARE(status({}).first, 1);
    QCOMPARE(MessageBox::shownTexts(), QStringList());
}

void tst_ServiceHost::commandFlood_excessRefusedWithRedLine()
{
    // Silent: every command waits for the instrument.
    QVERIFY(m_sim->control("silent on"));
    QVERIFY(startService());
    open(m_client);
    QTRY_COMPARE_WITH_TIMEOUT(m_client.snapshots, 1, 10000);
    std::vector<std::unique_ptr<ServiceConnection>> operators;
    int granted = 0;
    QMap<QString, int> outcomes;
    for (int i = 0; i < 5; ++i) {
        operators.push_back(std::make_unique<ServiceConnection>(QStringLiteral("flood")));
        ServiceConnection *c = operators.back().get();
        connect(c, &ServiceConnection::loginAnswered, this, [&granted](const ServiceMessages::LoginReply &r) {
            granted += r.outcome == QLatin1String("granted");
        });
        connect(c, &ServiceConnection::commandAnswered, this,
                [&outcomes](qint64, int, const QString &outcome, const QString &) { ++outcomes[outcome]; });
        c->openLocal(ServiceSettings::localServerName(m_folder->path()));
    }
    for (const auto &c : operators) {
        QTRY_COMPARE_WITH_TIMEOUT(c->state(), ServiceConnection::State::Attached, 10000);
        c->login(QString::fromLatin1(Login), QString::fromLatin1(Password));
    }
    QTRY_COMPARE_WITH_TIMEOUT(granted, 5, 10000);
    // Eight each, as many as one window may have waiting: 40 in all.
    for (const auto &c : operators) {
        for (int i = 0; i < 8; ++i)
            c->submit(COMMAND_GET_DEVICE_INFO, CommandParameters());
    }
    QTRY_COMPARE_WITH_TIMEOUT(outcomes.value("queued") + outcomes.value("refused"), 40, 10000);
    QCOMPARE(outcomes.value("queued"), 32);
    QTRY_VERIFY_WITH_TIMEOUT(anyContains(m_client.lines, QStringLiteral("refused: 32 wait for the instrument")), 5000);
    QCOMPARE(m_folder->programLog().count("refused: 32 wait for the instrument"), 1);
}

namespace {

// A client that says hello and then never reads: the system's buffers fill.
int neverReading(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    std::memcpy(address.sun_path, name.constData(), qMin(size_t(name.size()), sizeof address.sun_path - 1));
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    const QByteArray hello = ServiceMessages::hello(QStringLiteral("never reads")) + '\n';
    if (::write(fd, hello.constData(), size_t(hello.size())) != hello.size()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The longest spacing of the status polls the simulator received after `fromMs`.
qint64 longestPollGap(const QString &trace, qint64 fromMs)
{
    const QList<SimTrace::Line> polls =
        SimTrace::only(SimTrace::read(trace), {"P10", "PC0", "PA0", "PV0"});
    qint64 longest = 0;
    qint64 last = -1;
    for (const SimTrace::Line &p : polls) {
        if (p.atMs < fromMs)
            continue;
        if (last >= 0)
            longest = qMax(longest, p.atMs - last);
        last = p.atMs;
    }
    return longest;
}

}  // namespace

void tst_ServiceHost::hostileClients_neitherSlowPollsNorOtherClients()
{
    QVERIFY(m_sim->control("silent off"));
    QVERIFY(startService());
    open(m_client);
    QTRY_VERIFY2_WITH_TIMEOUT(m_client.link.phase == LinkView::Connected, qPrintable(diagnosis()), 15000);
    const QString socket = ServiceSettings::localServerName(m_folder->path());
    const qint64 attackMs = QDateTime::currentMSecsSinceEpoch();
    const int recordsBefore = m_client.records;

    const int stuck = neverReading(socket);
    QVERIFY(stuck >= 0);
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 200; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(socket);
    }
    QLocalSocket garbage;
    garbage.connectToServer(socket);
    QVERIFY(garbage.waitForConnected(5000));
    QByteArray noise(256 * 1024, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) >> 3);
    garbage.write(noise);
    QLocalSocket huge;
    huge.connectToServer(socket);
    QVERIFY(huge.waitForConnected(5000));
    huge.write(ServiceMessages::hello(QStringLiteral("huge")) + '\n');
    huge.write(QByteArray(100 << 20, '{'));

    // Ten polls' time under attack.
    QTest::qWait(10000);
    QVERIFY2(m_client.connection->state() == ServiceConnection::State::Attached, qPrintable(diagnosis()));
    QVERIFY2(m_client.records >= recordsBefore + 8, qPrintable(QString::number(m_client.records - recordsBefore)));
    const qint64 gap = longestPollGap(m_folder->filePath("trace.txt"), attackMs);
    QVERIFY2(gap > 0 && gap < 1500, qPrintable(QString::number(gap)));
    QCOMPARE(garbage.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(huge.state(), QLocalSocket::UnconnectedState);
    ::close(stuck);
}

QTEST_MAIN(tst_ServiceHost)
#include "tst_servicehost.moc"
