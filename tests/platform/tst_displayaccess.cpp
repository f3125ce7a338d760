#include "platform/linux/LinuxDisplayAccess.h"

#include <QtTest>

// Whether the window mode has a display to open, as the platform asked for
// and the environment decide, before Qt would abort for want of one.
class tst_DisplayAccess : public QObject
{
    Q_OBJECT

private slots:
    void available_data();
    void available();
};

void tst_DisplayAccess::available_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<bool>("available");
    QTest::newRow("default platform, no DISPLAY") << "" << "" << "" << false;
    QTest::newRow("default platform, DISPLAY :0") << "" << ":0" << "" << true;
    QTest::newRow("xcb with options, no DISPLAY") << "xcb:nograb" << "" << "wayland-0" << false;
    QTest::newRow("wayland, its display set") << "wayland" << "" << "wayland-0" << true;
    QTest::newRow("wayland, only an X display") << "wayland-egl" << ":0" << "" << false;
    QTest::newRow("wayland first, X as fallback") << "wayland;xcb" << ":0" << "" << true;
    QTest::newRow("offscreen needs none") << "offscreen" << "" << "" << true;
    QTest::newRow("vnc needs none") << "vnc:size=800x600" << "" << "" << true;
}

void tst_DisplayAccess::available()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(bool, available);
    QCOMPARE(LinuxDisplayAccess::available(platform, display, wayland), available);
}

QTEST_GUILESS_MAIN(tst_DisplayAccess)
#include "tst_displayaccess.moc"
