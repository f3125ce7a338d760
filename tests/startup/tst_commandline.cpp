#include "startup/CommandLine.h"
#include "startup/WorkFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The options on their own, and the built program answering them.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void arguments_giveRequestAndFolder_data();
    void arguments_giveRequestAndFolder();
    void builtProgram_answersHelpAndVersionWithoutADisplay_data();
    void builtProgram_answersHelpAndVersionWithoutADisplay();
    void builtProgram_worksInTheFolderItIsGiven_data();
    void builtProgram_worksInTheFolderItIsGiven();

private:
    static QString program();
};

Q_DECLARE_METATYPE(CommandLine::Request)

QString tst_CommandLine::program()
{
    const QString monitor = qEnvironmentVariable("KSR_MONITOR");
    return QFileInfo(monitor).isExecutable() ? monitor : QString();
}

void tst_CommandLine::arguments_giveRequestAndFolder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Request>("request");
    QTest::addColumn<QString>("workdir");
    using R = CommandLine::Request;

    QTest::newRow("none: the current folder") << QStringList() << R::Run << "";
    QTest::newRow("a folder with a blank")
        << QStringList{"--workdir", "/srv/ksr 583"} << R::Run << "/srv/ksr 583";
    QTest::newRow("a folder after =") << QStringList{"--workdir=lab"} << R::Run << "lab";
    QTest::newRow("the user's folder")
        << QStringList{"--user-workdir"} << R::Run << WorkFolder::userFolder();
    QTest::newRow("help wins over options Qt has not taken yet")
        << QStringList{"-platform", "xcb", "--help"} << R::Help << "";
    QTest::newRow("version") << QStringList{"-v"} << R::Version << "";
    QTest::newRow("both folders") << QStringList{"--workdir", "a", "--user-workdir"} << R::Error << "";
    QTest::newRow("workdir without a folder") << QStringList{"--workdir"} << R::Error << "";
    QTest::newRow("empty workdir") << QStringList{"--workdir="} << R::Error << "";
    QTest::newRow("stray argument") << QStringList{"fconn583.ini"} << R::Error << "";
    QTest::newRow("unknown option") << QStringList{"--port", "COM3"} << R::Error << "";
    QTest::newRow("the service in a folder") << QStringList{"--service", "--workdir", "lab"} << R::Run << "lab";
    QTest::newRow("the service does not import")
        << QStringList{"--service", "--import-parameter-logs"} << R::Error << "";
    QTest::newRow("status of a folder's service") << QStringList{"--status", "--workdir", "lab"} << R::Status << "lab";
    QTest::newRow("status of a service on the network")
        << QStringList{"--status", "labpc:7583", "--json"} << R::Status << "";
    QTest::newRow("status of two services") << QStringList{"--status", "a:1", "b:2"} << R::Error << "";
    QTest::newRow("json without status") << QStringList{"--json"} << R::Error << "";
    QTest::newRow("status is no service") << QStringList{"--status", "--service"} << R::Error << "";
    QTest::newRow("attached to the folder's service") << QStringList{"--attach", "--workdir", "lab"} << R::Run << "lab";
    QTest::newRow("attached to a host") << QStringList{"--attach", "labpc:7583"} << R::Run << "";
    QTest::newRow("attached to two hosts") << QStringList{"--attach", "a:1", "b:2"} << R::Error << "";
    QTest::newRow("attached service") << QStringList{"--service", "--attach"} << R::Error << "";
}

void tst_CommandLine::arguments_giveRequestAndFolder()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Request, request);
    QFETCH(QString, workdir);

    CommandLine command;
    QCOMPARE(command.parse(QStringList{"ksr583-monitor"} + arguments), request);
    if (request == CommandLine::Request::Error)
        QVERIFY(!command.errorText().isEmpty());
    else
        QCOMPARE(command.workdir(), workdir);
    if (request == CommandLine::Request::Run)
        QCOMPARE(command.attachAddress(), arguments.contains("labpc:7583") ? QString("labpc:7583") : QString());
}

void tst_CommandLine::builtProgram_answersHelpAndVersionWithoutADisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");

    // The same four-part version as the window title and the About box.
    QTest::newRow("version") << "--version" << "C" << "ksr583-monitor 2.20.05.091";
    QTest::newRow("help") << "--help" << "C" << "--user-workdir";
    QTest::newRow("help in Russian") << "-h" << "ru_RU.UTF-8"
                                     << QString::fromUtf8("Так программу запускает пункт меню.");
}

void tst_CommandLine::builtProgram_answersHelpAndVersionWithoutADisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, language);
    QFETCH(QString, expected);
    if (program().isEmpty())
        QSKIP("KSR_MONITOR does not name the built ksr583-monitor; run this test through ctest");

    QProcess monitor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(display);
    // A GUI start would need the display that is not there, and fail.
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LC_ALL", language);
    monitor.setProcessEnvironment(env);
    monitor.start(program(), {option});
    QVERIFY(monitor.waitForFinished(30000));

    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), 0);
    // Lines wrap where the widest option leaves room.
    QVERIFY2(QString::fromUtf8(monitor.readAllStandardOutput()).simplified().contains(expected),
             qPrintable(monitor.readAllStandardError()));
}

void tst_CommandLine::builtProgram_worksInTheFolderItIsGiven_data()
{
    QTest::addColumn<bool>("userFolder");
    QTest::newRow("--workdir, no file made at start") << false;
    QTest::newRow("--user-workdir, a default file made") << true;
}

void tst_CommandLine::builtProgram_worksInTheFolderItIsGiven()
{
    QFETCH(bool, userFolder);
    if (program().isEmpty())
        QSKIP("KSR_MONITOR does not name the built ksr583-monitor; run this test through ctest");
    QTemporaryDir elsewhere;
    QTemporaryDir dataHome;
    QVERIFY(elsewhere.isValid() && dataHome.isValid());
    const QString folder = userFolder ? dataHome.filePath("ksr583-monitor")
                                      : dataHome.filePath("lab folder/ksr");

    QProcess monitor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", dataHome.path());
    monitor.setProcessEnvironment(env);
    monitor.setWorkingDirectory(elsewhere.path());
    monitor.start(program(), userFolder ? QStringList{"--user-workdir"} : QStringList{"--workdir", folder});
    QVERIFY(monitor.waitForStarted(10000));

    const QDir logs(folder + "/Logs");
    QTRY_VERIFY_WITH_TIMEOUT(!logs.entryList({"*.log"}, QDir::Files).isEmpty(), 30000);
    monitor.kill();
    monitor.waitForFinished(10000);

    QVERIFY(QDir(folder + "/Status").exists());
    QVERIFY(QDir(elsewhere.path()).isEmpty());
    QCOMPARE(QFileInfo::exists(folder + "/fconn583.ini"), userFolder);
    if (userFolder) {
        QSettings ini(folder + "/fconn583.ini", QSettings::IniFormat);
#ifdef Q_OS_WIN
        QCOMPARE(ini.value("Settings/COM").toString(), QString("COM21"));
#else
        // No port to guess: the first start searches for the instrument.
        QCOMPARE(ini.value("Settings/COM").toString(), QString());
#endif
        QCOMPARE(ini.value("Settings/Path_local").toString(), QString("."));
    }
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
