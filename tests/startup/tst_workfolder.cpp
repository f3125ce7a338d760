#include "core/Configuration.h"
#include "startup/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class tst_WorkFolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newFolder_isMadeWithTheDefaultsTheProgramReads();
    void folderWithAFile_keepsIt();
    void folderThatCannotBeMade_saysWhyAndStaysPut();

private:
    QString m_oldDir;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_WorkFolder::init()
{
    m_oldDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_WorkFolder::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void tst_WorkFolder::newFolder_isMadeWithTheDefaultsTheProgramReads()
{
    const QString folder = m_dir->filePath("data/ksr583-monitor");
    const Configuration missing = Configuration::read(m_dir->filePath("no such file.ini"));
    QString error;

    QVERIFY2(WorkFolder::enter(folder, true, &error), qPrintable(error));

    QCOMPARE(QDir::currentPath(), folder);
    const Configuration c = Configuration::read();
    QCOMPARE(c.mainWindowPos, missing.mainWindowPos);
    QCOMPARE(c.controlWindowPos, missing.controlWindowPos);
    QCOMPARE(c.russian, missing.russian);
    QCOMPARE(QFileInfo(c.passwordsFile).absoluteFilePath(), folder + "/passwords.ini");
    QCOMPARE(c.numOfAttempts, missing.numOfAttempts);
    QCOMPARE(c.numOfSeconds, missing.numOfSeconds);
    QCOMPARE(c.supervisInfoFile, missing.supervisInfoFile);
    QCOMPARE(QDir(c.pathLocal).absolutePath(), folder);
#ifdef Q_OS_WIN
    QCOMPARE(c.port, missing.port);
#else
    // Searched for, since "COM21" names nothing here.
    QCOMPARE(c.port, QString());
#endif
    QCOMPARE(c.analyseAtStart, missing.analyseAtStart);
    QCOMPARE(c.monitorInterval, missing.monitorInterval);
    QCOMPARE(c.controlAvailable, missing.controlAvailable);
    QCOMPARE(c.debugLevel, missing.debugLevel);
    QCOMPARE(c.writeParamPeriod, missing.writeParamPeriod);
    QCOMPARE(c.channelNames, missing.channelNames);
    QSettings ini(Configuration::fileName(), QSettings::IniFormat);
    QCOMPARE(ini.value("Settings/Qualification").toString(), QString("0"));
    QCOMPARE(ini.value("Settings/AVE").toString(), QString("0"));
}

void tst_WorkFolder::folderWithAFile_keepsIt()
{
    QFile ini(m_dir->filePath("fconn583.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\nCOM=/dev/serial/by-id/usb-FTDI-if00-port0\n");
    ini.close();
    QString error;

    QVERIFY(WorkFolder::enter(m_dir->path(), true, &error));

    QCOMPARE(Configuration::read().port, QString("/dev/serial/by-id/usb-FTDI-if00-port0"));
    QCOMPARE(Configuration::read().monitorInterval, 10);
}

void tst_WorkFolder::folderThatCannotBeMade_saysWhyAndStaysPut()
{
    QFile file(m_dir->filePath("plain file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString folder = m_dir->filePath("plain file/ksr");
    QString error;

    QVERIFY(!WorkFolder::enter(folder, true, &error));

    QVERIFY2(error.contains(folder), qPrintable(error));
    QCOMPARE(QDir::currentPath(), m_oldDir);
}

QTEST_GUILESS_MAIN(tst_WorkFolder)
#include "tst_workfolder.moc"
