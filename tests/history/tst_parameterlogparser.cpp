#include "history/ParameterLogParser.h"
#include "core/ParameterLog.h"
#include "status/StatusDisplay.h"

#include <QTranslator>
#include <QtTest>

#include <cmath>

namespace {

const QDate Day(2026, 1, 7);

// A row as the program writes it, in the language installed.
ParameterLog::Row programRow()
{
    ParameterLog::Row row;
    row.mode = StatusDisplay::modeText(true);
    row.status[0] = StatusDisplay::channelLook(ChannelState::InGroup, 0, false, QString()).statusText;
    row.status[1] = StatusDisplay::channelLook(ChannelState::Backup1, 0, false, QString()).statusText;
    row.status[2] = StatusDisplay::channelLook(ChannelState::Qualifying, 44012, false, QString()).statusText;
    row.status[3] = StatusDisplay::channelLook(ChannelState::NotInGroup, 0, true, QString()).statusText;
    row.offset = -1.19582e-15f;  // fills its field
    row.trend = 0;
    const float offsets[4] = {1.5e-12f, -2.25e-12f, 3e-13f, 0};
    const float adevs[4] = {2.1e-12f, 3.6e-12f, 5.1e-12f, 0};
    for (int i = 0; i < 4; ++i) {
        row.chanOffset[i] = offsets[i];
        row.adev[i] = adevs[i];
    }
    return row;
}

// What the row says, read back the way the program printed it.
float printed(float value, int digits)
{
    return StatusDisplay::number(value, digits).toFloat();
}

}  // namespace

class tst_ParameterLogParser : public QObject
{
    Q_OBJECT

private slots:
    void programRows_readInEitherLanguage_data();
    void programRows_readInEitherLanguage();
    void olderLayout_fullFieldWithoutBlank_isRead();
    void badRows_areCountedNeverGuessed_data();
    void badRows_areCountedNeverGuessed();
    void dateOf_takesOnlyADateForAName_data();
    void dateOf_takesOnlyADateForAName();
};

void tst_ParameterLogParser::programRows_readInEitherLanguage_data()
{
    QTest::addColumn<bool>("russian");
    QTest::newRow("English") << false;
    QTest::newRow("Russian") << true;
}

void tst_ParameterLogParser::programRows_readInEitherLanguage()
{
    QFETCH(bool, russian);
    QTranslator translator;
    if (russian) {
        QVERIFY(translator.load(QStringLiteral(":/Brontel583_ru")));
        QCoreApplication::installTranslator(&translator);
    }
    const ParameterLog::Row written = programRow();
    const QByteArray file = ParameterLog::header(ParameterLog::titles()) + ParameterLog::row(QTime(15, 45, 2), written);
    QCoreApplication::removeTranslator(&translator);

    const ParameterLogParser::Result parsed = ParameterLogParser::parse(file, Day);
    QCOMPARE(parsed.unreadable, 0);
    QCOMPARE(parsed.rows.size(), 1);
    const LoggedRow &row = parsed.rows.first();
    QCOMPARE(row.timeMs, QDateTime(Day, QTime(15, 45, 2), Qt::UTC).toMSecsSinceEpoch());
    QCOMPARE(row.mode, 2);
    QCOMPARE(row.status[0], int(ChannelState::InGroup));
    QCOMPARE(row.status[1], int(ChannelState::Backup1));
    QCOMPARE(row.status[2], int(ChannelState::Qualifying));
    QCOMPARE(row.qualSeconds[2], 440);
    QCOMPARE(row.status[3], LoggedStatus::Error);
    QCOMPARE(row.value[Series::FreqOffset], printed(written.offset, 6));
    QCOMPARE(row.value[Series::FreqTrend], 0.0f);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(row.value[Series::offset(i + 1)], printed(written.chanOffset[i], 4));
        QCOMPARE(row.value[Series::adev(i + 1)], printed(written.adev[i], 3));
    }
}

// Earlier versions wrote a value that fills its field with no blank after it.
void tst_ParameterLogParser::olderLayout_fullFieldWithoutBlank_isRead()
{
    const QByteArray line = "00:00:59  AVERAGING mode           -         -         +         +         "
                            "-1.19582e-150           1.5e-12    -2.25e-12  3e-13      0          "
                            "2.1e-12   3.6e-12   5.1e-12   0         \r";
    const std::optional<LoggedRow> row = ParameterLogParser::parseRow(line, Day);
    QVERIFY(row);
    QCOMPARE(row->mode, 1);
    QCOMPARE(row->status[0], LoggedStatus::Out);
    QCOMPARE(row->value[Series::FreqOffset], -1.19582e-15f);
    QCOMPARE(row->value[Series::FreqTrend], 0.0f);
    QCOMPARE(row->value[Series::Adev3], 5.1e-12f);
}

void tst_ParameterLogParser::badRows_areCountedNeverGuessed_data()
{
    const QByteArray good = "12:00:00  SWITCHING mode           +         BACKUP 1  440 s     -         "
                            "1e-15       0           1e-12      2e-12      3e-12      4e-12      "
                            "1e-12     2e-12     3e-12     4e-12     ";
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("a number with a letter") << QByteArray(good).replace("2e-12      3e-12", "2e-12      3x-12");
    QTest::newRow("a status nobody writes") << QByteArray(good).replace("BACKUP 1", "BACKUP 9");
    QTest::newRow("a mode nobody writes") << QByteArray(good).replace("SWITCHING mode", "SWITCHING MODE");
    QTest::newRow("no such time") << QByteArray(good).replace("12:00:00", "25:00:00");
    QTest::newRow("cut short") << good.left(150);
    QTest::newRow("one value too many") << good + "5e-12";
    QTest::newRow("a thousands separator") << QByteArray(good).replace("0           1e-12", "1,000       1e-12");
    QTest::newRow("text of another file") << QByteArray("Program started.");
}

void tst_ParameterLogParser::badRows_areCountedNeverGuessed()
{
    QFETCH(QByteArray, line);
    const QByteArray good = "12:00:00  SWITCHING mode           +         BACKUP 1  440 s     -         "
                            "1e-15       0           1e-12      2e-12      3e-12      4e-12      "
                            "1e-12     2e-12     3e-12     4e-12     ";
    const ParameterLogParser::Result parsed = ParameterLogParser::parse(good + "\n" + line + "\n\n" + good, Day);
    QCOMPARE(parsed.rows.size(), 2);
    QCOMPARE(parsed.unreadable, 1);
}

void tst_ParameterLogParser::dateOf_takesOnlyADateForAName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("date");
    QTest::newRow("a day") << "/x/Logs/Parameters/20260107.log" << QDate(2026, 1, 7);
    QTest::newRow("no such month") << "20261307.log" << QDate();
    QTest::newRow("another name") << "20260107_154502#0042.log" << QDate();
    QTest::newRow("another ending") << "20260107.txt" << QDate();
}

void tst_ParameterLogParser::dateOf_takesOnlyADateForAName()
{
    QFETCH(QString, name);
    QFETCH(QDate, date);
    QCOMPARE(ParameterLogParser::dateOf(name), date);
}

QTEST_GUILESS_MAIN(tst_ParameterLogParser)
#include "tst_parameterlogparser.moc"
