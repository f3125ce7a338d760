#include "core/Configuration.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <limits>
#include <memory>

class tst_Configuration : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void missingFile_givesDefaultsAndStaysMissing();
    void integerKey_fallsBackWhenNotANumber_data();
    void integerKey_fallsBackWhenNotANumber();
    void language_data();
    void language();
    void channelNames_areSimplified();
    void windowPosition_appliedOnlyWhenBothPositive_data();
    void windowPosition_appliedOnlyWhenBothPositive();
    void parameterLogInterval_neverBelowOneMinute_data();
    void parameterLogInterval_neverBelowOneMinute();
    void exitSettings_createFileWithItsKeys();
    void exitSettings_cyrillicNamesRoundTripInWindows1251();

private:
    void writeIni(const QByteArray &content);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
};

void tst_Configuration::init()
{
    m_oldDir = QDir::currentPath();
    m_dir.reset(new QTemporaryDir);
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void tst_Configuration::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void tst_Configuration::writeIni(const QByteArray &content)
{
    QFile f(Configuration::fileName());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void tst_Configuration::missingFile_givesDefaultsAndStaysMissing()
{
    const Configuration c = Configuration::read();
    QCOMPARE(c.port, QStringLiteral("COM21"));
    QVERIFY(!c.russian);
    QCOMPARE(c.channelNames, QStringList({"Channel 1", "Channel 2", "Channel 3", "Channel 4"}));
    QVERIFY(c.supervisInfoFile);
    QCOMPARE(c.pathLocal, QDir::currentPath());
    QCOMPARE(c.passwordsFile, QDir::currentPath() + "/passwords.ini");
    QCOMPARE(c.numOfAttempts, 5);
    QCOMPARE(c.numOfSeconds, 1800);
    QCOMPARE(c.analyseAtStart, 1);
    QCOMPARE(c.monitorInterval, 10);
    QCOMPARE(c.controlAvailable, 1);
    QCOMPARE(c.debugLevel, 0);
    QCOMPARE(c.writeParamPeriod, 1);
    QVERIFY(!c.hasMainWindowPos());
    QVERIFY(c.notifications);
    QCOMPARE(c.metricsPort, 0);
    QCOMPARE(c.metricsAddress, QStringLiteral("127.0.0.1"));
    QVERIFY(!QFile::exists(Configuration::fileName()));
}

void tst_Configuration::integerKey_fallsBackWhenNotANumber_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("non-numeric NumOfAttemps gives 5") << QByteArray("[Passwords]\nNumOfAttemps=five\n") << "attempts" << 5;
    QTest::newRow("empty NumOfSeconds gives 1800") << QByteArray("[Passwords]\nNumOfSeconds=\n") << "seconds" << 1800;
    QTest::newRow("MonitorInterval 1 is taken") << QByteArray("[Settings]\nMonitorInterval=1\n") << "monitor" << 1;
    QTest::newRow("fractional MonitorInterval gives 10") << QByteArray("[Settings]\nMonitorInterval=2.5\n") << "monitor" << 10;
    QTest::newRow("text AnalyseAtStart gives 1") << QByteArray("[Settings]\nAnalyseAtStart=yes\n") << "analyse" << 1;
    QTest::newRow("text DEBUG_LEVEL gives 0") << QByteArray("[Settings]\nDEBUG_LEVEL=high\n") << "debug" << 0;
    QTest::newRow("text period gives 1") << QByteArray("[Settings]\nWriteParamInFile_Period=x\n") << "period" << 1;
    QTest::newRow("metrics port 9583 is taken") << QByteArray("[Metrics]\nPort=9583\n") << "metrics" << 9583;
    QTest::newRow("text metrics port keeps it off") << QByteArray("[Metrics]\nPort=on\n") << "metrics" << 0;
    QTest::newRow("empty metrics address stays local") << QByteArray("[Metrics]\nAddress=\n") << "local" << 1;
    QTest::newRow("Notifications 0 turns them off") << QByteArray("[Settings]\nNotifications=0\n")
                                                    << "notifications" << 0;
    QTest::newRow("text Notifications keeps them on") << QByteArray("[Settings]\nNotifications=no\n")
                                                      << "notifications" << 1;
}

void tst_Configuration::integerKey_fallsBackWhenNotANumber()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, field);
    QFETCH(int, expected);
    writeIni(ini);
    const Configuration c = Configuration::read();
    const QHash<QString, int> values{{"attempts", c.numOfAttempts}, {"seconds", c.numOfSeconds},
                                     {"monitor", c.monitorInterval}, {"analyse", c.analyseAtStart},
                                     {"control", c.controlAvailable}, {"debug", c.debugLevel},
                                     {"period", c.writeParamPeriod}, {"metrics", c.metricsPort},
                                     {"notifications", int(c.notifications)},
                                     {"local", int(c.metricsAddress == "127.0.0.1")}};
    QCOMPARE(values.value(field, -999), expected);
}

