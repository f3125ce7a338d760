#include "HistoryPeek.h"

#include "history/HistoryReader.h"
#include "history/HistoryWriter.h"
#include "history/ParameterLogImporter.h"
#include "core/ParameterLog.h"
#include "status/StatusDisplay.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

const QDate Day1(2026, 1, 5);
const QDate Day2(2026, 1, 6);

qint64 at(const QDate &day, int h, int m)
{
    return QDateTime(day, QTime(h, m), Qt::UTC).toMSecsSinceEpoch();
}

ParameterLog::Row reading(float offset)
{
    ParameterLog::Row row;
    row.mode = StatusDisplay::modeText(true);
    row.status[0] = QStringLiteral("+");
    row.status[1] = StatusDisplay::channelLook(ChannelState::Backup1, 0, false, QString()).statusText;
    row.status[2] = row.status[3] = QStringLiteral("-");
    row.offset = offset;
    row.adev[0] = 2e-12f;
    return row;
}

}  // namespace

class tst_ParameterLogImporter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void logs_becomeHistoryOnce();
    void rowsOlderThanKeepDays_areLeftOut();

private:
    void writeLog(const QDate &day, const QList<QPair<QTime, std::optional<float>>> &rows, bool russian);
    QString logs() const { return m_dir->filePath(QStringLiteral("Parameters")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
};

void tst_ParameterLogImporter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = m_dir->filePath(QStringLiteral("history.sqlite"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Parameters")));
}

// Rows as the program writes them; no value: a row written at start, before
// the first status.
void tst_ParameterLogImporter::writeLog(const QDate &day, const QList<QPair<QTime, std::optional<float>>> &rows,
                                        bool russian)
{
    QTranslator translator;
    if (russian && translator.load(QStringLiteral(":/Brontel583_ru")))
        QCoreApplication::installTranslator(&translator);
    QByteArray text = ParameterLog::header(ParameterLog::titles());
    for (const auto &[time, value] : rows) {
        ParameterLog::Row row = value ? reading(*value) : ParameterLog::Row();
        if (!value)
            row.status[0] = row.status[1] = row.status[2] = row.status[3] = QStringLiteral("-");
        text += ParameterLog::row(time, row);
    }
    QCoreApplication::removeTranslator(&translator);
    QFile f(logs() + QLatin1Char('/') + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

void tst_ParameterLogImporter::logs_becomeHistoryOnce()
{
    writeLog(Day1,
             {{QTime(8, 0), std::nullopt}, {QTime(8, 1), 1e-12f}, {QTime(8, 2), 5e-12f}, {QTime(8, 3), 1e-12f},
              {QTime(8, 40), 2e-12f}, {QTime(8, 41), 2e-12f}},
             false);
    QFile day1(logs() + QStringLiteral("/20260105.log"));
    QVERIFY(day1.open(QIODevice::Append));
    day1.write("08:42:00  this row was cut\n");
    day1.close();
    writeLog(Day2, {{QTime(9, 0), 3e-12f}, {QTime(9, 1), 3e-12f}}, true);
    QFile other(logs() + QStringLiteral("/notes.log"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    {
        // This version recorded from 09:00:30 on the second day.
        HistoryWriter live(m_db);
        QCOMPARE(live.open(at(Day2, 9, 0) + 30000), HistoryConnection::Status::Open);
        live.close(at(Day2, 10, 0));
    }

    ParameterLogImporter importer(m_db, 0, at(Day2, 12, 0));
    const ParameterLogImporter::Report report = importer.importFolder(logs());
    QVERIFY2(!report.failed, qPrintable(report.reason));
    QCOMPARE(report.files, 2);
    QCOMPARE(report.otherFiles, 1);
    QCOMPARE(report.imported, qint64(6));
    QCOMPARE(report.unreadable, qint64(1));
    QCOMPARE(report.withoutReading, qint64(1));
    QCOMPARE(report.alreadyStored, qint64(1));

    // Three stretches: the 37 minutes without rows and the next day break them.
    HistoryReader reader(m_db);
    QVERIFY(reader.open());
    const HistoryView view = reader.load({at(Day1, 8, 0), at(Day1, 9, 0)}, 600);
    const QVector<SeriesBucket> &offset = view.series[Series::FreqOffset];
    QCOMPARE(offset.size(), 5);
    QCOMPARE(offset.at(1).max, 5e-12f);
    QVERIFY(offset.at(3).breakBefore);
    QCOMPARE(view.series[Series::Adev1].first().min, 2e-12f);
    QCOMPARE(view.link.at(1).state, LinkState::ParameterLog);
    QCOMPARE(view.channels[0].at(1).state, ChannelBand::Reference);
    QCOMPARE(view.channels[1].at(1).state, ChannelBand::Backup1);
    {
        HistoryPeek peek(m_db);
        QCOMPARE(peek.value(QStringLiteral("SELECT count(*) FROM imported_run")).toInt(), 3);
    }

    const ParameterLogImporter::Report again = importer.importFolder(logs());
    QCOMPARE(again.imported, qint64(0));
    QCOMPARE(again.alreadyStored, qint64(7));
}

void tst_ParameterLogImporter::rowsOlderThanKeepDays_areLeftOut()
{
    writeLog(Day1, {{QTime(8, 1), 1e-12f}}, false);
    writeLog(Day2, {{QTime(8, 1), 1e-12f}}, false);
    const ParameterLogImporter::Report report = ParameterLogImporter(m_db, 1, at(Day2, 12, 0)).importFolder(logs());
    QCOMPARE(report.imported, qint64(1));
    QCOMPARE(report.tooOld, qint64(1));
}

QTEST_GUILESS_MAIN(tst_ParameterLogImporter)
#include "tst_parameterlogimporter.moc"
