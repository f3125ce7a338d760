#include "platform/linux/LinuxStablePortNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Stable names found through links in a folder that stands for
// /dev/serial/by-id, pointing at plain files that stand for devices.
class tst_StablePortNames : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void portBehindALink_isNamedByTheLink_data();
    void portBehindALink_isNamedByTheLink();
    void neutralNames_knowNone();

private:
    void makeDevice(const QString &name);
    void makeLink(const QString &name, const QString &target);
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_StablePortNames::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath("by-id"));
    makeDevice("ttyUSB1");
    makeDevice("ttyUSB2");
    makeLink("by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "../ttyUSB1");
    makeLink("by-id/usb-gone-if00-port0", "../ttyUSB9");
}

void tst_StablePortNames::makeDevice(const QString &name)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void tst_StablePortNames::makeLink(const QString &name, const QString &target)
{
    QVERIFY(QFile::link(target, path(name)));
}

void tst_StablePortNames::portBehindALink_isNamedByTheLink_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("expected");

    const QString link = "by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0";
    QTest::newRow("adapter with a link") << "ttyUSB1" << link;
    QTest::newRow("the link itself, as configured") << link << link;
    QTest::newRow("adapter without a link") << "ttyUSB2" << QString();
    QTest::newRow("port that is gone") << "ttyUSB9" << QString();
}

void tst_StablePortNames::portBehindALink_isNamedByTheLink()
{
    QFETCH(QString, port);
    QFETCH(QString, expected);
    const LinuxStablePortNames names(path("by-id"));

    QCOMPARE(names.forPort(path(port)), expected.isEmpty() ? QString() : path(expected));
}

void tst_StablePortNames::neutralNames_knowNone()
{
    QCOMPARE(StablePortNames().forPort(path("ttyUSB1")), QString());
    QCOMPARE(LinuxStablePortNames(path("no-such-folder")).forPort(path("ttyUSB1")), QString());
}

QTEST_GUILESS_MAIN(tst_StablePortNames)
#include "tst_stableportnames.moc"
