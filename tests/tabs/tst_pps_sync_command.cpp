#include "TabTest.h"

#include "control/PPS_SYNC_command.h"
#include "link/Records.h"

#include <QLabel>
#include <QTimer>
#include <QTranslator>

using namespace TabTest;

class tst_PPS_SYNC_command : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void offset_data();
    void offset();
    void opening_asksAtOnceThenEvery10s();
    void hiding_stopsRefresh();
    void synchronize_sendsCode7();
    void languageSwitch_rewordsStatus();

private:
    PPS_DELAY m_pps;
    PPS_SYNC_command *m_tab = nullptr;
    QSignalSpy *m_spy = nullptr;
};

void tst_PPS_SYNC_command::init()
{
    m_pps = PPS_DELAY();
    m_tab = new PPS_SYNC_command(&m_pps, nullptr);
    m_spy = new QSignalSpy(m_tab, &PPS_SYNC_command::sendCommand);
}

void tst_PPS_SYNC_command::cleanup()
{
    delete m_spy;
    delete m_tab;
}

void tst_PPS_SYNC_command::offset_data()
{
    QTest::addColumn<int>("external");
    QTest::addColumn<quint32>("delay");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shown");
    QTest::newRow("unavailable clears the offset") << 0 << 1234u << "UNAVAILABLE" << "";
    QTest::newRow("50 000 000 shown as is") << 1 << 50000000u << "AVAILABLE" << "50000000";
    QTest::newRow("50 000 001 is early") << 1 << 50000001u << "AVAILABLE" << "-49999999";
    QTest::newRow("last step before the second") << 1 << 99999999u << "AVAILABLE" << "-1";
    QTest::newRow("unknown status shows the offset alone") << 2 << 40u << "" << "40";
}

void tst_PPS_SYNC_command::offset()
{
    QFETCH(int, external);
    QFETCH(quint32, delay);
    QFETCH(QString, status);
    QFETCH(QString, shown);
    auto *offsetLabel = child<QLabel>(m_tab, "pps_currentOffset_lbl");
    offsetLabel->setText("stale");
    m_pps.external = qint16(external);
    m_pps.delay = delay;
    m_tab->currentOffset_1PPS_isReady();
    QCOMPARE(child<QLabel>(m_tab, "pps_currentAvailability_lbl")->text(), status);
    QCOMPARE(offsetLabel->text(), shown);
}

void tst_PPS_SYNC_command::opening_asksAtOnceThenEvery10s()
{
    m_tab->MyShow();
    QCOMPARE(codes(*m_spy), QList<int>{8});
    QVERIFY(m_tab->isVisible());
    QVERIFY(m_tab->isRefreshing());
    QCOMPARE(m_tab->findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->interval(), 10000);
}

void tst_PPS_SYNC_command::hiding_stopsRefresh()
{
    m_tab->MyShow();
    m_tab->close();
    QVERIFY(!m_tab->isRefreshing());
}

void tst_PPS_SYNC_command::synchronize_sendsCode7()
{
    m_tab->show();
    click(m_tab, "pps_sync_pBtn");
    QCOMPARE(codes(*m_spy), QList<int>{7});
}

void tst_PPS_SYNC_command::languageSwitch_rewordsStatus()
{
    m_pps.external = 1;
    m_tab->currentOffset_1PPS_isReady();
    QTranslator russian;
    QVERIFY(russian.load(":/Brontel583_ru"));
    QCoreApplication::installTranslator(&russian);
    m_tab->translate();
    QCoreApplication::removeTranslator(&russian);
    QCOMPARE(child<QLabel>(m_tab, "pps_currentAvailability_lbl")->text(), QString("ДОСТУПЕН"));
    QCOMPARE(child<QAbstractButton>(m_tab, "pps_sync_pBtn")->text(), QString("Синхронизировать"));
}

QTEST_MAIN(tst_PPS_SYNC_command)
#include "tst_pps_sync_command.moc"
