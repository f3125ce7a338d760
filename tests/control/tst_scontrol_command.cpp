#include "control/SCONTROL_command.h"
#include "dialogs/MessageBox.h"
#include "FormChild.h"
#include "historywindow/CustomPlot.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

class TestScontrolCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void plan_data();
    void plan();
    void inputChangeAfterCalculate_disablesOk_data();
    void inputChangeAfterCalculate_disablesOk();
    void targetOutOfRange_isRefusedWithAnEmptyCurve_data();
    void targetOutOfRange_isRefusedWithAnEmptyCurve();
    void notANumber_isFlaggedAndNotPlanned();
    void abort_resetsThePage();
    void cancel_stopsTheSteering();
    void finished_disablesAbort();

private:
    template<typename T>
    T *child(const QString &name) const
    {
        return formChild<T>(m_tab.get(), name);
    }
    QPushButton *okButton() const
    {
        return child<QDialogButtonBox>("sm_btnBox")->button(QDialogButtonBox::Ok);
    }
    void setSpin(const QString &name, int value) const;
    void enterTarget(const QString &text) const;
    void calculate() const;
    QVector<QPointF> curve() const;

    SmartControlInfo m_smart;
    double m_freqNewOffset = 0;
    std::unique_ptr<SCONTROL_command> m_tab;
    std::unique_ptr<QSignalSpy> m_codes;
};

void TestScontrolCommand::init()
{
    QLocale::setDefault(QLocale::c());
    MessageBox::setAutoAnswer(true);
    MessageBox::clearShownTexts();
    m_smart = SmartControlInfo();
    m_freqNewOffset = 0;
    m_tab = std::make_unique<SCONTROL_command>(&m_smart, &m_freqNewOffset, nullptr);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    m_codes = std::make_unique<QSignalSpy>(m_tab.get(), &SCONTROL_command::sendCommand);
}

void TestScontrolCommand::cleanup()
{
    m_codes.reset();
    m_tab.reset();
    MessageBox::setAutoAnswer(false);
}

void TestScontrolCommand::setSpin(const QString &name, int value) const
{
    auto *spin = child<QSpinBox>(name);
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, QString::number(value));
    QCOMPARE(spin->value(), value);
}

void TestScontrolCommand::enterTarget(const QString &text) const
{
    auto *line = child<QLineEdit>("sm_freqNewOffset_line");
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(line, text);
}

void TestScontrolCommand::calculate() const
{
    QTest::mouseClick(child<QPushButton>("sm_apply_pBtn"), Qt::LeftButton);
}

QVector<QPointF> TestScontrolCommand::curve() const
{
    QVector<QPointF> points;
    const auto data = child<QCustomPlot>("sm_widgetPlot")->graph(0)->data();
    for (auto it = data->constBegin(); it != data->constEnd(); ++it)
        points.append(QPointF(it->key, it->value));
    return points;
}

void TestScontrolCommand::plan_data()
{
    QTest::addColumn<float>("current");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("phase");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<double>>("steps");
    QTest::addColumn<double>("phaseSeconds");

    QTest::newRow("N = 2 to 3e-12") << 0.0f << "3e-12" << 0 << 0 << 2 << QVector<double>{3e-12, 3e-12} << 0.0;
    QTest::newRow("N = 3 to 6e-12") << 0.0f << "6e-12" << 0 << 0 << 3
                                    << QVector<double>{5e-12, 7e-12, 6e-12} << 0.0;
    QTest::newRow("1 ns of phase") << 0.0f << "0" << 1 << 0 << 3 << QVector<double>{5e-11, 5e-11, 0.0} << 1e-9;
    QTest::newRow("phase only returns to the start") << 2e-12f << "2e-12" << 500 << 1 << 3
                                                     << QVector<double>{2.7e-11, 2.7e-11, 2e-12} << 5e-10;
    QTest::newRow("N = 1 goes straight to the target") << 1e-12f << "4e-12" << 0 << 0 << 1
                                                       << QVector<double>{4e-12} << 0.0;
}

void TestScontrolCommand::plan()
{
    QFETCH(float, current);
    QFETCH(QString, target);
    QFETCH(int, phase);
    QFETCH(int, unit);
    QFETCH(int, count);
    QFETCH(QVector<double>, steps);
    QFETCH(double, phaseSeconds);

    QSignalSpy shown(m_tab.get(), &SCONTROL_command::set_newFreqOffsetCurValue);
    m_tab->set_smartControl_curValues(current, 0);
    enterTarget(target);
    setSpin("sm_phaseNewOffset_sBox", phase);
    child<QComboBox>("sm_phase_cBox")->setCurrentIndex(unit);
    setSpin("sm_numOfControls_sBox", count);
    QVERIFY(!okButton()->isEnabled());
    calculate();

    QVERIFY(okButton()->isEnabled());
    const QVector<QPointF> points = curve();
    QCOMPARE(points.size(), 2 * count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(points[2 * i].x(), 10.0 * i);
        QCOMPARE(points[2 * i + 1].x(), 10.0 * (i + 1));
        for (int end : {2 * i, 2 * i + 1})
            QVERIFY2(qAbs(points[end].y() - steps[i]) < 1e-20,
                     qPrintable(QStringLiteral("step %1 is %2").arg(i).arg(points[end].y())));
    }
    const QCPRange timeAxis = child<QCustomPlot>("sm_widgetPlot")->xAxis->range();
    QCOMPARE(timeAxis.lower, -1.0);
    QCOMPARE(timeAxis.upper, 10.0 * count);

    QTest::mouseClick(okButton(), Qt::LeftButton);
    QCOMPARE(m_codes->count(), 1);
    QCOMPARE(m_codes->at(0).at(0).toInt(), 5);
    QCOMPARE(m_smart.freq_newValue, target.toDouble());
    QVERIFY(qAbs(m_smart.phase_newValue - phaseSeconds) < 1e-24);
    QCOMPARE(m_smart.timeInterval, 10);
    QCOMPARE(m_smart.numOfControls, count);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.at(0).at(0).toDouble(), target.toDouble());
    QCOMPARE(child<QLineEdit>("sm_freqCurOffset_line")->text(), target);
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(child<QPushButton>("abort_pBtn")->isEnabled());
}

