#include "history/HistorySettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_HistorySettings : public QObject
{
    Q_OBJECT

private slots:
    void keepDays_data();
    void keepDays();
};

void tst_HistorySettings::keepDays_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("days");
    QTest::newRow("no key keeps everything") << QByteArray("[Settings]\nCOM=COM3\n") << 0;
    QTest::newRow("a month") << QByteArray("[History]\nKeepDays= 30 \n") << 30;
    QTest::newRow("below zero keeps everything") << QByteArray("[History]\nKeepDays=-5\n") << 0;
    QTest::newRow("not a number keeps everything") << QByteArray("[History]\nKeepDays=month\n") << 0;
    QTest::newRow("a list keeps everything") << QByteArray("[History]\nKeepDays=7, 8\n") << 0;
}

void tst_HistorySettings::keepDays()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, days);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fconn583.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini);
    f.close();
    QCOMPARE(HistorySettings::read(path).keepDays, days);
}

QTEST_APPLESS_MAIN(tst_HistorySettings)
#include "tst_historysettings.moc"
