#include "history/fill/HistoryFill.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime End(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
constexpr int Days = 3;
constexpr qint64 Day = 86400000;
constexpr qint64 Hour = 3600000;
const qint64 StartMs = End.toMSecsSinceEpoch() - Days * Day;
const qint64 ChangeMs = StartMs + 2 * Days * Day / 3;

// The median spacing of ADJ_STATE polls in [fromMs, toMs).
QString medianSpacing(qint64 fromMs, qint64 toMs)
{
    const QString rows = QStringLiteral("FROM adj_state WHERE time_ms >= %1 AND time_ms < %2").arg(fromMs).arg(toMs);
    return QStringLiteral("SELECT d FROM (SELECT time_ms - lag(time_ms) OVER (ORDER BY time_ms) AS d %1) "
                          "WHERE d IS NOT NULL ORDER BY d LIMIT 1 OFFSET (SELECT count(*) / 2 %1)")
        .arg(rows);
}

}  // namespace

// The fake history is as untidy as what the link writes, or the analyses
// tested on it prove nothing.
class tst_HistoryFill : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fill_isAsUntidyAsTheLink_data();
    void fill_isAsUntidyAsTheLink();

private:
    QTemporaryDir m_dir;
    QSqlDatabase m_db;
};

void tst_HistoryFill::initTestCase()
{
    HistoryFill::Options options;
    options.path = m_dir.filePath(QStringLiteral("history.sqlite"));
    options.days = Days;
    options.endUtc = End;
    const HistoryFill::Result result = HistoryFill::run(options);
    QCOMPARE(result.dropped, qint64(0));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    m_db.setDatabaseName(options.path);
    QVERIFY(m_db.open());
}

void tst_HistoryFill::cleanupTestCase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

void tst_HistoryFill::fill_isAsUntidyAsTheLink_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("most");
    QTest::newRow("stamps: the whole second, the loop's pass and the exchange")
        << "SELECT avg(time_ms % 1000 BETWEEN 4 AND 30) FROM adj_state" << 0.95 << 0.999;
    QTest::newRow("stamps: some off the second (reconnects, downloads, commands)")
        << "SELECT count(*) FROM adj_state WHERE time_ms % 1000 > 30" << 4.0 << 500.0;
    QTest::newRow("the poll phase moves after reconnects and downloads")
        << QStringLiteral("SELECT count(DISTINCT (time_ms / 1000) % 40) FROM adj_state WHERE time_ms < %1").arg(ChangeMs)
        << 3.0 << 40.0;
    QTest::newRow("MonitorInterval 10 s: an ADJ_STATE poll every 40 s")
        << medianSpacing(StartMs + Hour, ChangeMs - Hour) << 39980.0 << 40020.0;
    QTest::newRow("then 4 s: every 16 s") << medianSpacing(ChangeMs + Hour, StartMs + Days * Day) << 15980.0
                                          << 16020.0;
    QTest::newRow("channels without signal read 0")
        << "SELECT count(*) FROM adj_state WHERE chan2_offset = 0 OR chan3_offset = 0 OR chan4_offset = 0" << 50.0
        << 1e9;
    QTest::newRow("and so does their ADEV")
        << "SELECT count(*) FROM var_struct WHERE chan2_adev = 0 OR chan3_adev = 0 OR chan4_adev = 0" << 50.0 << 1e9;
    QTest::newRow("the search's attempts are counted in its event")
        << "SELECT sum(code) FROM event WHERE kind = 3" << 100.0 << 1e9;
}

void tst_HistoryFill::fill_isAsUntidyAsTheLink()
{
    QFETCH(QString, sql);
    QFETCH(double, least);
    QFETCH(double, most);
    QSqlQuery q(m_db);
    QVERIFY2(q.exec(sql) && q.next(), qPrintable(q.lastError().text()));
    const double value = q.value(0).toDouble();
    QVERIFY2(value >= least && value <= most, qPrintable(QString::number(value, 'g', 9)));
}

QTEST_GUILESS_MAIN(tst_HistoryFill)
#include "tst_historyfill.moc"
