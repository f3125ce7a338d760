#include "simulator/SimOptions.h"

#include <QtTest>

class tst_SimOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_takesEveryOption();
    void parse_rejectsMistakes_data();
    void parse_rejectsMistakes();
};

void tst_SimOptions::parse_takesEveryOption()
{
    SimOptions o;
    QString error;
    QVERIFY2(o.parse({"--link", "/tmp/x", "--identity", "KSR-583 #7", "--serial=0007", "--journal", "900",
                      "--journal-start", "811", "--seed", "0x10", "--fault", "checksum:P10", "--fault=late:PC0:1500",
                      "--wire-time", "--trace", "t.txt", "--lively", "--control", "ctl", "--clock-offset", "-30"},
                     &error),
             qPrintable(error));
    QCOMPARE(o.link, QString("/tmp/x"));
    QCOMPARE(o.identity, QString("KSR-583 #7"));
    QCOMPARE(o.serial, QString("0007"));
    QCOMPARE(o.journal, 900);
    QCOMPARE(o.journalStart, 811);
    QCOMPARE(o.seed, quint64(16));
    QCOMPARE(o.faults, QStringList({"checksum:P10", "late:PC0:1500"}));
    QVERIFY(o.wireTime && o.lively && !o.help);
    QCOMPARE(o.trace, QString("t.txt"));
    QCOMPARE(o.control, QString("ctl"));
    QCOMPARE(o.clockOffset, -30);
}

void tst_SimOptions::parse_rejectsMistakes_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "unknown option --bogus";
    QTest::newRow("stray argument") << QStringList{"COM3"} << "unexpected argument COM3";
    QTest::newRow("value missing at the end") << QStringList{"--link"} << "--link needs a value";
    QTest::newRow("negative journal") << QStringList{"--journal", "-1"} << "--journal takes 0..65535 records";
    QTest::newRow("journal too large") << QStringList{"--journal", "70000"} << "--journal takes 0..65535 records";
    QTest::newRow("journal not a number") << QStringList{"--journal", "many"} << "--journal takes 0..65535 records";
    QTest::newRow("identity too long") << QStringList{"--identity", "KSR-583 #123456789"}
                                       << "the identity holds at most 16 bytes";
    QTest::newRow("identity outside Windows-1251") << QStringList{"--identity", QString::fromUtf8("583 仪器")}
                                                   << "the identity must be Windows-1251 text";
    QTest::newRow("serial leaving no terminator") << QStringList{"--serial", "12345678"}
                                                  << "the serial number holds at most 7 bytes";
    QTest::newRow("bad fault") << QStringList{"--fault", "wobble"} << "unknown fault kind 'wobble'";
    QTest::newRow("flag with a value") << QStringList{"--lively=yes"} << "--lively takes no value";
    QTest::newRow("bad seed") << QStringList{"--seed", "x"} << "--seed takes an unsigned number";
}

void tst_SimOptions::parse_rejectsMistakes()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    SimOptions o;
    QString error;
    QVERIFY(!o.parse(args, &error));
    QCOMPARE(error, message);
}

QTEST_GUILESS_MAIN(tst_SimOptions)
#include "tst_simoptions.moc"
