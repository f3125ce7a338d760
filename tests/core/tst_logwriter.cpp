#include "core/LogWriter.h"
#include "tests/support/VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_LogWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void line_data();
    void line();
    void lines_goToTheLocalDaysFile();
    void missingFolder_losesLinesUntilItIsBack();

private:
    QByteArray contents(const QDate &localDate) const;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<VirtualClock> m_clock;
};

void tst_LogWriter::initTestCase()
{
    // Local time three hours ahead of UTC, so the local day differs from the UTC day.
    qputenv("TZ", "MSK-3");
    tzset();
}

void tst_LogWriter::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(QDir(m_dir->path()).mkdir("Logs"));
    m_clock = std::make_shared<VirtualClock>(QDateTime(QDate(2026, 1, 7), QTime(20, 59, 58), Qt::UTC));
}

QByteArray tst_LogWriter::contents(const QDate &localDate) const
{
    QFile f(LogWriter::filePath(m_dir->path(), localDate));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void tst_LogWriter::line_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain text gets a line feed") << "Program started." << "07:08:09 Program started.\n";
    QTest::newRow("text ending in CR is kept as it is") << "DAC1(coarce) = 5\r" << "07:08:09 DAC1(coarce) = 5\r";
    QTest::newRow("text ending in LF gets a second one") << "two\n" << "07:08:09 two\n\n";
    QTest::newRow("empty text") << "" << "07:08:09 \n";
    QTest::newRow("Cyrillic text") << QStringLiteral("Программа закрыта.") << QStringLiteral("07:08:09 Программа закрыта.\n");
}

void tst_LogWriter::line()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(LogWriter::line(QTime(7, 8, 9), text), line);
}

void tst_LogWriter::lines_goToTheLocalDaysFile()
{
    const LogWriter log(m_dir->path(), m_clock);
    log.appendLogLine("before midnight");
    m_clock->advance(3000);
    log.appendLogLine(QStringLiteral("после полуночи"));
    QCOMPARE(contents(QDate(2026, 1, 7)), QByteArray("23:59:58 before midnight\n"));
    QCOMPARE(contents(QDate(2026, 1, 8)), QStringLiteral("00:00:01 после полуночи\n").toUtf8());
}

void tst_LogWriter::missingFolder_losesLinesUntilItIsBack()
{
    const LogWriter log(m_dir->path(), m_clock);
    QVERIFY(QDir(m_dir->path() + "/Logs").removeRecursively());
    log.appendLogLine("lost");
    QVERIFY(QDir(m_dir->path()).mkdir("Logs"));
    log.appendLogLine("kept");
    QCOMPARE(contents(QDate(2026, 1, 7)), QByteArray("23:59:58 kept\n"));
}

QTEST_GUILESS_MAIN(tst_LogWriter)
#include "tst_logwriter.moc"
