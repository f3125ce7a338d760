#include "core/CurrentReference.h"
#include "status/SupervisInfoWriter.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <atomic>
#include <thread>

class tst_SupervisInfoWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void synchronizationStatus_data();
    void synchronizationStatus();
    void reference_data();
    void reference();
    void averagingMode_keepsLastReference();
    void qualifyingChannel_writesSecondsLeft();
    void codeWithoutWord_keepsStatusButUpdatesNameAndOffset();
    void deviceGroup_valuesNotationAndCodePage();
    void withoutInstrument_saysSoAndClaimsNothingUnread();
    void rewrite_isNeverSeenHalfWritten();
    void currentReference_data();
    void currentReference();

private:
    QString value(const QString &key) const;
    static StatusSnapshot snapshot();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    const QDateTime m_now{QDate(2026, 1, 7), QTime(18, 45, 3)};
};

void tst_SupervisInfoWriter::init()
{
    m_dir.reset(new QTemporaryDir);
    m_path = m_dir->filePath("SupervisInfo.ini");
}

QString tst_SupervisInfoWriter::value(const QString &key) const
{
    QSettings ini(m_path, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    return ini.value(key, "<missing>").toString();
}

// Connected, every record read: four detected channels, none in the group,
// averaging mode.
StatusSnapshot tst_SupervisInfoWriter::snapshot()
{
    StatusSnapshot s;
    s.connected = s.everConnected = true;
    DETECT detect;
    for (auto &word : detect.chan)
        word = 1;
    s.detect = detect;
    s.cmd = ADJ_CMD_STATE();
    s.adj = ADJ_STATE();
    s.var = VAR_STRUCT();
    s.channelNames = QStringList{"Rb 1", "Rb 2", "Cs 3", "H 4"};
    return s;
}

void tst_SupervisInfoWriter::synchronizationStatus_data()
{
    QTest::addColumn<int>("sync");
    QTest::addColumn<int>("estimation");
    QTest::addColumn<QString>("word");
    QTest::newRow("synchronised") << 1 << 0 << "OK";
    QTest::newRow("estimation running") << 1 << 500 << "INIT";
    QTest::newRow("status 0") << 0 << 0 << "NOSYNC";
    QTest::newRow("status 2 with estimation") << 2 << 500 << "NOSYNC";
}

void tst_SupervisInfoWriter::synchronizationStatus()
{
    QFETCH(int, sync);
    QFETCH(int, estimation);
    QFETCH(QString, word);
    auto s = snapshot();
    s.cmd->syncStatus = qint16(sync);
    s.cmd->estimationTimeLeft = quint16(estimation);
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Device_status/Synchronization_status"), word);
}

void tst_SupervisInfoWriter::reference_data()
{
    QTest::addColumn<QList<int>>("inGroup");
    QTest::addColumn<QString>("chan");
    QTest::addColumn<QString>("name");
    QTest::newRow("channels 2 and 4 in group: 2") << QList<int>{2, 4} << "2" << "Rb 2";
    QTest::newRow("no channel in group: empty") << QList<int>{} << "" << "";
}

void tst_SupervisInfoWriter::reference()
{
    QFETCH(QList<int>, inGroup);
    QFETCH(QString, chan);
    QFETCH(QString, name);
    auto s = snapshot();
    s.cmd->flags = 0x1000;
    for (int n : inGroup)
        s.cmd->chanWord[n - 1] = 1;
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Device_status/Mode"), QStringLiteral("SWITCH"));
    QCOMPARE(value("Device_status/RefChan"), chan);
    QCOMPARE(value("Device_status/RefName"), name);
}

void tst_SupervisInfoWriter::averagingMode_keepsLastReference()
{
    auto s = snapshot();
    s.cmd->flags = 0x1000;
    s.cmd->chanWord[2] = 1;
    SupervisInfoWriter::write(m_path, s, m_now);
    s.cmd->flags = 0;
    s.cmd->chanWord[0] = 1;
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Device_status/Mode"), QStringLiteral("SUM"));
    QCOMPARE(value("Device_status/RefChan"), QStringLiteral("3"));
    QCOMPARE(value("Device_status/RefName"), QStringLiteral("Cs 3"));
}

void tst_SupervisInfoWriter::qualifyingChannel_writesSecondsLeft()
{
    auto s = snapshot();
    s.cmd->qualState[1] = 1;
    s.cmd->qualTimeLeft[1] = 4567;
    s.cmd->chanWord[2] = 0x0021;
    s.detect->chan[3] = 0;
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Channel_1/Status"), QStringLiteral("NOTINGROUP"));
    QCOMPARE(value("Channel_2/Status"), QStringLiteral("INCVAL"));
    QCOMPARE(value("Channel_2/TimeCval"), QStringLiteral("45"));
    QCOMPARE(value("Channel_3/Status"), QStringLiteral("BACKUP2"));
    QCOMPARE(value("Channel_3/TimeCval"), QStringLiteral("0"));
    QCOMPARE(value("Channel_4/Status"), QStringLiteral("NOTDETECT"));
}

void tst_SupervisInfoWriter::codeWithoutWord_keepsStatusButUpdatesNameAndOffset()
{
    auto s = snapshot();
    s.cmd->qualState[0] = 1;
    s.cmd->qualTimeLeft[0] = 900;
    SupervisInfoWriter::write(m_path, s, m_now);
    s.cmd->chanWord[0] = 0x0051;  // role 5: code 15
    s.channelNames[0] = "Renamed";
    s.adj->chanOffset[0] = 2.5e-12f;
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Channel_1/Status"), QStringLiteral("INCVAL"));
    QCOMPARE(value("Channel_1/TimeCval"), QStringLiteral("9"));
    QCOMPARE(value("Channel_1/Name"), QStringLiteral("Renamed"));
    QCOMPARE(value("Channel_1/Offset"), QStringLiteral("2.5e-12"));
}

void tst_SupervisInfoWriter::deviceGroup_valuesNotationAndCodePage()
{
    auto s = snapshot();
    s.adj->freqOffset = 1.0894e-15f;
    s.adj->freqDrift = -0.00012f;
    s.channelNames[3] = QStringLiteral("Водород 4");
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Device_status/Freq_offset"), QStringLiteral("1.0894e-15"));
    QCOMPARE(value("Device_status/Freq_drift"), QStringLiteral("-0.00012"));
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NORMAL"));
    QCOMPARE(value("Device_status/LastUpdate"), QStringLiteral("2026.01.07 18:45:03"));
    QCOMPARE(value("Device_status/RefChan"), QStringLiteral("<missing>"));
    QCOMPARE(value("Channel_4/Name"), s.channelNames[3]);
    QCOMPARE(value("Channel_4/Offset"), QStringLiteral("0"));
    QFile f(m_path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains(QTextCodec::codecForName("Windows-1251")->fromUnicode(s.channelNames[3])));
}

void tst_SupervisInfoWriter::withoutInstrument_saysSoAndClaimsNothingUnread()
{
    auto s = snapshot();
    s.cmd->syncStatus = 1;
    s.cmd->chanWord[0] = 1;
    s.adj->freqOffset = 1.5e-13f;
    s.lastAnswerUtc = QDateTime(QDate(2026, 1, 7), QTime(18, 44, 55)).toUTC();
    SupervisInfoWriter::write(m_path, s, m_now);
    QCOMPARE(value("Device_status/Synchronization_status"), QStringLiteral("OK"));
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NORMAL"));
    QCOMPARE(value("Device_status/Connection"), QStringLiteral("YES"));
    QCOMPARE(value("Device_status/LastAnswer"), QStringLiteral("2026.01.07 18:44:55"));

    // Lost: the records are no longer known.
    s.connected = false;
    s.detect.reset();
    s.cmd.reset();
    s.adj.reset();
    s.var.reset();
    SupervisInfoWriter::write(m_path, s, m_now.addSecs(60));
    QCOMPARE(value("Device_status/Synchronization_status"), QStringLiteral("NOSYNC"));
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NOCONNECTION"));
    QCOMPARE(value("Device_status/Connection"), QStringLiteral("NO"));
    QCOMPARE(value("Device_status/LastAnswer"), QStringLiteral("2026.01.07 18:44:55"));
    QCOMPARE(value("Device_status/LastUpdate"), QStringLiteral("2026.01.07 18:46:03"));
    // Last known values stay for readers that show them as such.
    QCOMPARE(value("Device_status/Freq_offset"), QStringLiteral("1.5e-13"));
    QCOMPARE(value("Channel_1/Status"), QStringLiteral("INGROUP"));

    // Connected again, the command state and the offsets read, DETECT not
    // yet: the link has the instrument, but the file claims nothing of it.
    s.connected = true;
    s.cmd = ADJ_CMD_STATE();
    s.cmd->syncStatus = 1;
    s.cmd->flags = 0x1000;
    s.adj = ADJ_STATE();
    SupervisInfoWriter::write(m_path, s, m_now.addSecs(120));
    QCOMPARE(value("Device_status/Synchronization_status"), QStringLiteral("NOSYNC"));
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NOCONNECTION"));
    QCOMPARE(value("Device_status/Connection"), QStringLiteral("YES"));
    QCOMPARE(value("Device_status/Mode"), QStringLiteral("SUM"));
    QCOMPARE(value("Device_status/Freq_offset"), QStringLiteral("1.5e-13"));
    QCOMPARE(value("Channel_1/Status"), QStringLiteral("INGROUP"));

    // Never connected since start: nothing from the instrument, no answer time.
    QFile::remove(m_path);
    SupervisInfoWriter::write(m_path, StatusSnapshot(), m_now);
    QCOMPARE(value("Device_status/Err_status"), QStringLiteral("NOCONNECTION"));
    QCOMPARE(value("Device_status/LastAnswer"), QString());
    QCOMPARE(value("Device_status/Mode"), QStringLiteral("<missing>"));
    QCOMPARE(value("Channel_2/Status"), QStringLiteral("<missing>"));
}

void tst_SupervisInfoWriter::rewrite_isNeverSeenHalfWritten()
{
    auto s = snapshot();
    SupervisInfoWriter::write(m_path, s, m_now);
    QFile first(m_path);
    QVERIFY(first.open(QIODevice::ReadOnly));
    const int lines = first.readAll().count('\n');

    std::atomic<bool> writing{true};
    std::atomic<int> reads{0};
    std::atomic<int> partial{0};
    std::thread reader([&] {
        while (writing) {
            QFile f(m_path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            if (f.readAll().count('\n') != lines)
                ++partial;
            ++reads;
        }
    });
    for (int k = 0; k < 300; ++k) {
        s.adj->freqOffset = float(k) * 1e-15f;
        SupervisInfoWriter::write(m_path, s, m_now.addSecs(k));
    }
    writing = false;
    reader.join();
    QVERIFY(reads > 0);
    QCOMPARE(partial.load(), 0);
    // The copy each write made is gone into the file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"SupervisInfo.ini"});
}

void tst_SupervisInfoWriter::currentReference_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file: index 0, no name") << QByteArray() << 0 << "";
    QTest::newRow("channel 3 with a blank-padded name")
        << QByteArray("[Status]\nRefChan=3\nRefName=\"  Cs   beam \"\n") << 2 << "Cs beam";
    QTest::newRow("not a number: index 0") << QByteArray("[Status]\nRefChan=two\n") << 0 << "";
    QTest::newRow("channel 4: index 3") << QByteArray("[Status]\nRefChan=4\n") << 3 << "";
    QTest::newRow("channel 0: index 0") << QByteArray("[Status]\nRefChan=0\n") << 0 << "";
    QTest::newRow("channel 5: index 0") << QByteArray("[Status]\nRefChan=5\n") << 0 << "";
    QTest::newRow("negative: index 0") << QByteArray("[Status]\nRefChan=-2\n") << 0 << "";
    QTest::newRow("too big for an int: index 0")
        << QByteArray("[Status]\nRefChan=99999999999\n") << 0 << "";
}

void tst_SupervisInfoWriter::currentReference()
{
    QFETCH(QByteArray, content);
    QFETCH(int, index);
    QFETCH(QString, name);
    const QString path = m_dir->filePath(CurrentReference::fileName());
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const CurrentReference ref = CurrentReference::read(path);
    QCOMPARE(ref.index, index);
    QCOMPARE(ref.name, name);
    QCOMPARE(QFile::exists(path), !content.isEmpty());
}

QTEST_GUILESS_MAIN(tst_SupervisInfoWriter)
#include "tst_supervisinfowriter.moc"
