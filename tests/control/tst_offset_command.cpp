#include "control/OFFSET_command.h"
#include "dialogs/MessageBox.h"
#include "FormChild.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

const QString kOffsetRange = QStringLiteral(
    "The Frequency offset value range is:\nfrom -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.");
const QString kDriftRange = QStringLiteral(
    "The Drift offset value range is:\nfrom -1.0e-11 to -1.0e-18, 0, from 1.0e-18 to 1.0e-11.");

}  // namespace

class TestOffsetCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void valueOk_data();
    void valueOk();
    void notANumber_isFlaggedOnLeavingAndIgnoredByOk();
    void cancel_clearsFieldAndWarning();
    void deviceValues_areShown();

    void phasePlan_data();
    void phasePlan();
    void applyWithZero_sendsNothingAndEndsLikeCancel();
    void phaseCancel_returnsToChange();
    void nanosecondsThatOverflowPicoseconds_areRefused();

    void openPage_showsTheFrequencyOffsetPage();

private:
    template<typename T>
    T *child(const QString &name) const
    {
        return formChild<T>(m_tab.get(), name);
    }
    void clickOk(const QString &box) const;
    void enterPhase(int value, int unit) const;

    PhaseControlInfo m_phase;
    double m_freq = 0;
    double m_drift = 0;
    std::unique_ptr<OFFSET_command> m_tab;
    std::unique_ptr<QSignalSpy> m_codes;
};

void TestOffsetCommand::init()
{
    QLocale::setDefault(QLocale::c());
    MessageBox::setAutoAnswer(true);
    MessageBox::clearShownTexts();
    m_phase = PhaseControlInfo();
    m_freq = 2e-12;
    m_drift = 0;
    m_tab = std::make_unique<OFFSET_command>(&m_phase, &m_freq, &m_drift, nullptr);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    m_codes = std::make_unique<QSignalSpy>(m_tab.get(), &OFFSET_command::sendCommand);
}

void TestOffsetCommand::cleanup()
{
    m_codes.reset();
    m_tab.reset();
    MessageBox::setAutoAnswer(false);
}

