#include "startup/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

// One program per work folder: the lock is refused while its holder lives,
// taken over when the holder is gone, and a folder that cannot hold it says
// so.
class tst_InstanceLock : public QObject
{
    Q_OBJECT

private slots:
    void acquire_data();
    void acquire();
    void release_freesTheFolder();
};

namespace {

enum class Before { Nothing, HeldHere, LeftByGoneProcess, FolderIsAFile };

// The id of a process that has ended: a child that ran and was reaped.
qint64 goneProcess()
{
    QProcess child;
    child.start(QStringLiteral("true"), QStringList());
    child.waitForFinished(10000);
    return child.processId() ? child.processId() : 999999;
}

}  // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(InstanceLock::Outcome)

void tst_InstanceLock::acquire_data()
{
    QTest::addColumn<Before>("before");
    QTest::addColumn<InstanceLock::Outcome>("outcome");
    QTest::addColumn<QString>("said");
    using O = InstanceLock::Outcome;
    QTest::newRow("a free folder is taken") << Before::Nothing << O::Held << "";
    QTest::newRow("held by a live process: refused, naming it")
        << Before::HeldHere << O::InUse
        << QStringLiteral("is in use by process %1 (%2)").arg(QCoreApplication::applicationPid()).arg(QCoreApplication::applicationName());
    QTest::newRow("left by a process that is gone: taken over") << Before::LeftByGoneProcess << O::Held << "";
    QTest::newRow("a folder that is a file: cannot write") << Before::FolderIsAFile << O::CannotWrite
                                                             << "Cannot write the lock file ksr583-monitor.lock";
}

void tst_InstanceLock::acquire()
{
    QFETCH(Before, before);
    QFETCH(InstanceLock::Outcome, outcome);
    QFETCH(QString, said);
    QTemporaryDir dir;
    QString folder = dir.path();
    std::unique_ptr<InstanceLock> holder;
    if (before == Before::HeldHere) {
        holder = std::make_unique<InstanceLock>(folder);
        QCOMPARE(holder->acquire(), InstanceLock::Outcome::Held);
    } else if (before == Before::LeftByGoneProcess) {
        QFile left(QDir(folder).filePath(InstanceLock::fileName()));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write(QByteArray::number(goneProcess()) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n'
                   + QSysInfo::machineHostName().toUtf8() + '\n');
    } else if (before == Before::FolderIsAFile) {
        folder = dir.filePath("plain");
        QFile plain(folder);
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }

    InstanceLock lock(folder);
    QCOMPARE(lock.acquire(), outcome);
    QVERIFY2(lock.problem().contains(said), qPrintable(lock.problem()));
    QCOMPARE(lock.problem().isEmpty(), outcome == InstanceLock::Outcome::Held);
}

void tst_InstanceLock::release_freesTheFolder()
{
    QTemporaryDir dir;
    {
        InstanceLock first(dir.path());
        QCOMPARE(first.acquire(), InstanceLock::Outcome::Held);
        QVERIFY(QFile::exists(dir.filePath(InstanceLock::fileName())));
    }
    QVERIFY(!QFile::exists(dir.filePath(InstanceLock::fileName())));
    InstanceLock second(dir.path());
    QCOMPARE(second.acquire(), InstanceLock::Outcome::Held);
}

QTEST_GUILESS_MAIN(tst_InstanceLock)
#include "tst_instancelock.moc"
