#include "link/DeviceExchange.h"
#include "link/Frame.h"
#include "link/LinkClock.h"
#include "link/QtSerialPort.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// ksr583-sim as a separate process, reached through a real pseudo-terminal
// with the port class the monitor uses.
class tst_PtyServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void p10OverTheLink_gets20ByteAnswerWithGoodCrc();
    void otherCodes_overTheLink_data();
    void otherCodes_overTheLink();
    void controlFifo_silencesAndWakesTheInstrument();
    void sigterm_removesLinkAndFifoAndLeavesTheTrace();
    void unknownOption_printsUsageAndExitsWith2();
    void fileAtTheLinkPath_isLeftAlone();

private:
    bool startSim(const QStringList &extra = QStringList());
    bool openPort();
    void control(const QByteArray &line);
    // The serial port's lock file is named after the link, so each run
    // needs a name of its own.
    QString linkPath() const
    {
        return m_dir->filePath(QString("ksr583-%1").arg(QCoreApplication::applicationPid()));
    }

    QString m_sim;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_proc;
    LinkClock m_clock;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<DeviceExchange> m_io;
    QString m_terminal;
};

void tst_PtyServer::initTestCase()
{
    m_sim = qEnvironmentVariable("KSR_SIM");
    if (m_sim.isEmpty() || !QFileInfo(m_sim).isExecutable())
        QSKIP("KSR_SIM does not name the built ksr583-sim; run this test through ctest");
    if (!QFileInfo::exists("/dev/ptmx"))
        QSKIP("this machine has no pseudo-terminals (/dev/ptmx is missing)");
}

void tst_PtyServer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_io = std::make_unique<DeviceExchange>(m_clock);
}

void tst_PtyServer::cleanup()
{
    m_io.reset();
    m_port.reset();
    if (m_proc && m_proc->state() != QProcess::NotRunning) {
        m_proc->terminate();
        if (!m_proc->waitForFinished(5000))
            m_proc->kill();
        m_proc->waitForFinished(5000);
    }
    m_proc.reset();
    m_dir.reset();
}

bool tst_PtyServer::startSim(const QStringList &extra)
{
    m_proc = std::make_unique<QProcess>();
    m_proc->start(m_sim, QStringList{"--link", linkPath(), "--trace", m_dir->filePath("trace.txt"),
                                     "--control", m_dir->filePath("ctl"), "--journal", "900",
                                     "--journal-start", "811"} + extra);
    if (!m_proc->waitForStarted(5000))
        return false;
    while (!m_proc->canReadLine() && m_proc->state() == QProcess::Running)
        m_proc->waitForReadyRead(5000);
    m_terminal = QString::fromLocal8Bit(m_proc->readLine()).trimmed();
    return m_terminal.startsWith('/');
}

bool tst_PtyServer::openPort()
{
    m_port = std::make_unique<QtSerialPort>();
    m_port->setPortName(linkPath());
    if (!m_port->open())
        return false;
    m_io->setPort(m_port.get());
    return true;
}

void tst_PtyServer::control(const QByteArray &line)
{
    QFile fifo(m_dir->filePath("ctl"));
    QVERIFY(fifo.open(QIODevice::WriteOnly));
    QCOMPARE(fifo.write(line + '\n'), qint64(line.size() + 1));
}

void tst_PtyServer::p10OverTheLink_gets20ByteAnswerWithGoodCrc()
{
    if (!startSim())
        QSKIP(qPrintable("ksr583-sim found no pseudo-terminal: " + m_proc->readAllStandardError()));
    QCOMPARE(QFileInfo(linkPath()).symLinkTarget(), m_terminal);
    QVERIFY(openPort());
    QByteArray answer;
    QCOMPARE(m_io->transact(Request::Detect, QByteArray(), &answer), Frame::Result::Accepted);
    QCOMPARE(answer.size(), 20);
    QCOMPARE(Frame::u16(answer, 16), Frame::crc16(answer.constData() + 1, 15));
}