void TestOffsetCommand::clickOk(const QString &box) const
{
    QTest::mouseClick(child<QDialogButtonBox>(box)->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

void TestOffsetCommand::valueOk_data()
{
    QTest::addColumn<QString>("page");  // "freq" or "drift"
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("stored");

    QTest::newRow("offset 0 is sent") << "freq" << "0" << true << 0.0;
    QTest::newRow("offset 1e-18 is sent") << "freq" << "1e-18" << true << 1e-18;
    QTest::newRow("offset 1e-8 is sent") << "freq" << "1e-8" << true << 1e-8;
    QTest::newRow("offset -1e-8 is sent") << "freq" << "-1e-8" << true << -1e-8;
    QTest::newRow("offset with a decimal comma is sent") << "freq" << "2,5e-12" << true << 2.5e-12;
    QTest::newRow("offset 2e-8 is refused") << "freq" << "2e-8" << false << 0.0;
    QTest::newRow("offset 5e-19 is refused") << "freq" << "5e-19" << false << 0.0;
    QTest::newRow("offset -5e-19 is refused") << "freq" << "-5e-19" << false << 0.0;
    QTest::newRow("trend 1e-11 is sent") << "drift" << "1e-11" << true << 1e-11;
    QTest::newRow("trend -3e-15 is sent") << "drift" << "-3e-15" << true << -3e-15;
    QTest::newRow("trend 1.1e-11 is refused") << "drift" << "1.1e-11" << false << 0.0;
    QTest::newRow("trend 1e-8 is refused") << "drift" << "1e-8" << false << 0.0;
}

void TestOffsetCommand::valueOk()
{
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, stored);

    const bool freq = page == QLatin1String("freq");
    const QString &prefix = page;
    auto *newLine = child<QLineEdit>(prefix + "_newOffset_line");
    auto *current = child<QLineEdit>(prefix + "_curOffset_line");
    double *target = freq ? &m_freq : &m_drift;
    const double before = *target;
    const QString shownBefore = current->text();
    child<QTabWidget>("tabWidget")->setCurrentIndex(freq ? 1 : 2);

    QTest::keyClicks(newLine, text);
    clickOk(prefix + "_btnBox");

    if (accepted) {
        QCOMPARE(m_codes->count(), 1);
        QCOMPARE(m_codes->at(0).at(0).toInt(), freq ? 3 : 4);
        QCOMPARE(*target, stored);
        QCOMPARE(current->text(), QString::number(stored, 'g', 6));
        QVERIFY(newLine->text().isEmpty());
        QVERIFY(MessageBox::shownTexts().isEmpty());
    } else {
        QCOMPARE(m_codes->count(), 0);
        QCOMPARE(*target, before);
        QCOMPARE(current->text(), shownBefore);
        QCOMPARE(newLine->text(), text);
        QCOMPARE(MessageBox::shownTexts(), QStringList{freq ? kOffsetRange : kDriftRange});
    }
}

void TestOffsetCommand::notANumber_isFlaggedOnLeavingAndIgnoredByOk()
{
    child<QTabWidget>("tabWidget")->setCurrentIndex(1);
    auto *line = child<QLineEdit>("freq_newOffset_line");
    auto *warning = child<QLabel>("freq_warning_lbl");
    QVERIFY(warning->text().isEmpty());

    QTest::keyClicks(line, "abc");
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(warning->text(), QStringLiteral("Incorrect value!"));

    clickOk("freq_btnBox");
    QCOMPARE(m_codes->count(), 0);
    QCOMPARE(m_freq, 2e-12);
    QVERIFY(MessageBox::shownTexts().isEmpty());

    line->clear();
    QTest::keyClicks(line, "1e-12");
    QTest::keyClick(line, Qt::Key_Return);
    QVERIFY(warning->text().isEmpty());
}

void TestOffsetCommand::cancel_clearsFieldAndWarning()
{
    child<QTabWidget>("tabWidget")->setCurrentIndex(2);
    auto *line = child<QLineEdit>("drift_newOffset_line");
    QTest::keyClicks(line, "x1");
    QTest::keyClick(line, Qt::Key_Return);
    QVERIFY(!child<QLabel>("drift_warning_lbl")->text().isEmpty());

    QTest::mouseClick(child<QPushButton>("drift_cancel_pBtn"), Qt::LeftButton);
    QVERIFY(line->text().isEmpty());
    QVERIFY(child<QLabel>("drift_warning_lbl")->text().isEmpty());
    QCOMPARE(m_codes->count(), 0);
}

void TestOffsetCommand::deviceValues_areShown()
{
    QCOMPARE(child<QLineEdit>("freq_curOffset_line")->text(), QStringLiteral("2e-12"));
    m_tab->set_offsetControl_curValues(1.0894e-15f, -2e-16f);
    QCOMPARE(child<QLineEdit>("freq_curOffset_line")->text(), QStringLiteral("1.0894e-15"));
    QCOMPARE(child<QLineEdit>("drift_curOffset_line")->text(), QStringLiteral("-2e-16"));
    m_tab->set_newFreqOffsetCurValue(3e-12);
    QCOMPARE(child<QLineEdit>("freq_curOffset_line")->text(), QStringLiteral("3e-12"));
}

void TestOffsetCommand::enterPhase(int value, int unit) const
{
    auto *button = child<QPushButton>("phase_pBtn");
    QCOMPARE(button->text(), QStringLiteral("Change"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Apply"));
    QVERIFY(child<QComboBox>("phase_cBox")->isEnabled());
    child<QComboBox>("phase_cBox")->setCurrentIndex(unit);
    auto *spin = child<QSpinBox>("phase_newOffset_sBox");
    QVERIFY(!spin->isReadOnly());
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, QString::number(value));
    QCOMPARE(spin->value(), value);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestOffsetCommand::phasePlan_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("picoseconds");

    const QString head = QStringLiteral("Frequency will be shifted on: \n");
    QTest::newRow("5 ns") << 5 << 0 << head + "1e-9 during 5 s!" << 5 << 5000;
    QTest::newRow("1 ns lasts 2 s") << 1 << 0 << head + "1e-9 during 1 s!" << 2 << 1000;
    QTest::newRow("-4 ns") << -4 << 0 << head + "-1e-9 during 4 s!" << 4 << -4000;
    QTest::newRow("250 ps") << 250 << 1 << head + "2.5e-10 during 1 s!" << 2 << 250;
    QTest::newRow("999 ps") << 999 << 1 << head + "9.99e-10 during 1 s!" << 2 << 999;
    QTest::newRow("1000 ps") << 1000 << 1 << head + "1e-9 during 1 s!" << 2 << 1000;
    QTest::newRow("1001 ps") << 1001 << 1 << head + "1e-9 during 1 s and  \n1e-12 during 1 s!" << 2 << 1001;
    QTest::newRow("-1500 ps") << -1500 << 1 << head + "-1e-9 during 1 s and  \n-5e-10 during 1 s!" << 2 << -1500;
    QTest::newRow("3000 ps") << 3000 << 1 << head + "1e-9 during 3 s!" << 3 << 3000;
}

void TestOffsetCommand::phasePlan()
{
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(QString, plan);
    QFETCH(int, interval);
    QFETCH(int, picoseconds);

    auto *ok = child<QDialogButtonBox>("phase_btnBox")->button(QDialogButtonBox::Ok);
    auto *label = child<QLabel>("phase_lbl");
    QVERIFY(!ok->isEnabled());
    enterPhase(value, unit);

    QCOMPARE(child<QPushButton>("phase_pBtn")->text(), QStringLiteral("Change"));
    QVERIFY(child<QSpinBox>("phase_newOffset_sBox")->isReadOnly());
    QVERIFY(!label->isHidden());
    QCOMPARE(label->text(), plan);
    QVERIFY(ok->isEnabled());
    QCOMPARE(m_codes->count(), 0);

    const QDateTime before = QDateTime::currentDateTimeUtc();
    QTest::mouseClick(ok, Qt::LeftButton);
    const QDateTime after = QDateTime::currentDateTimeUtc();

    QCOMPARE(m_codes->count(), 1);
    QCOMPARE(m_codes->at(0).at(0).toInt(), 2);
    QCOMPARE(m_phase.timerInterval, interval);
    QCOMPARE(m_phase.phaseOffset, picoseconds);
    QCOMPARE(m_phase.endTime.timeSpec(), Qt::UTC);
    QVERIFY(m_phase.endTime >= before.addSecs(interval).addMSecs(-999));
    QVERIFY(m_phase.endTime <= after.addSecs(interval));
    QCOMPARE(child<QSpinBox>("phase_newOffset_sBox")->value(), 0);
    QVERIFY(!ok->isEnabled());
    QTRY_VERIFY(label->isHidden());
}

void TestOffsetCommand::applyWithZero_sendsNothingAndEndsLikeCancel()
{
    enterPhase(0, 0);
    QCOMPARE(child<QPushButton>("phase_pBtn")->text(), QStringLiteral("Change"));
    QVERIFY(!child<QDialogButtonBox>("phase_btnBox")->button(QDialogButtonBox::Ok)->isEnabled());
    QVERIFY(!child<QComboBox>("phase_cBox")->isEnabled());
    QTRY_VERIFY(child<QLabel>("phase_lbl")->isHidden());
    QCOMPARE(m_codes->count(), 0);
}

void TestOffsetCommand::phaseCancel_returnsToChange()
{
    enterPhase(7, 0);
    QVERIFY(!child<QLabel>("phase_lbl")->isHidden());

    QTest::mouseClick(child<QPushButton>("phase_cancel_pBtn"), Qt::LeftButton);
    QCOMPARE(child<QSpinBox>("phase_newOffset_sBox")->value(), 0);
    QVERIFY(child<QSpinBox>("phase_newOffset_sBox")->isReadOnly());
    QCOMPARE(child<QPushButton>("phase_pBtn")->text(), QStringLiteral("Change"));
    QVERIFY(!child<QDialogButtonBox>("phase_btnBox")->button(QDialogButtonBox::Ok)->isEnabled());
    QTRY_VERIFY(child<QLabel>("phase_lbl")->isHidden());
    QCOMPARE(m_codes->count(), 0);
}

void TestOffsetCommand::nanosecondsThatOverflowPicoseconds_areRefused()
{
    enterPhase(3000000, 0);
    QCOMPARE(MessageBox::shownTexts(),
             QStringList{QStringLiteral("The Phase offset value range is:\nfrom -2147483 to 2147483 ns.")});
    // Still editing, so the operator can correct the value.
    QCOMPARE(child<QPushButton>("phase_pBtn")->text(), QStringLiteral("Apply"));
    QVERIFY(!child<QSpinBox>("phase_newOffset_sBox")->isReadOnly());
    QVERIFY(!child<QDialogButtonBox>("phase_btnBox")->button(QDialogButtonBox::Ok)->isEnabled());
    QVERIFY(child<QLabel>("phase_lbl")->isHidden());
    QCOMPARE(m_codes->count(), 0);
}

void TestOffsetCommand::openPage_showsTheFrequencyOffsetPage()
{
    QCOMPARE(child<QTabWidget>("tabWidget")->currentIndex(), 0);
    m_tab->openPage();
    QCOMPARE(child<QTabWidget>("tabWidget")->currentIndex(), 1);
}

QTEST_MAIN(TestOffsetCommand)
#include "tst_offset_command.moc"
