#include "historywindow/HistoryWindowPlace.h"

#include <QtTest>

class tst_HistoryWindowPlace : public QObject
{
    Q_OBJECT

private slots:
    void storedPlace_isUsedOnlyWhereItCanBeSeen_data();
    void storedPlace_isUsedOnlyWhereItCanBeSeen();
};

void tst_HistoryWindowPlace::storedPlace_isUsedOnlyWhereItCanBeSeen_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("expected");
    const QRect centred(QPoint(160, 90), QSize(1600, 900));
    QTest::newRow("on the screen") << QRect(100, 100, 800, 600) << QRect(100, 100, 800, 600);
    QTest::newRow("on a screen no longer there") << QRect(2500, 100, 800, 600) << centred;
    QTest::newRow("smaller than the window can be") << QRect(100, 100, 200, 100) << centred;
    QTest::newRow("nothing stored") << QRect() << centred;
}

void tst_HistoryWindowPlace::storedPlace_isUsedOnlyWhereItCanBeSeen()
{
    QFETCH(QRect, stored);
    QFETCH(QRect, expected);
    const QList<QRect> screens{QRect(0, 0, 1920, 1080)};
    QCOMPARE(HistoryWindowPlace::placed(stored, screens, QSize(640, 480), QSize(1600, 900)), expected);
}

QTEST_GUILESS_MAIN(tst_HistoryWindowPlace)
#include "tst_historywindowplace.moc"
