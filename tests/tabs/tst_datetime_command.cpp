#include "TabTest.h"

#include "control/DATETIME_command.h"
#include "link/CommandParameters.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

using namespace TabTest;

class tst_DATETIME_command : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deviceClock_isComputerPlusShift();
    void shiftEnteredTwice_sendsOnce();
    void dateOneHourAheadAt2330_givesOneDayLessHours();
    void monthBackFrom31March_landsOnFebruary();
    void entry_carriesOverBetweenModes();
    void cancel_dropsEntry();
    void update_waitsForNewShift();

private:
    void setNow(const QDateTime &now);
    QSpinBox *spin(const char *unit) const;
    void enterShift(const char *unit, int value);

    DateTimeShiftInfo m_shift;
    QDateTime m_now;
    DATETIME_command *m_tab = nullptr;
    QSignalSpy *m_spy = nullptr;
};

void tst_DATETIME_command::init()
{
    m_shift = DateTimeShiftInfo();
    m_tab = new DATETIME_command(&m_shift, nullptr);
    m_tab->setClock([this] { return m_now; });
    // The computer's clock has milliseconds, which the operator never sees.
    setNow(QDateTime(QDate(2025, 6, 10), QTime(23, 30, 0, 700)));
    m_tab->show();
    m_spy = new QSignalSpy(m_tab, &DATETIME_command::sendCommand);
}

void tst_DATETIME_command::cleanup()
{
    delete m_spy;
    delete m_tab;
}

void tst_DATETIME_command::setNow(const QDateTime &now)
{
    m_now = now;
    m_tab->openPage();
}

QSpinBox *tst_DATETIME_command::spin(const char *unit) const
{
    return child<QSpinBox>(m_tab, QByteArray("shift_") + unit + "_sBox");
}

void tst_DATETIME_command::enterShift(const char *unit, int value)
{
    spin(unit)->selectAll();
    QTest::keyClicks(spin(unit), QString::number(value));
}

void tst_DATETIME_command::deviceClock_isComputerPlusShift()
{
    m_shift.dateDifference = 1;
    m_shift.timeDifference = -60;
    m_tab->setCurrentTime();
    QCOMPARE(child<QDateTimeEdit>(m_tab, "curDateTimeOnComputer_dTEdit")->dateTime(), m_now);
    QCOMPARE(child<QDateTimeEdit>(m_tab, "curDateTimeOnDevice_dTEdit")->dateTime(),
             QDateTime(QDate(2025, 6, 11), QTime(23, 29, 0, 700)));
}

void tst_DATETIME_command::shiftEnteredTwice_sendsOnce()
{
    click(m_tab, "changeDateTime_pBtn");
    QVERIFY(child<QGroupBox>(m_tab, "enterNewDateTime_groupBox")->isEnabled());
    enterShift("days", 1);
    clickOk(m_tab, "dateTime_btnBox");
    QCOMPARE(codes(*m_spy), QList<int>{10});
    QCOMPARE(m_shift.dateDifference, 1);
    QCOMPARE(m_shift.timeDifference, 0);
    QCOMPARE(spin("days")->value(), 0);

    enterShift("days", 1);
    clickOk(m_tab, "dateTime_btnBox");
    QCOMPARE(m_spy->count(), 1);
}

void tst_DATETIME_command::dateOneHourAheadAt2330_givesOneDayLessHours()
{
    click(m_tab, "changeDateTime_pBtn");
    click(m_tab, "enter_date_rBtn");
    child<QDateEdit>(m_tab, "newDateOnDevice_dateEdit")->setDate(QDate(2025, 6, 11));
    child<QTimeEdit>(m_tab, "newTimeOnDevice_timeEdit")->setTime(QTime(0, 30));
    clickOk(m_tab, "dateTime_btnBox");
    QCOMPARE(codes(*m_spy), QList<int>{10});
    QCOMPARE(m_shift.dateDifference, 1);
    QCOMPARE(m_shift.timeDifference, -82800);
    QCOMPARE(child<QDateEdit>(m_tab, "newDateOnDevice_dateEdit")->date(), m_now.date());
}

void tst_DATETIME_command::monthBackFrom31March_landsOnFebruary()
{
    setNow(QDateTime(QDate(2025, 3, 31), QTime(12, 0, 0, 700)));
    click(m_tab, "changeDateTime_pBtn");
    enterShift("months", -1);
    clickOk(m_tab, "dateTime_btnBox");
    QCOMPARE(m_shift.dateDifference, -31);  // to 28 February
    QCOMPARE(m_shift.timeDifference, 0);
}

void tst_DATETIME_command::entry_carriesOverBetweenModes()
{
    auto *dateGroup = child<QGroupBox>(m_tab, "enter_date_groupBox");
    auto *shiftGroup = child<QGroupBox>(m_tab, "enter_shift_groupBox");
    QVERIFY(dateGroup->isHidden());
    QVERIFY(!shiftGroup->isHidden());

    click(m_tab, "changeDateTime_pBtn");
    enterShift("days", 1);
    enterShift("hours", 2);
    click(m_tab, "enter_date_rBtn");
    QVERIFY(!dateGroup->isHidden());
    QVERIFY(shiftGroup->isHidden());
    QCOMPARE(child<QDateEdit>(m_tab, "newDateOnDevice_dateEdit")->date(), QDate(2025, 6, 12));
    QCOMPARE(child<QTimeEdit>(m_tab, "newTimeOnDevice_timeEdit")->time(), QTime(1, 30));

    child<QDateEdit>(m_tab, "newDateOnDevice_dateEdit")->setDate(QDate(2025, 7, 1));
    child<QTimeEdit>(m_tab, "newTimeOnDevice_timeEdit")->setTime(QTime(0, 0));
    click(m_tab, "enter_shift_rBtn");
    QVERIFY(dateGroup->isHidden());
    const QList<int> expected{0, 1, -9, -23, -30, 0};
    QList<int> shown;
    for (const char *unit : {"years", "months", "days", "hours", "minutes", "seconds"})
        shown << spin(unit)->value();
    QCOMPARE(shown, expected);
}

void tst_DATETIME_command::cancel_dropsEntry()
{
    click(m_tab, "changeDateTime_pBtn");
    enterShift("minutes", 5);
    click(m_tab, "cancel_pBtn");
    QVERIFY(!child<QGroupBox>(m_tab, "enterNewDateTime_groupBox")->isEnabled());
    QCOMPARE(spin("minutes")->value(), 0);
    QVERIFY(m_spy->isEmpty());
}

void tst_DATETIME_command::update_waitsForNewShift()
{
    QSignalSpy update(m_tab, &DATETIME_command::updateTimeDifference);
    auto *device = child<QDateTimeEdit>(m_tab, "curDateTimeOnDevice_dTEdit");
    click(m_tab, "updateCurDateTime_pBtn");
    QCOMPARE(update.count(), 1);
    QVERIFY(!device->isEnabled());

    m_shift.lastUpdate = QDateTime(QDate(2025, 6, 10), QTime(23, 30, 5));
    m_tab->newTimeDifferenceIsReady();
    QVERIFY(device->isEnabled());
    QCOMPARE(child<QLabel>(m_tab, "timeOfLastUpdate_label")->text(),
             QString("Last update: \n10.06.2025 23:30:05"));
}

QTEST_MAIN(tst_DATETIME_command)
#include "tst_datetime_command.moc"
