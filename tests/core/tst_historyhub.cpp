#include "core/HistoryHub.h"

#include "core/ParameterLog.h"
#include "link/COMThread.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_HistoryHub : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importedParameterLogs_areSummedUpInOneLine();
    void historyThatCannotBeWritten_isOneRedLine();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    COMThread *m_link = nullptr;
};

void tst_HistoryHub::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_link = new COMThread;
}

void tst_HistoryHub::cleanup()
{
    delete m_link;
    m_dir.reset();
}

void tst_HistoryHub::importedParameterLogs_areSummedUpInOneLine()
{
    const QString parameters = m_dir->filePath(QStringLiteral("Logs/Parameters"));
    QVERIFY(QDir().mkpath(parameters));
    ParameterLog::Row row;
    row.mode = QStringLiteral("SWITCHING mode");
    row.status[0] = QStringLiteral("+");
    row.status[1] = row.status[2] = row.status[3] = QStringLiteral("-");
    row.offset = 1e-13f;
    QFile log(parameters + QStringLiteral("/20260105.log"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(ParameterLog::header(ParameterLog::titles()) + ParameterLog::row(QTime(10, 0), row)
              + ParameterLog::row(QTime(10, 1), row));
    log.close();

    HistoryHub hub(m_dir->path(), m_dir->filePath(QStringLiteral("fconn583.ini")), nullptr);
    hub.start(m_link);
    QSignalSpy lines(&hub, &HistoryHub::messageLine);
    hub.importParameterLogs(parameters);
    QTRY_COMPARE_WITH_TIMEOUT(lines.count(), 2, 20000);
    QCOMPARE(lines.at(1).at(1).toString(), QStringLiteral("black"));
    QVERIFY2(lines.at(1).at(0).toString().startsWith(QLatin1String("Parameter logs imported: 2 rows from 1 files")),
             qPrintable(lines.at(1).at(0).toString()));
}

void tst_HistoryHub::historyThatCannotBeWritten_isOneRedLine()
{
    // No "Logs" folder: the database cannot be made there.
    HistoryHub hub(m_dir->path(), m_dir->filePath(QStringLiteral("fconn583.ini")), nullptr);
    QSignalSpy lines(&hub, &HistoryHub::messageLine);
    hub.start(m_link);
    hub.recordMessage(QStringLiteral("a line"), QStringLiteral("black"));
    QTRY_COMPARE_WITH_TIMEOUT(lines.count(), 1, 20000);
    QCOMPARE(lines.at(0).at(1).toString(), QStringLiteral("red"));
    QTest::qWait(1500);  // a batch later, the failure is not repeated
    QCOMPARE(lines.count(), 1);
}

QTEST_MAIN(tst_HistoryHub)
#include "tst_historyhub.moc"
