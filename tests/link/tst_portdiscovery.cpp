#include "link/PortDiscovery.h"
#include "tests/support/FakeExchange.h"
#include "tests/support/FakeInstrument.h"

#include <QtTest>

#include <atomic>
#include <memory>

// The searches on their own, on the test's thread: fake ports, virtual time.
class tst_PortDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void configuredPort_isChosenEvenWhenAnotherAnswers_data();
    void configuredPort_isChosenEvenWhenAnotherAnswers();
    void configuredPortSilent_firstAnsweringPortInListOrderBecomesPortName_data();
    void configuredPortSilent_firstAnsweringPortInListOrderBecomesPortName();
    void nothingQualifies_attemptFails_data();
    void nothingQualifies_attemptFails();
    void automaticSearch_reportsProgressAndItems();
    void stopConnectingDuringSearch_endsAfterPortBeingIdentified();
    void stopConnectingDuringConfiguredAttempt_triesNoFurtherPort();
    void runningCleared_searchReturnsWithoutOpening();
    void unlistedConfiguredPort_isAddedAndFound();
    void chosenPortThatCannotBeOpened_failsAttempt();
    void identification_waitsAtMost100ms();
    void unopenablePort_isReportedOncePerCause_data();
    void unopenablePort_isReportedOncePerCause();
    void portHeldNowAndThen_isReportedOnceUntilConnected_data();
    void portHeldNowAndThen_isReportedOnceUntilConnected();
    void portThatOpensAgain_isReportedAfreshWhenItFailsLater();
    void portDetails_travelBesideTheList_withStableNamesToKeep();
    void configuredStableName_findsItsPortUnderTheListedName();
    void connection_namesItsPortWholeBesideTheIdentification();

private:
    bool automatic() { return m_discovery->automaticSearch(m_portName); }
    bool configured() { return m_discovery->tryConfiguredPort(m_portName); }
    bool attempt(bool all) { return all ? automatic() : configured(); }
    void attachInstrument(const QString &port, const QByteArray &text = "KSR-583 #0042");
    QStringList identifiedPorts() const;
    QStringList lastItems() const;
    int lastIndex() const;

    std::unique_ptr<FakeExchange> m_bench;
    FakeLine *m_line = nullptr;
    VirtualClock *m_clock = nullptr;
    SerialPort *m_port = nullptr;
    std::atomic<bool> m_running{true};
    std::atomic<bool> m_connecting{true};
    std::unique_ptr<PortDiscovery> m_discovery;
    std::unique_ptr<QSignalSpy> m_updPorts;
    std::unique_ptr<QSignalSpy> m_title;
    std::unique_ptr<QSignalSpy> m_lines;
    std::unique_ptr<QSignalSpy> m_progress;
    std::unique_ptr<QSignalSpy> m_failures;
    std::unique_ptr<QSignalSpy> m_details;
    QString m_portName;
};

void tst_PortDiscovery::init()
{
    m_bench = std::make_unique<FakeExchange>();
    m_line = m_bench->line.get();
    m_clock = &m_bench->clock;
    m_port = m_bench->port.get();
    m_line->setListed({"COM1", "COM2", "COM3", "COM4"});
    m_running = true;
    m_connecting = true;
    m_discovery = std::make_unique<PortDiscovery>(m_bench->io, m_bench->factory, m_running, m_connecting);
    m_updPorts = std::make_unique<QSignalSpy>(m_discovery.get(), &PortDiscovery::updPorts);
    m_title = std::make_unique<QSignalSpy>(m_discovery.get(), &PortDiscovery::setWinTitle);
    m_lines = std::make_unique<QSignalSpy>(m_discovery.get(), &PortDiscovery::windowInfo);
    m_progress = std::make_unique<QSignalSpy>(m_discovery.get(), &PortDiscovery::com_status);
    m_failures = std::make_unique<QSignalSpy>(m_discovery.get(), &PortDiscovery::debugInfo);
    m_details = std::make_unique<QSignalSpy>(m_discovery.get(), &PortDiscovery::portsDescribed);
    m_portName = "COM1";
}

