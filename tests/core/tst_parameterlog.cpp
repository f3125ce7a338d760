#include "core/ParameterLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_ParameterLog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void header_padsTitlesToTheirWidths();
    void header_widthsCountUtf8Bytes();
    void row_fieldsAreOneWiderThanTheHeader();
    void row_longValueIsKeptWhole();
    void row_valueFillingItsField_isStillFollowedByABlank_data();
    void row_valueFillingItsField_isStillFollowedByABlank();
    void newFile_getsHeaderOnce();
    void existingEmptyFile_getsNoHeader();
    void fileIsNamedByUtcDate();

private:
    QByteArray contents(const QDateTime &utc) const;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ParameterLog> m_log;
};

void tst_ParameterLog::init()
{
    m_dir.reset(new QTemporaryDir);
    m_log.reset(new ParameterLog(m_dir->path()));
}

QByteArray tst_ParameterLog::contents(const QDateTime &utc) const
{
    QFile f(m_log->filePath(utc.date()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void tst_ParameterLog::header_padsTitlesToTheirWidths()
{
    const QByteArray header = ParameterLog::header(ParameterLog::titles());
    QCOMPARE(header,
             QByteArray("Time      Mode                     Chan1     Chan2     Chan3     Chan4     "
                        "Offset      Trend       Offset1    Offset2    Offset3    Offset4    "
                        "ADEV1     ADEV2     ADEV3     ADEV4    \n"));
}

void tst_ParameterLog::header_widthsCountUtf8Bytes()
{
    QStringList titles = ParameterLog::titles();
    titles[0] = QStringLiteral("Время");  // 10 bytes in a 9-byte column
    titles[1] = QStringLiteral("Режим");  // 10 bytes in a 24-byte column
    const QByteArray header = ParameterLog::header(titles);
    QVERIFY(header.startsWith(QStringLiteral("Время Режим").toUtf8() + QByteArray(14, ' ') + " Chan1"));
}

void tst_ParameterLog::row_fieldsAreOneWiderThanTheHeader()
{
    ParameterLog::Row row;
    row.mode = "AVERAGING mode";
    row.status[0] = "+";
    row.status[1] = "BACKUP 1";
    row.status[2] = "12 s";
    row.status[3] = "-";
    row.offset = 1.0894e-15f;
    row.trend = -2e-17f;
    row.chanOffset[0] = 0.00012f;
    row.chanOffset[1] = 1.23456e-12f;
    row.adev[0] = 1.2345e-13f;
    QCOMPARE(ParameterLog::row(QTime(0, 0, 5), row),
             QByteArray("00:00:05  AVERAGING mode           +         BACKUP 1  12 s      -         "
                        "1.0894e-15  -2e-17      0.00012    1.235e-12  0          0          "
                        "1.23e-13  0         0         0         \n"));
}

void tst_ParameterLog::row_longValueIsKeptWhole()
{
    ParameterLog::Row row;
    row.mode = QStringLiteral("Режим ПЕРЕКЛЮЧЕНИЯ");  // 35 bytes in a 25-byte field
    const QByteArray line = ParameterLog::row(QTime(1, 2, 3), row);
    QVERIFY(line.startsWith("01:02:03  " + row.mode.toUtf8() + "          "));
}

void tst_ParameterLog::row_valueFillingItsField_isStillFollowedByABlank_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<float>("offset");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("negative offset of 12 characters in a 12-byte field")
        << "SWITCHING mode" << -1.19582e-15f << QByteArray("-1.19582e-15 0           ");
    QTest::newRow("Russian mode of 35 bytes in a 25-byte field")
        << QStringLiteral("Режим ПЕРЕКЛЮЧЕНИЯ") << 0.0f
        << QStringLiteral("Режим ПЕРЕКЛЮЧЕНИЯ +         ").toUtf8();
}

void tst_ParameterLog::row_valueFillingItsField_isStillFollowedByABlank()
{
    QFETCH(QString, mode);
    QFETCH(float, offset);
    QFETCH(QByteArray, expected);
    ParameterLog::Row row;
    row.mode = mode;
    row.status[0] = "+";
    row.offset = offset;
    QVERIFY2(ParameterLog::row(QTime(1, 2, 3), row).contains(expected),
             ParameterLog::row(QTime(1, 2, 3), row).constData());
}

void tst_ParameterLog::newFile_getsHeaderOnce()
{
    const QDateTime utc(QDate(2026, 1, 7), QTime(0, 0, 1), Qt::UTC);
    m_log->append(utc, ParameterLog::Row());
    m_log->append(utc.addSecs(60), ParameterLog::Row());
    const QList<QByteArray> lines = contents(utc).split('\n');
    QCOMPARE(lines.size(), 4);  // header, two rows, and the empty rest after the last feed
    QVERIFY(lines[0].startsWith("Time "));
    QVERIFY(lines[1].startsWith("00:00:01  "));
    QVERIFY(lines[2].startsWith("00:01:01  "));
}

void tst_ParameterLog::existingEmptyFile_getsNoHeader()
{
    const QDateTime utc(QDate(2026, 1, 7), QTime(12, 0), Qt::UTC);
    QVERIFY(QDir(m_dir->path()).mkdir("Parameters"));
    QFile f(m_log->filePath(utc.date()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    m_log->append(utc, ParameterLog::Row());
    QVERIFY(contents(utc).startsWith("12:00:00  "));
}

void tst_ParameterLog::fileIsNamedByUtcDate()
{
    const QDateTime utc(QDate(2026, 1, 7), QTime(23, 59, 59), Qt::UTC);
    m_log->append(utc.toTimeZone(QTimeZone(3 * 3600)), ParameterLog::Row());
    QCOMPARE(m_log->filePath(utc.date()), m_dir->path() + "/Parameters/20260107.log");
    QVERIFY(contents(utc).contains("\n23:59:59  "));
}

QTEST_GUILESS_MAIN(tst_ParameterLog)
#include "tst_parameterlog.moc"