void tst_PtyServer::otherCodes_overTheLink_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("FN0 identification") << int(Request::Identify) << QByteArray() << 8
                                        << QByteArray("KSR-583 #0042\0\0\0", 16);
    QTest::newRow("G00 journal size 900") << int(Request::JournalSize) << QByteArray() << 8
                                          << QByteArray::fromHex("8403");
    QTest::newRow("m10 confirms the offset") << int(Request::FreqOffset) << QByteArray::fromHex("ccbc8c2b")
                                             << 8 << QByteArray::fromHex("ccbc8c2b");
    QTest::newRow("PC0 command state, 50 bytes") << int(Request::CmdState) << QByteArray() << 0
                                                 << QByteArray("\x01PC0");
}

void tst_PtyServer::otherCodes_overTheLink()
{
    QFETCH(int, request);
    QFETCH(QByteArray, payload);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    if (!startSim())
        QSKIP("ksr583-sim found no pseudo-terminal");
    QVERIFY(openPort());
    QByteArray answer;
    QCOMPARE(m_io->transact(Request(request), payload, &answer), Frame::Result::Accepted);
    QCOMPARE(answer.mid(offset, expected.size()), expected);
}

void tst_PtyServer::controlFifo_silencesAndWakesTheInstrument()
{
    if (!startSim())
        QSKIP("ksr583-sim found no pseudo-terminal");
    QVERIFY(openPort());
    control("silent on");
    QCOMPARE(m_io->transact(Request::PpsDelay, QByteArray(), nullptr), Frame::Result::Timeout);
    control("silent off");
    QCOMPARE(m_io->transact(Request::PpsDelay, QByteArray(), nullptr), Frame::Result::Accepted);
    control("channel 4 detect on");
    QByteArray answer;
    QCOMPARE(m_io->transact(Request::Detect, QByteArray(), &answer), Frame::Result::Accepted);
    QCOMPARE(Frame::i16(answer, 8 + 6), qint16(1));
}

void tst_PtyServer::sigterm_removesLinkAndFifoAndLeavesTheTrace()
{
    if (!startSim())
        QSKIP("ksr583-sim found no pseudo-terminal");
    QVERIFY(openPort());
    QByteArray offset;
    Frame::appendF32(offset, 1e-12f);
    QCOMPARE(m_io->transact(Request::Detect, QByteArray(), nullptr), Frame::Result::Accepted);
    QCOMPARE(m_io->transact(Request::FreqOffset, offset, nullptr), Frame::Result::Accepted);
    m_port->close();

    m_proc->terminate();
    QVERIFY(m_proc->waitForFinished(5000));
    QCOMPARE(m_proc->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_proc->exitCode(), 0);
    QVERIFY(!QFileInfo(linkPath()).isSymLink());
    QVERIFY(!QFileInfo::exists(m_dir->filePath("ctl")));

    QFile trace(m_dir->filePath("trace.txt"));
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(trace.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
    QVERIFY(time.match(lines.at(0)).hasMatch());
    QVERIFY(lines.at(0).endsWith(" P10 -"));
    QVERIFY(lines.at(1).endsWith(" m10 " + offset.toHex()));
}

void tst_PtyServer::unknownOption_printsUsageAndExitsWith2()
{
    QProcess proc;
    proc.start(m_sim, {"--bogus"});
    QVERIFY(proc.waitForFinished(5000));
    QCOMPARE(proc.exitCode(), 2);
    const QString err = QString::fromLocal8Bit(proc.readAllStandardError());
    QVERIFY(err.contains("unknown option --bogus"));
    QVERIFY(err.contains("Usage: ksr583-sim"));
    QVERIFY(proc.readAllStandardOutput().isEmpty());
}

void tst_PtyServer::fileAtTheLinkPath_isLeftAlone()
{
    QFile file(linkPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QVERIFY(!startSim());
    m_proc->waitForFinished(5000);
    QCOMPARE(m_proc->state(), QProcess::NotRunning);
    QCOMPARE(m_proc->exitCode(), 1);
    QVERIFY(m_proc->readAllStandardError().contains("is not a symbolic link"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(tst_PtyServer)
#include "tst_ptyserver.moc"