void tst_PortDiscovery::cleanup()
{
    m_updPorts.reset();
    m_title.reset();
    m_lines.reset();
    m_progress.reset();
    m_failures.reset();
    m_details.reset();
    m_discovery.reset();
    m_bench.reset();
}

void tst_PortDiscovery::attachInstrument(const QString &port, const QByteArray &text)
{
    m_line->attach(port, FakeInstrument(text).device());
}

QStringList tst_PortDiscovery::identifiedPorts() const
{
    QStringList ports;
    const auto writes = m_line->writes();
    for (const FakeWrite &w : writes) {
        if (w.frame.mid(1, 3) == "FN0")
            ports.append(w.port);
    }
    return ports;
}

QStringList tst_PortDiscovery::lastItems() const
{
    return m_updPorts->isEmpty() ? QStringList() : m_updPorts->last().at(0).toStringList();
}

int tst_PortDiscovery::lastIndex() const
{
    return m_updPorts->isEmpty() ? -1 : m_updPorts->last().at(1).toInt();
}

namespace {

void bothSearches()
{
    QTest::addColumn<bool>("searchAll");
    QTest::newRow("configured-port attempt") << false;
    QTest::newRow("automatic search") << true;
}

}  // namespace

void tst_PortDiscovery::configuredPort_isChosenEvenWhenAnotherAnswers_data()
{
    bothSearches();
}

void tst_PortDiscovery::configuredPort_isChosenEvenWhenAnotherAnswers()
{
    QFETCH(bool, searchAll);
    attachInstrument("COM1", "KSR-583 #0001");
    attachInstrument("COM3", "KSR-583 #0042");
    m_portName = "COM3";

    QVERIFY(attempt(searchAll));

    QCOMPARE(m_portName, QString("COM3"));
    QCOMPARE(lastIndex(), 2);
    QCOMPARE(lastItems().at(2), QString("COM3 KSR-583 #0042"));
    QCOMPARE(m_title->count(), 1);
    QCOMPARE(m_title->first().at(0).toString(), QString("COM3 KSR-583 #0042"));
    QCOMPARE(m_lines->last().at(0).toString(), QString("Connected to COM3 KSR-583 #0042"));
    QCOMPARE(m_discovery->connectedItem(), QString("COM3 KSR-583 #0042"));
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_port->portName(), QString("COM3"));
    if (!searchAll)
        QCOMPARE(identifiedPorts(), QStringList{"COM3"});
}

void tst_PortDiscovery::configuredPortSilent_firstAnsweringPortInListOrderBecomesPortName_data()
{
    bothSearches();
}

void tst_PortDiscovery::configuredPortSilent_firstAnsweringPortInListOrderBecomesPortName()
{
    QFETCH(bool, searchAll);
    attachInstrument("COM2", "KSR-583 #0002");
    attachInstrument("COM4", "KSR-583 #0004");
    m_portName = "COM1";

    QVERIFY(attempt(searchAll));

    QCOMPARE(m_portName, QString("COM2"));
    QCOMPARE(lastIndex(), 1);
    QCOMPARE(lastItems().at(1), QString("COM2 KSR-583 #0002"));
    QCOMPARE(m_title->first().at(0).toString(), QString("COM2 KSR-583 #0002"));
    QCOMPARE(m_port->portName(), QString("COM2"));
}

void tst_PortDiscovery::nothingQualifies_attemptFails_data()
{
    QTest::addColumn<bool>("searchAll");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("another instrument, configured-port attempt") << false << QByteArray("KSR-582 #0042");
    QTest::newRow("another instrument, automatic search") << true << QByteArray("KSR-582 #0042");
    QTest::newRow("583 after a zero byte") << true << QByteArray("KSR\0" "583", 7);
    QTest::newRow("no text at all") << true << QByteArray();
}

