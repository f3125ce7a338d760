#include "status/StatusDisplay.h"

#include <QtTest>

Q_DECLARE_METATYPE(FieldStyle)
Q_DECLARE_METATYPE(TextStyle)

class tst_StatusDisplay : public QObject
{
    Q_OBJECT

private slots:
    void overallState_data();
    void overallState();
    void channelLook_data();
    void channelLook();
    void number_usesShortestNotation_data();
    void number_usesShortestNotation();
};

void tst_StatusDisplay::overallState_data()
{
    QTest::addColumn<int>("sync");
    QTest::addColumn<int>("estimation");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<FieldStyle>("style");
    QTest::newRow("estimation 6000 counts 60 s in blue") << 1 << 6000 << true
        << "Initial signal estimation, 60 s" << FieldStyle::Blue;
    QTest::newRow("synchronised in green") << 1 << 0 << true << "Synchronization OK" << FieldStyle::Green;
    QTest::newRow("not synchronised while connected in red") << 0 << 0 << true
        << "No synchronization!" << FieldStyle::Red;
    QTest::newRow("status 2 is not synchronised") << 2 << 0 << true << "No synchronization!" << FieldStyle::Red;
    QTest::newRow("not synchronised, no device: no connection") << 0 << 0 << false
        << "No connection" << FieldStyle::Grey;
    QTest::newRow("last record synchronised, no device: no connection") << 1 << 0 << false
        << "No connection" << FieldStyle::Grey;
}

void tst_StatusDisplay::overallState()
{
    QFETCH(int, sync);
    QFETCH(int, estimation);
    QFETCH(bool, connected);
    QFETCH(QString, text);
    QFETCH(FieldStyle, style);
    ADJ_CMD_STATE cmd;
    cmd.syncStatus = qint16(sync);
    cmd.estimationTimeLeft = quint16(estimation);
    const StatusDisplay::Overall state = StatusDisplay::overall(cmd, connected);
    QCOMPARE(StatusDisplay::overallText(state, cmd), text);
    QCOMPARE(StatusDisplay::overallStyle(state), style);
}

void tst_StatusDisplay::channelLook_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("timeLeft");
    QTest::addColumn<bool>("error");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");
    QTest::addColumn<FieldStyle>("status");
    QTest::addColumn<TextStyle>("values");
    QTest::addColumn<bool>("greyName");
    QTest::newRow("backup 3") << 13 << 0 << false << "-" << "BACKUP 3" << FieldStyle::Green << TextStyle::Black << false;
    QTest::newRow("backup 1") << 11 << 0 << false << "-" << "BACKUP 1" << FieldStyle::Green << TextStyle::Black << false;
    QTest::newRow("in group") << 3 << 0 << true << "-" << "+" << FieldStyle::Green << TextStyle::Black << false;
    QTest::newRow("qualifying 1234 shows 12 s") << 5 << 1234 << false << "-" << "12 s" << FieldStyle::Blue << TextStyle::Black << false;
    QTest::newRow("not in group with error") << 1 << 0 << true << "+" << "E" << FieldStyle::Grey << TextStyle::Grey << false;
    QTest::newRow("not in group") << 1 << 0 << false << "E" << "-" << FieldStyle::Grey << TextStyle::Grey << false;
    QTest::newRow("not detected keeps a dash") << 0 << 0 << true << "-" << "-" << FieldStyle::Grey << TextStyle::Grey << true;
    QTest::newRow("not detected with error replaces +") << 0 << 0 << true << "+" << "E" << FieldStyle::Grey << TextStyle::Grey << true;
    QTest::newRow("not detected replaces backup text") << 0 << 0 << false << "BACKUP 1" << "-" << FieldStyle::Grey << TextStyle::Grey << true;
    for (int code : {2, 4, 6, 10, 14, 15, 16})
        QTest::newRow(qPrintable(QStringLiteral("code %1 leaves the fields alone").arg(code)))
            << code << 500 << true << "+" << "" << FieldStyle::Grey << TextStyle::Grey << false;
}

void tst_StatusDisplay::channelLook()
{
    QFETCH(int, code);
    QFETCH(int, timeLeft);
    QFETCH(bool, error);
    QFETCH(QString, shown);
    QFETCH(QString, text);
    QFETCH(FieldStyle, status);
    QFETCH(TextStyle, values);
    QFETCH(bool, greyName);
    const auto look = StatusDisplay::channelLook(code, quint16(timeLeft), error, shown);
    QCOMPARE(look.changes, !text.isEmpty());
    QCOMPARE(look.statusText, text);
    QCOMPARE(look.statusStyle, status);
    QCOMPARE(look.valueStyle, values);
    QCOMPARE(look.greyName, greyName);
}

void tst_StatusDisplay::number_usesShortestNotation_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");
    QTest::newRow("offset 1.0894e-15") << 1.0894e-15f << 6 << "1.0894e-15";
    QTest::newRow("channel offset 0.00012") << 0.00012f << 4 << "0.00012";
    QTest::newRow("rounded to 4 digits") << 1.23456e-12f << 4 << "1.235e-12";
    QTest::newRow("zero") << 0.0f << 6 << "0";
    QTest::newRow("large value switches to exponent") << 1234567.0f << 6 << "1.23457e+06";
}

void tst_StatusDisplay::number_usesShortestNotation()
{
    QFETCH(float, value);
    QFETCH(int, digits);
    QFETCH(QString, text);
    QCOMPARE(StatusDisplay::number(value, digits), text);
}

QTEST_GUILESS_MAIN(tst_StatusDisplay)
#include "tst_statusdisplay.moc"
