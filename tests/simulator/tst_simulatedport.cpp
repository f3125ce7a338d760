#include "simulator/SimulatedPort.h"
#include "tests/support/VirtualClock.h"

#include "link/DeviceExchange.h"
#include "link/Frame.h"

#include <QtTest>

class tst_SimulatedPort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exchange_withInstrument_isAccepted();
    void portList_inTheOrderAdded_unknownPortDoesNotOpen();
    void timing_inVirtualTime_data();
    void timing_inVirtualTime();
    void lateCommandAnswer_waitsInThePortAfterTheTimeout();
    void close_losesAnswersInFlight();
    void twoInstruments_eachAnswersOnItsOwnPort();

private:
    std::unique_ptr<SerialPort> openPort(const QString &name);

    std::shared_ptr<VirtualClock> m_clock;
    std::unique_ptr<SimulatedPortFactory> m_factory;
    std::unique_ptr<DeviceExchange> m_io;
};

void tst_SimulatedPort::init()
{
    m_clock = std::make_shared<VirtualClock>();
    m_factory = std::make_unique<SimulatedPortFactory>(m_clock);
    m_io = std::make_unique<DeviceExchange>(*m_clock);
}

void tst_SimulatedPort::cleanup()
{
    m_io.reset();
    m_factory.reset();
    m_clock.reset();
}

std::unique_ptr<SerialPort> tst_SimulatedPort::openPort(const QString &name)
{
    auto port = m_factory->createPort();
    port->setPortName(name);
    if (!port->open())
        return nullptr;
    m_io->setPort(port.get());
    return port;
}

void tst_SimulatedPort::exchange_withInstrument_isAccepted()
{
    m_factory->addInstrument("COM3");
    auto port = openPort("COM3");
    QVERIFY(port);
    QByteArray answer;
    QCOMPARE(m_io->transact(Request::Detect, QByteArray(), &answer), Frame::Result::Accepted);
    QCOMPARE(answer.size(), 20);
    QCOMPARE(m_io->transact(Request::Identify, QByteArray(), &answer), Frame::Result::Accepted);
    QCOMPARE(answer.mid(8, 16), QByteArray("KSR-583 #0042\0\0\0", 16));
}

void tst_SimulatedPort::portList_inTheOrderAdded_unknownPortDoesNotOpen()
{
    m_factory->addSilentPort("COM1");
    m_factory->addInstrument("COM21");
    m_factory->addSilentPort("COM4");
    QCOMPARE(m_factory->availablePorts(), QStringList({"COM1", "COM21", "COM4"}));
    QVERIFY(openPort("COM1"));
    QVERIFY(!openPort("COM9"));
    m_factory->line().removePort("COM1");
    QCOMPARE(m_factory->availablePorts(), QStringList({"COM21", "COM4"}));
}

void tst_SimulatedPort::timing_inVirtualTime_data()
{
    QTest::addColumn<bool>("silentPort");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("wireTime");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("elapsedMs");

    using R = Frame::Result;
    QTest::newRow("instrument answers at once") << false
        << "" << false << int(Request::Detect) << int(R::Accepted) << 0;
    QTest::newRow("wire time: 28 bytes take 3 ms") << false
        << "" << true << int(Request::Detect) << int(R::Accepted) << 3;
    QTest::newRow("silent port: poll waits its 10 s") << true
        << "" << false << int(Request::Detect) << int(R::Timeout) << 10000;
    QTest::newRow("silent port: command waits 1 s") << true
        << "" << false << int(Request::SyncOn) << int(R::Timeout) << 1000;
    QTest::newRow("late poll answer still within 10 s")
        << false << "late:PC0:1500" << false << int(Request::CmdState) << int(R::Accepted) << 1500;
    QTest::newRow("late command answer misses its 1 s")
        << false << "late:W10:1500" << false << int(Request::SyncOn) << int(R::Timeout) << 1000;
}

void tst_SimulatedPort::timing_inVirtualTime()
{
    QFETCH(bool, silentPort);
    QFETCH(QString, fault);
    QFETCH(bool, wireTime);
    QFETCH(int, request);
    QFETCH(int, result);
    QFETCH(int, elapsedMs);

    if (silentPort) {
        m_factory->addSilentPort("COM5");
    } else {
        auto engine = m_factory->addInstrument("COM5");
        engine->setWireTime(wireTime);
        if (!fault.isEmpty())
            QVERIFY(engine->addFaults(fault));
    }
    auto port = openPort("COM5");
    QVERIFY(port);
    const qint64 start = m_clock->monotonicMs();
    QCOMPARE(int(m_io->transact(Request(request), QByteArray(), nullptr)), result);
    QCOMPARE(m_clock->monotonicMs() - start, qint64(elapsedMs));
}

void tst_SimulatedPort::lateCommandAnswer_waitsInThePortAfterTheTimeout()
{
    auto engine = m_factory->addInstrument("COM5");
    QVERIFY(engine->addFaults("late:W10:1500"));
    auto port = openPort("COM5");
    QCOMPARE(m_io->transact(Request::SyncOn, QByteArray(), nullptr), Frame::Result::Timeout);
    QCOMPARE(port->bytesAvailable(), 0);
    m_clock->advance(500);
    QCOMPARE(port->bytesAvailable(), 12);
}

void tst_SimulatedPort::close_losesAnswersInFlight()
{
    auto engine = m_factory->addInstrument("COM5");
    QVERIFY(engine->addFaults("late:all:100"));
    auto port = openPort("COM5");
    QVERIFY(m_io->send(Frame::request(Request::Detect)) > 0);
    port->close();
    QCOMPARE(port->write(Frame::request(Request::Detect)), qint64(-1));
    QVERIFY(port->open());
    m_clock->advance(200);
    QCOMPARE(port->bytesAvailable(), 0);
}

void tst_SimulatedPort::twoInstruments_eachAnswersOnItsOwnPort()
{
    m_factory->addInstrument("COM3")->withModel([](InstrumentModel &m) {
        m.identity().identification = "KSR-583 #0003";
    });
    m_factory->addInstrument("COM7")->withModel([](InstrumentModel &m) {
        m.identity().identification = "KSR-583 #0007";
    });
    for (const QString &name : QStringList{"COM3", "COM7"}) {
        auto port = openPort(name);
        QByteArray answer;
        QCOMPARE(m_io->transact(Request::Identify, QByteArray(), &answer), Frame::Result::Accepted);
        QCOMPARE(QString::fromLatin1(answer.mid(8, 13)), "KSR-583 #000" + name.right(1));
    }
}

QTEST_GUILESS_MAIN(tst_SimulatedPort)
#include "tst_simulatedport.moc"