void tst_PortDiscovery::nothingQualifies_attemptFails()
{
    QFETCH(bool, searchAll);
    QFETCH(QByteArray, text);
    for (const char *port : {"COM1", "COM2", "COM3", "COM4"})
        attachInstrument(port, text);

    QVERIFY(!attempt(searchAll));

    QCOMPARE(m_portName, QString("COM1"));
    QCOMPARE(m_title->count(), 0);
    QCOMPARE(lastItems(), QStringList({"COM1", "COM2", "COM3", "COM4"}));
    QVERIFY(!m_port->isOpen());
}

void tst_PortDiscovery::automaticSearch_reportsProgressAndItems()
{
    attachInstrument("COM3");

    QVERIFY(automatic());

    QCOMPARE(m_lines->first().at(0).toString(), QString("Looking for devices..."));
    QCOMPARE(m_progress->count(), 4);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(m_progress->at(k), QVariantList({4, k + 1}));
    // Once when the search ends, once with the choice made.
    QCOMPARE(m_updPorts->count(), 2);
    QCOMPARE(lastItems(), QStringList({"COM1", "COM2", "COM3 KSR-583 #0042", "COM4"}));
    QCOMPARE(lastIndex(), 2);
    QCOMPARE(m_discovery->publishedPorts(), QStringList({"COM1", "COM2", "COM3", "COM4"}));
}

void tst_PortDiscovery::stopConnectingDuringSearch_endsAfterPortBeingIdentified()
{
    FakeInstrument device;
    device.setOnRequest([this](const QByteArray &) { m_connecting = false; });
    m_line->attach("COM2", device.device());
    attachInstrument("COM3");

    QVERIFY(!automatic());

    QCOMPARE(identifiedPorts(), QStringList({"COM1", "COM2"}));
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_title->count(), 0);
    // The details still match the shorter list entry for entry.
    QCOMPARE(m_details->last().at(0).value<QList<PortInfo>>().size(), lastItems().size());
}

void tst_PortDiscovery::stopConnectingDuringConfiguredAttempt_triesNoFurtherPort()
{
    FakeInstrument silent;
    silent.setAllAnswers(FakeInstrument::Answer::Silent);
    silent.setOnRequest([this](const QByteArray &) { m_connecting = false; });
    m_line->attach("COM1", silent.device());
    attachInstrument("COM2");

    QVERIFY(!configured());

    QCOMPARE(identifiedPorts(), QStringList{"COM1"});
    QCOMPARE(m_portName, QString("COM1"));
}

void tst_PortDiscovery::runningCleared_searchReturnsWithoutOpening()
{
    FakeInstrument device;
    device.setOnRequest([this](const QByteArray &) { m_running = false; });
    m_line->attach("COM1", device.device());

    QVERIFY(!automatic());

    QCOMPARE(identifiedPorts(), QStringList{"COM1"});
    QVERIFY(!m_port->isOpen());
}

void tst_PortDiscovery::unlistedConfiguredPort_isAddedAndFound()
{
    m_line->setListed({"/dev/ttyS0"});
    attachInstrument("/dev/pts/7");
    m_portName = "/dev/pts/7";

    QVERIFY(automatic());

    QCOMPARE(m_discovery->publishedPorts(), QStringList({"/dev/ttyS0", "/dev/pts/7"}));
    QCOMPARE(lastItems().at(1), QString("/dev/pts/7 KSR-583 #0042"));
    QCOMPARE(lastIndex(), 1);
}

void tst_PortDiscovery::chosenPortThatCannotBeOpened_failsAttempt()
{
    FakeInstrument device;
    // The port answers the identification, then refuses to open again.
    device.setOnRequest([this](const QByteArray &) { m_line->setOpenable("COM2", false); });
    m_line->attach("COM2", device.device());

    QVERIFY(!automatic());
    QCOMPARE(m_title->count(), 0);
    QCOMPARE(lastIndex(), 1);
}