void tst_Configuration::language_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("russian");
    QTest::newRow("lower-case ru selects Russian") << QByteArray("[Settings]\nLanguage=ru\n") << true;
    QTest::newRow("RU selects Russian") << QByteArray("[Settings]\nLanguage=RU\n") << true;
    QTest::newRow("DE selects English") << QByteArray("[Settings]\nLanguage=DE\n") << false;
    QTest::newRow("no key selects English") << QByteArray("[Settings]\nCOM=COM3\n") << false;
}

void tst_Configuration::language()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, russian);
    writeIni(ini);
    QCOMPARE(Configuration::read().russian, russian);
}

void tst_Configuration::channelNames_areSimplified()
{
    writeIni("[Signal_names]\nChannel_2=\"  Rb   AHM#1  \"\nChannel_3=Cs, beam\n");
    const Configuration c = Configuration::read();
    QCOMPARE(c.channelNames.at(1), QStringLiteral("Rb AHM#1"));
    QCOMPARE(c.channelNames.at(2), QStringLiteral("Cs, beam"));
    QCOMPARE(c.channelNames.at(3), QStringLiteral("Channel 4"));
}

void tst_Configuration::windowPosition_appliedOnlyWhenBothPositive_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("applies");
    QTest::newRow("100 and 0 is not applied") << 100 << 0 << false;
    QTest::newRow("0 and 100 is not applied") << 0 << 100 << false;
    QTest::newRow("negative x is not applied") << -5 << 20 << false;
    QTest::newRow("100 and 50 is applied") << 100 << 50 << true;
}

void tst_Configuration::windowPosition_appliedOnlyWhenBothPositive()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, applies);
    writeIni(QStringLiteral("[Windows_Position]\nMain_Window_x=%1\nMain_Window_y=%2\n").arg(x).arg(y).toLatin1());
    const Configuration c = Configuration::read();
    QCOMPARE(c.hasMainWindowPos(), applies);
    QCOMPARE(c.mainWindowPos, QPoint(x, y));
}

void tst_Configuration::parameterLogInterval_neverBelowOneMinute_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("ms");
    QTest::newRow("5 minutes") << 5 << 300000;
    QTest::newRow("1 minute") << 1 << 60000;
    QTest::newRow("0 runs every minute") << 0 << 60000;
    QTest::newRow("negative runs every minute") << -3 << 60000;
    QTest::newRow("largest that fits") << 35791 << 2147460000;
    QTest::newRow("just too long is capped") << 35792 << std::numeric_limits<int>::max();
    QTest::newRow("huge is capped") << std::numeric_limits<int>::max() << std::numeric_limits<int>::max();
}

void tst_Configuration::parameterLogInterval_neverBelowOneMinute()
{
    QFETCH(int, period);
    QFETCH(int, ms);
    Configuration c;
    c.writeParamPeriod = period;
    QCOMPARE(c.parameterLogIntervalMs(), ms);
}

void tst_Configuration::exitSettings_createFileWithItsKeys()
{
    ExitSettings exit;
    exit.port = "COM7";
    exit.analyseAtStart = 0;
    exit.channelNames = QStringList{"A", "B", "C", "D"};
    exit.mainWindowPos = {120, 80};
    exit.controlWindowPos = {300, 200};
    exit.supervisInfoFile = false;
    exit.write();

    QSettings ini(Configuration::fileName(), QSettings::IniFormat);
    QStringList keys = ini.allKeys();
    keys.sort();
    QCOMPARE(keys, QStringList({"Settings/AnalyseAtStart", "Settings/COM", "Settings/SupervisInfoFile",
                                "Signal_names/Channel_1", "Signal_names/Channel_2",
                                "Signal_names/Channel_3", "Signal_names/Channel_4",
                                "Windows_Position/Control_Window_x", "Windows_Position/Control_Window_y",
                                "Windows_Position/Main_Window_x", "Windows_Position/Main_Window_y"}));
    QCOMPARE(ini.value("Settings/SupervisInfoFile").toString(), QStringLiteral("0"));

    exit.language = "RU";
    exit.write();
    const Configuration back = Configuration::read();
    QVERIFY(back.russian);
    QCOMPARE(back.port, QStringLiteral("COM7"));
    QCOMPARE(back.analyseAtStart, 0);
    QCOMPARE(back.mainWindowPos, QPoint(120, 80));
    QCOMPARE(back.controlWindowPos, QPoint(300, 200));
    QVERIFY(!back.supervisInfoFile);
}

void tst_Configuration::exitSettings_cyrillicNamesRoundTripInWindows1251()
{
    const QString name = QStringLiteral("Водородный стандарт");
    ExitSettings exit;
    exit.channelNames = QStringList{name, "B", "C", "D"};
    exit.write();

    QFile f(Configuration::fileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains(QTextCodec::codecForName("Windows-1251")->fromUnicode(name)));
    QCOMPARE(Configuration::read().channelNames.at(0), name);
}

QTEST_GUILESS_MAIN(tst_Configuration)
#include "tst_configuration.moc"
