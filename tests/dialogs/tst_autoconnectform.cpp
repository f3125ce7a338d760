#include "dialogs/AutoConnectForm.h"
#include "dialogs/ConnectDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Stands for the link object: its signals reach the form queued, from
// another thread.
class LinkSignals : public QObject
{
    Q_OBJECT

signals:
    void com_status(int total, int done);
    void connected();
};

class tst_AutoConnectForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void progress_showsWholePercentTried_data();
    void progress_showsWholePercentTried();
    void noPortsToTry_closesForm_data();
    void noPortsToTry_closesForm();
    void stop_enablesClose_withoutClosing();
    void connectedAfterStop_closesForm();
    void close_closesForm();
    void clickingBox_emitsNewFlag();
    void boxToggledInForm_isWhatIsSavedAtExit_data();
    void boxToggledInForm_isWhatIsSavedAtExit();

private:
    template<typename T> T *child(const char *name)
    {
        T *widget = m_form->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    void clickBox();

    AutoConnectForm *m_form = nullptr;
};

void tst_AutoConnectForm::init()
{
    m_form = new AutoConnectForm;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void tst_AutoConnectForm::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void tst_AutoConnectForm::clickBox()
{
    auto *box = child<QCheckBox>("checkBox");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void tst_AutoConnectForm::progress_showsWholePercentTried_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("percent");

    QTest::newRow("search starts at 0") << 3 << 0 << 0;
    QTest::newRow("one of three shows 33") << 3 << 1 << 33;
    QTest::newRow("two of three is truncated to 66") << 3 << 2 << 66;
    QTest::newRow("three of three shows 100") << 3 << 3 << 100;
    QTest::newRow("single port done shows 100") << 1 << 1 << 100;
    QTest::newRow("more done than total stays at 100") << 3 << 4 << 100;
    QTest::newRow("negative count stays at 0") << 3 << -1 << 0;
}

void tst_AutoConnectForm::progress_showsWholePercentTried()
{
    QFETCH(int, total);
    QFETCH(int, done);
    QFETCH(int, percent);

    m_form->upd_status(5, 2);
    m_form->upd_status(total, done);

    QCOMPARE(child<QProgressBar>("progressBar")->value(), percent);
    QVERIFY(m_form->isVisible());
}

void tst_AutoConnectForm::noPortsToTry_closesForm_data()
{
    QTest::addColumn<int>("total");

    QTest::newRow("no ports") << 0;
    QTest::newRow("negative count") << -1;
}

void tst_AutoConnectForm::noPortsToTry_closesForm()
{
    QFETCH(int, total);

    m_form->upd_status(total, 0);

    QVERIFY(!m_form->isVisible());
}

void tst_AutoConnectForm::stop_enablesClose_withoutClosing()
{
    QSignalSpy spy(m_form, &AutoConnectForm::stopConnecting);
    QVERIFY(!child<QPushButton>("pBtnClose")->isEnabled());

    QTest::mouseClick(child<QPushButton>("pBtnStop"), Qt::LeftButton);

    QCOMPARE(spy.count(), 1);
    QVERIFY(child<QPushButton>("pBtnClose")->isEnabled());
    QVERIFY(child<QPushButton>("pBtnStop")->isEnabled());
    QVERIFY(m_form->isVisible());
}

void tst_AutoConnectForm::connectedAfterStop_closesForm()
{
    LinkSignals link;
    connect(&link, &LinkSignals::com_status, m_form, &AutoConnectForm::upd_status,
            Qt::QueuedConnection);
    connect(&link, &LinkSignals::connected, m_form, &QWidget::close, Qt::QueuedConnection);

    emit link.com_status(4, 1);
    QTRY_COMPARE(child<QProgressBar>("progressBar")->value(), 25);
    QTest::mouseClick(child<QPushButton>("pBtnStop"), Qt::LeftButton);
    QVERIFY(m_form->isVisible());

    emit link.connected();
    QTRY_VERIFY(!m_form->isVisible());
}

void tst_AutoConnectForm::close_closesForm()
{
    QTest::mouseClick(child<QPushButton>("pBtnStop"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("pBtnClose"), Qt::LeftButton);

    QVERIFY(!m_form->isVisible());
}

void tst_AutoConnectForm::clickingBox_emitsNewFlag()
{
    QSignalSpy spy(m_form, &AutoConnectForm::autoStartKey);
    m_form->setAnalyseAtStart(1);
    QVERIFY(child<QCheckBox>("checkBox")->isChecked());

    clickBox();
    clickBox();

    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), 0);
    QCOMPARE(spy.at(1).at(0).toInt(), 1);
    QCOMPARE(m_form->analyseAtStart(), 1);
}

void tst_AutoConnectForm::boxToggledInForm_isWhatIsSavedAtExit_data()
{
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("saved");

    QTest::newRow("unchecked at exit after one click") << 1 << 1 << 0;
    QTest::newRow("checked again after two clicks") << 1 << 2 << 1;
    QTest::newRow("checked after one click from off") << 0 << 1 << 1;
}

// The main window's wiring: the form's box drives the dialog's, and the
// dialog's flag is written back at exit.
void tst_AutoConnectForm::boxToggledInForm_isWhatIsSavedAtExit()
{
    QFETCH(int, configured);
    QFETCH(int, clicks);
    QFETCH(int, saved);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ini = QDir(dir.path()).filePath("fconn583.ini");
    ConnectDialog dialog;
    dialog.setAnalyseAtStart(configured);
    m_form->setAnalyseAtStart(configured);
    connect(m_form, &AutoConnectForm::autoStartKey, &dialog,
            [&dialog](int value) { dialog.setAnalyseAtStart(value); });

    for (int i = 0; i < clicks; ++i)
        clickBox();

    QCOMPARE(dialog.findChild<QCheckBox *>("checkBox")->isChecked(), saved != 0);
    {
        QSettings settings(ini, QSettings::IniFormat);
        settings.setIniCodec("Windows-1251");
        settings.setValue("Settings/AnalyseAtStart", dialog.analyseAtStart());
    }
    QSettings settings(ini, QSettings::IniFormat);
    settings.setIniCodec("Windows-1251");
    QCOMPARE(settings.value("Settings/AnalyseAtStart").toInt(), saved);
}

QTEST_MAIN(tst_AutoConnectForm)
#include "tst_autoconnectform.moc"