void tst_PortDiscovery::identification_waitsAtMost100ms()
{
    FakeInstrument slow;
    slow.setAnswerDelayMs(150);
    m_line->attach("COM1", slow.device());
    FakeInstrument quick;
    quick.setAnswerDelayMs(20);
    m_line->attach("COM2", quick.device());

    const qint64 start = m_clock->monotonicMs();
    QCOMPARE(m_discovery->identify("COM1"), QString());
    QCOMPARE(m_clock->monotonicMs() - start, qint64(100));

    const qint64 second = m_clock->monotonicMs();
    QCOMPARE(m_discovery->identify("COM2"), QString("KSR-583 #0042"));
    QCOMPARE(m_clock->monotonicMs() - second, qint64(20));
}

void tst_PortDiscovery::unopenablePort_isReportedOncePerCause_data()
{
    QTest::addColumn<bool>("searchAll");
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("expected");

    QTest::newRow("permission denied names the owning group")
        << false << int(PortFailure::PermissionDenied) << "dialout"
        << "Cannot open COM2: permission denied. The user must be in the group \"dialout\" that "
           "owns the port (sudo usermod -aG dialout $USER) and log in again.";
    QTest::newRow("permission denied where no group may read and write gives the udev rule")
        << true << int(PortFailure::PermissionDenied) << ""
        << "Cannot open COM2: permission denied, and no group may both read and write it. The "
           "administrator can give it to a group such as \"dialout\" with a udev rule and put "
           "the user in that group.";
    QTest::newRow("permission denied by the superuser's group gives no usermod")
        << true << int(PortFailure::PermissionDenied) << "root"
        << "Cannot open COM2: permission denied. The port belongs to the group \"root\"; the "
           "administrator can give it to a group such as \"dialout\" with a udev rule and put "
           "the user in that group.";
    QTest::newRow("busy") << true << int(PortFailure::Busy) << ""
                          << "Cannot open COM2: the port is busy, another program holds it.";
    QTest::newRow("not present") << true << int(PortFailure::NotPresent) << ""
                                 << "Cannot open COM2: there is no such port now.";
    QTest::newRow("other") << false << int(PortFailure::Other) << "" << "Cannot open COM2.";
}

void tst_PortDiscovery::unopenablePort_isReportedOncePerCause()
{
    QFETCH(bool, searchAll);
    QFETCH(int, cause);
    QFETCH(QString, group);
    QFETCH(QString, expected);
    m_line->setOpenFailure("COM2", PortFailure(PortFailure::Cause(cause), group));

    for (int repeat = 0; repeat < 3; ++repeat) {
        m_discovery->clear();
        QVERIFY(!attempt(searchAll));
    }

    QCOMPARE(m_failures->count(), 1);
    QCOMPARE(m_failures->first(), QVariantList({expected, QString("red")}));
    // The same reason stands beside the port in the list.
    const auto ports = m_details->last().at(0).value<QList<PortInfo>>();
    QCOMPARE(int(ports.at(1).failure), cause);
    QCOMPARE(int(ports.at(0).failure), int(PortFailure::None));

    m_line->setOpenFailure("COM2", PortFailure(PortFailure::Busy));
    m_line->setOpenFailure("COM3", PortFailure(PortFailure::Busy));
    QVERIFY(!attempt(searchAll));
    QCOMPARE(m_failures->count(), cause == PortFailure::Busy ? 2 : 3);
}

// Another program searching too holds the port for a moment at a time: the
// probes between find it free, and that is no reason to say "busy" again.
void tst_PortDiscovery::portHeldNowAndThen_isReportedOnceUntilConnected_data()
{
    QTest::addColumn<bool>("searchAll");
    QTest::newRow("automatic search") << true;
    QTest::newRow("configured port") << false;
}

void tst_PortDiscovery::portHeldNowAndThen_isReportedOnceUntilConnected()
{
    QFETCH(bool, searchAll);
    m_portName = "COM2";
    for (int repeat = 0; repeat < 3; ++repeat) {
        m_line->setOpenFailure("COM2", PortFailure(PortFailure::Busy));
        QVERIFY(!attempt(searchAll));
        m_line->setOpenFailure("COM2", PortFailure());
        QVERIFY(!attempt(searchAll));
    }
    QCOMPARE(m_failures->count(), 1);
    // The list shows the port as it is now.
    const auto ports = m_details->last().at(0).value<QList<PortInfo>>();
    QCOMPARE(int(ports.at(1).failure), int(PortFailure::None));
}