void TestScontrolCommand::inputChangeAfterCalculate_disablesOk_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("phase unit") << "unit";
    QTest::newRow("step interval") << "interval";
    QTest::newRow("number of steps") << "count";
    QTest::newRow("phase") << "phase";
    QTest::newRow("target typed") << "target";
}

void TestScontrolCommand::inputChangeAfterCalculate_disablesOk()
{
    QFETCH(QString, change);
    enterTarget("1e-12");
    calculate();
    QVERIFY(okButton()->isEnabled());

    if (change == "unit")
        child<QComboBox>("sm_phase_cBox")->setCurrentIndex(1);
    else if (change == "interval")
        setSpin("sm_timeInterval_sBox", 20);
    else if (change == "count")
        setSpin("sm_numOfControls_sBox", 4);
    else if (change == "phase")
        setSpin("sm_phaseNewOffset_sBox", 3);
    else
        QTest::keyClick(child<QLineEdit>("sm_freqNewOffset_line"), Qt::Key_5);

    QVERIFY(!okButton()->isEnabled());
    QTest::mouseClick(okButton(), Qt::LeftButton);
    QCOMPARE(m_codes->count(), 0);
}

void TestScontrolCommand::targetOutOfRange_isRefusedWithAnEmptyCurve_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("2e-8") << "2e-8";
    QTest::newRow("-2e-8") << "-2e-8";
    QTest::newRow("5e-19") << "5e-19";
    QTest::newRow("-5e-19") << "-5e-19";
}

void TestScontrolCommand::targetOutOfRange_isRefusedWithAnEmptyCurve()
{
    QFETCH(QString, target);
    enterTarget("3e-12");
    calculate();
    QVERIFY(!curve().isEmpty());

    enterTarget(target);
    calculate();
    QCOMPARE(MessageBox::shownTexts(),
             QStringList{QStringLiteral("The Frequency offset value range is:\n"
                                        "from -1.0e-8 to -1.0e-18, 0, from 1.0e-18 to 1.0e-8.")});
    QVERIFY(curve().isEmpty());
    QVERIFY(!okButton()->isEnabled());
}

void TestScontrolCommand::notANumber_isFlaggedAndNotPlanned()
{
    auto *line = child<QLineEdit>("sm_freqNewOffset_line");
    enterTarget("1e-1x");
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(child<QLabel>("sm_freq_warning_lbl")->text(), QStringLiteral("Incorrect value!"));
    calculate();
    QVERIFY(curve().isEmpty());
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(MessageBox::shownTexts().isEmpty());
}

void TestScontrolCommand::abort_resetsThePage()
{
    enterTarget("2e-12");
    setSpin("sm_numOfControls_sBox", 6);
    setSpin("sm_timeInterval_sBox", 60);
    setSpin("sm_phaseNewOffset_sBox", 5);
    calculate();
    QTest::mouseClick(okButton(), Qt::LeftButton);
    QSignalSpy stops(m_tab.get(), &SCONTROL_command::stopSmartControl);

    QTest::mouseClick(child<QPushButton>("abort_pBtn"), Qt::LeftButton);
    QVERIFY(child<QLineEdit>("sm_freqNewOffset_line")->text().isEmpty());
    QCOMPARE(child<QSpinBox>("sm_phaseNewOffset_sBox")->value(), 0);
    QCOMPARE(child<QSpinBox>("sm_numOfControls_sBox")->value(), 1);
    QCOMPARE(child<QSpinBox>("sm_timeInterval_sBox")->value(), 10);
    QVERIFY(curve().isEmpty());
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(!child<QPushButton>("abort_pBtn")->isEnabled());
    QCOMPARE(m_codes->count(), 1);
    QCOMPARE(stops.count(), 0);
}

void TestScontrolCommand::cancel_stopsTheSteering()
{
    enterTarget("2e-12");
    calculate();
    QTest::mouseClick(okButton(), Qt::LeftButton);
    QSignalSpy stops(m_tab.get(), &SCONTROL_command::stopSmartControl);

    QTest::mouseClick(child<QPushButton>("cancel_pBtn"), Qt::LeftButton);
    QCOMPARE(stops.count(), 1);
    QVERIFY(!child<QPushButton>("abort_pBtn")->isEnabled());
    QVERIFY(!okButton()->isEnabled());
}

void TestScontrolCommand::finished_disablesAbort()
{
    enterTarget("2e-12");
    calculate();
    QTest::mouseClick(okButton(), Qt::LeftButton);
    QVERIFY(child<QPushButton>("abort_pBtn")->isEnabled());
    m_tab->smartControlIsFinished();
    QVERIFY(!child<QPushButton>("abort_pBtn")->isEnabled());
}

QTEST_MAIN(TestScontrolCommand)
#include "tst_scontrol_command.moc"
