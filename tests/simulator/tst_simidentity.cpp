#include "simulator/SimIdentity.h"

#include <QtTest>

class tst_SimIdentity : public QObject
{
    Q_OBJECT

private slots:
    void identificationField_isZeroPadded_data();
    void identificationField_isZeroPadded();
    void infoBlock_hasTextsAndVersionsInPlace();
};

void tst_SimIdentity::identificationField_isZeroPadded_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("model and serial number")
        << "KSR-583 #0042" << QByteArray("KSR-583 #0042\0\0\0", 16);
    QTest::newRow("exactly sixteen bytes") << "KSR-583 #1234567" << QByteArray("KSR-583 #1234567");
    QTest::newRow("Cyrillic in Windows-1251")
        << QString::fromUtf8("КСР-583 №7") << QByteArray("\xca\xd1\xd0-583 \xb9" "7\0\0\0\0\0\0", 16);
    QTest::newRow("empty") << "" << QByteArray(16, '\0');
}

void tst_SimIdentity::identificationField_isZeroPadded()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    SimIdentity id;
    id.identification = text;
    QCOMPARE(id.identificationField().toHex(' '), field.toHex(' '));
}

void tst_SimIdentity::infoBlock_hasTextsAndVersionsInPlace()
{
    SimIdentity id;
    id.softwareVersion = "3.07";
    id.softwareDate = "14.03.2019";
    id.serialNumber = "SN12345678";  // longer than its field
    const QByteArray b = id.infoBlock();
    QCOMPARE(b.size(), SimIdentity::InfoSize);
    // Answer offsets 8..15, 16..26, 27..34, then 35..39.
    QCOMPARE(b.mid(0, 8), QByteArray("3.07\0\0\0\0", 8));
    QCOMPARE(b.mid(8, 11), QByteArray("14.03.2019\0", 11));
    QCOMPARE(b.mid(19, 8), QByteArray("SN12345\0", 8));
    QCOMPARE(b.mid(27, 5).toHex(' '), QByteArray("05 03 02 01 07"));
}

QTEST_GUILESS_MAIN(tst_SimIdentity)
#include "tst_simidentity.moc"