void tst_PortDiscovery::portThatOpensAgain_isReportedAfreshWhenItFailsLater()
{
    m_line->setListed({"COM1"});
    m_line->setOpenFailure("COM1", PortFailure(PortFailure::Busy));
    QVERIFY(!automatic());
    m_line->setOpenFailure("COM1", PortFailure());
    attachInstrument("COM1");
    QVERIFY(automatic());
    m_line->setOpenFailure("COM1", PortFailure(PortFailure::Busy));
    QVERIFY(!automatic());

    QCOMPARE(m_failures->count(), 2);
}

void tst_PortDiscovery::portDetails_travelBesideTheList_withStableNamesToKeep()
{
    const QString adapter = "/dev/ttyUSB1";
    const QString stable = "/dev/serial/by-id/usb-Prolific_USB 2.0 Serial-if00-port0";
    m_line->setListed({"/dev/ttyS0", adapter});
    PortInfo usb;
    usb.name = adapter;
    usb.description = QString::fromUtf8("Преобразователь USB-RS232");
    usb.manufacturer = QString::fromUtf8("ООО «Бронтел»");
    usb.serialNumber = "A10K 3XYZ";
    usb.usbId = "067b:2303";
    usb.stableName = stable;
    m_line->describe(usb);
    attachInstrument(adapter);
    m_portName = "/dev/ttyS0";

    QVERIFY(automatic());

    const auto ports = m_details->last().at(0).value<QList<PortInfo>>();
    QCOMPARE(ports.size(), 2);
    QCOMPARE(ports.at(0).name, QString("/dev/ttyS0"));
    QCOMPARE(ports.at(0).description, QString());
    QCOMPARE(ports.at(1).description, usb.description);
    QCOMPARE(ports.at(1).manufacturer, usb.manufacturer);
    QCOMPARE(ports.at(1).serialNumber, usb.serialNumber);
    QCOMPARE(ports.at(1).usbId, usb.usbId);
    // The list itself keeps its form; the name kept for the next start is the
    // one that survives a replug.
    QCOMPARE(lastItems(), QStringList({"/dev/ttyS0", adapter + " KSR-583 #0042"}));
    QCOMPARE(m_discovery->publishedPorts(), QStringList({"/dev/ttyS0", stable}));
    QCOMPARE(m_portName, stable);
    QCOMPARE(m_port->portName(), adapter);
}

void tst_PortDiscovery::configuredStableName_findsItsPortUnderTheListedName()
{
    const QString stable = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0";
    m_line->setListed({"/dev/ttyS0", "/dev/ttyUSB1"});
    PortInfo usb;
    usb.name = "/dev/ttyUSB1";
    usb.stableName = stable;
    m_line->describe(usb);
    attachInstrument("/dev/ttyUSB1");
    m_portName = stable;

    QVERIFY(configured());

    QCOMPARE(identifiedPorts(), QStringList{"/dev/ttyUSB1"});
    QCOMPARE(lastItems(), QStringList({"/dev/ttyS0", "/dev/ttyUSB1 KSR-583 #0042"}));
    QCOMPARE(m_portName, stable);
}

void tst_PortDiscovery::connection_namesItsPortWholeBesideTheIdentification()
{
    const QString port = "/dev/serial/by-id/usb-Prolific PL2303 (COM 7)-port0";
    m_line->setListed({"COM1", port});
    attachInstrument(port, "KSR-583 #0042");
    m_portName = port;
    QSignalSpy connected(m_discovery.get(), &PortDiscovery::connectedTo);

    QVERIFY(attempt(false));

    QCOMPARE(connected.count(), 1);
    QCOMPARE(connected.first().at(0).toString(), port);
    QCOMPARE(connected.first().at(1).toString(), QString("KSR-583 #0042"));
}

QTEST_GUILESS_MAIN(tst_PortDiscovery)
#include "tst_portdiscovery.moc"
