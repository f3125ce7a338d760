#include "link/QtSerialPort.h"
#include "tests/support/SilentTerminal.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<cause> <group>" for the port at `path`, as this process sees it.
QString openOutcome(const QString &path)
{
    QtSerialPort port;
    port.setPortName(path);
    port.open();
    const PortFailure failure = port.openFailure();
    return (QString::number(failure.cause) + QLatin1Char(' ') + failure.group).trimmed();
}

QString groupName(gid_t gid)
{
    const struct group *g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

const char ProbeVariable[] = "KSR_PROBE_PORT";

}  // namespace

// Real serial ports through Qt, on pseudo-terminals: why one refuses to open.
class tst_QtSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void refusingPort_saysWhy_data();
    void refusingPort_saysWhy();
    void deniedTerminal_namesOnlyAGroupThatMayReadAndWrite_data();
    void deniedTerminal_namesOnlyAGroupThatMayReadAndWrite();
};

void tst_QtSerialPort::refusingPort_saysWhy_data()
{
    QTest::addColumn<bool>("heldByAnother");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("cause");

    QTest::newRow("free terminal opens") << false << true << int(PortFailure::None);
    QTest::newRow("terminal another port holds is busy") << true << true << int(PortFailure::Busy);
    QTest::newRow("missing device is not present") << false << false << int(PortFailure::NotPresent);
}

void tst_QtSerialPort::refusingPort_saysWhy()
{
    QFETCH(bool, heldByAnother);
    QFETCH(bool, present);
    QFETCH(int, cause);
    SilentTerminal terminal;
    if (terminal.path().isEmpty())
        QSKIP("this machine gives no pseudo-terminal");
    const QString path = present ? terminal.path() : QStringLiteral("/dev/ttyKSR583-none");

    QtSerialPort holder;
    holder.setPortName(path);
    if (heldByAnother)
        QVERIFY(holder.open());

    QtSerialPort port;
    port.setPortName(path);
    QCOMPARE(port.open(), cause == PortFailure::None);
    QCOMPARE(int(port.openFailure().cause), cause);
}

// Root opens any device whatever its permissions, so root tries as nobody.
// A group is named only when it may read and write: a terminal's "tty" group
// may only write, and joining it would open nothing but other terminals.
void tst_QtSerialPort::deniedTerminal_namesOnlyAGroupThatMayReadAndWrite_data()
{
    QTest::addColumn<int>("groupBits");
    QTest::addColumn<bool>("named");
    QTest::newRow("group may read and write: named") << 06 << true;
    QTest::newRow("group may only write, as tty on a terminal: none") << 02 << false;
    QTest::newRow("group may only read: none") << 04 << false;
}

void tst_QtSerialPort::deniedTerminal_namesOnlyAGroupThatMayReadAndWrite()
{
    QFETCH(int, groupBits);
    QFETCH(bool, named);
    SilentTerminal terminal;
    if (terminal.path().isEmpty())
        QSKIP("this machine gives no pseudo-terminal");
    const QByteArray device = QFile::encodeName(terminal.path());
    const bool root = ::geteuid() == 0;
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const struct group *nogroup = ::getgrnam("nogroup");
    if (root && (setpriv.isEmpty() || !nogroup))
        QSKIP("running as root without setpriv or the group nogroup to test as nobody");
    const gid_t nobodysGroup = nogroup ? nogroup->gr_gid : 0;

    const auto outcome = [&] {
        if (!root)
            return openOutcome(terminal.path());
        QProcess nobody;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(ProbeVariable), terminal.path());
        nobody.setProcessEnvironment(env);
        nobody.start(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
                               QCoreApplication::applicationFilePath()});
        nobody.waitForFinished(60000);
        return QString::fromLocal8Bit(nobody.readAllStandardOutput()).trimmed();
    };

    // Root gives the terminal to the group tty, which nobody is not in; an
    // ordinary user keeps its own group and takes its own rights away.
    const struct group *tty = ::getgrnam("tty");
    const gid_t deniedGroup = root && tty ? tty->gr_gid : ::getegid();
    QVERIFY(::chown(device.constData(), ::geteuid(), deniedGroup) == 0);
    QVERIFY(::chmod(device.constData(), mode_t(groupBits) << 3) == 0);
    QCOMPARE(outcome(), QString::number(PortFailure::PermissionDenied)
                            + (named ? QLatin1Char(' ') + groupName(deniedGroup) : QString()));

    if (root)
        QVERIFY(::chown(device.constData(), 0, nobodysGroup) == 0);
    QVERIFY(::chmod(device.constData(), root ? 0660 : 0600) == 0);
    QCOMPARE(outcome(), QString::number(PortFailure::None));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Started again as another user: only say how the port opens.
    const QString probed = qEnvironmentVariable(ProbeVariable);
    if (!probed.isEmpty()) {
        printf("%s\n", qPrintable(openOutcome(probed)));
        return 0;
    }
    tst_QtSerialPort test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtserialport.moc"
