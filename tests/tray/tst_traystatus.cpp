#include "tray/TrayStatus.h"

#include <QSystemTrayIcon>
#include <QtTest>

// The tray's notification texts; the icon itself needs a desktop with a
// tray, which tests do not have.
class tst_TrayStatus : public QObject
{
    Q_OBJECT

private slots:
    void message_data();
    void message();
    void withoutTray_nothingIsMade();
};

void tst_TrayStatus::message_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("previous");
    QTest::addColumn<QString>("text");
    QTest::newRow("lost") << int(StatusTransition::InstrumentLost) << 0 << 0 << "The instrument does not answer";
    QTest::newRow("sync restored") << int(StatusTransition::SynchronisationRestored) << 0 << 0
                                   << "Synchronization is restored";
    QTest::newRow("signal lost names the channel") << int(StatusTransition::SignalLost) << 3 << 0
                                                   << "Channel 3 (Cs beam) has lost its signal";
    QTest::newRow("unnamed channel by number") << int(StatusTransition::SignalLost) << 4 << 0
                                               << "Channel 4 has lost its signal";
    QTest::newRow("default name is not repeated") << int(StatusTransition::SignalLost) << 2 << 0
                                                  << "Channel 2 has lost its signal";
    QTest::newRow("reference from the old to the new name")
        << int(StatusTransition::ReferenceChanged) << 2 << 1
        << "The reference is now channel 2 (Rb 2), was channel 1 (Rb old)";
}

void tst_TrayStatus::message()
{
    QFETCH(int, kind);
    QFETCH(int, channel);
    QFETCH(int, previous);
    QFETCH(QString, text);
    StatusSnapshot before;
    before.channelNames = QStringList{"Rb old", "Rb 2", "Cs beam", ""};
    StatusSnapshot after = before;
    after.channelNames[0] = "Rb 1";
    if (kind == StatusTransition::SignalLost && channel == 2)
        after.channelNames[1] = "Channel 2";
    const StatusTransition t{StatusTransition::Kind(kind), channel, previous};
    QCOMPARE(TrayStatus::message(t, before, after), text);
}

void tst_TrayStatus::withoutTray_nothingIsMade()
{
    QWidget window;
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("this desktop has a tray");
    QVERIFY(!TrayStatus::create(&window, true));
}

QTEST_MAIN(tst_TrayStatus)
#include "tst_traystatus.moc"
