#include "FormWidget.h"
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

// Stands for the link object, whose signals reach the form queued.
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
    void stop_enablesClose_andConnectedStillCloses();
    void boxToggledInForm_isWhatIsSavedAtExit_data();
    void boxToggledInForm_isWhatIsSavedAtExit();

private:
    template<typename T> T *child(const char *name) { return formWidget<T>(m_form, name); }

    AutoConnectForm *m_form = nullptr;
};

void tst_AutoConnectForm::init()
{
    m_form = new AutoConnectForm;
    m_form->show();
}

void tst_AutoConnectForm::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void tst_AutoConnectForm::progress_showsWholePercentTried_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("open");

    QTest::newRow("search starts at 0") << 3 << 0 << 0 << true;
    QTest::newRow("one of three shows 33") << 3 << 1 << 33 << true;
    QTest::newRow("two of three is truncated to 66") << 3 << 2 << 66 << true;
    QTest::newRow("three of three shows 100") << 3 << 3 << 100 << true;
    QTest::newRow("more done than total stays at 100") << 3 << 4 << 100 << true;
    QTest::newRow("no ports closes the form") << 0 << 0 << 40 << false;
    QTest::newRow("negative count closes the form") << -1 << 0 << 40 << false;
}

void tst_AutoConnectForm::progress_showsWholePercentTried()
{
    QFETCH(int, total);
    QFETCH(int, done);
    QFETCH(int, percent);
    QFETCH(bool, open);

    m_form->upd_status(5, 2);
    m_form->upd_status(total, done);

    QCOMPARE(child<QProgressBar>("progressBar")->value(), percent);
    QCOMPARE(m_form->isVisible(), open);
}

void tst_AutoConnectForm::stop_enablesClose_andConnectedStillCloses()
{
    LinkSignals link;
    connect(&link, &LinkSignals::com_status, m_form, &AutoConnectForm::upd_status,
            Qt::QueuedConnection);
    connect(&link, &LinkSignals::connected, m_form, &QWidget::close, Qt::QueuedConnection);
    QSignalSpy spy(m_form, &AutoConnectForm::stopConnecting);
    QVERIFY(!child<QPushButton>("pBtnClose")->isEnabled());
    emit link.com_status(4, 1);
    QTRY_COMPARE(child<QProgressBar>("progressBar")->value(), 25);

    QTest::mouseClick(child<QPushButton>("pBtnStop"), Qt::LeftButton);

    QCOMPARE(spy.count(), 1);
    QVERIFY(child<QPushButton>("pBtnClose")->isEnabled());
    QVERIFY(child<QPushButton>("pBtnStop")->isEnabled());
    QVERIFY(m_form->isVisible());
    emit link.connected();
    QTRY_VERIFY(!m_form->isVisible());
}

void tst_AutoConnectForm::boxToggledInForm_isWhatIsSavedAtExit_data()
{
    QTest::addColumn<int>("configured");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("saved");

    QTest::newRow("one click clears the flag") << 1 << 1 << 0;
    QTest::newRow("two clicks set it again") << 1 << 2 << 1;
    QTest::newRow("one click sets a cleared flag") << 0 << 1 << 1;
}

// Wired as the main window does: the form's box drives the dialog's, and
// the dialog's flag is written back at exit.
void tst_AutoConnectForm::boxToggledInForm_isWhatIsSavedAtExit()
{
    QFETCH(int, configured);
    QFETCH(int, clicks);
    QFETCH(int, saved);

    ConnectDialog dialog;
    dialog.setAnalyseAtStart(configured);
    m_form->setAnalyseAtStart(configured);
    connect(m_form, &AutoConnectForm::autoStartKey, &dialog, &ConnectDialog::setAnalyseAtStart);
    auto *box = child<QCheckBox>("checkBox");

    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));

    QCOMPARE(formWidget<QCheckBox>(&dialog, "checkBox")->isChecked(), saved != 0);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ini = QDir(dir.path()).filePath("fconn583.ini");
    {
        QSettings settings(ini, QSettings::IniFormat);
        settings.setIniCodec("Windows-1251");
        settings.setValue("Settings/AnalyseAtStart", dialog.analyseAtStart());
    }
    QSettings settings(ini, QSettings::IniFormat);
    QCOMPARE(settings.value("Settings/AnalyseAtStart").toInt(), saved);
}

QTEST_MAIN(tst_AutoConnectForm)
#include "tst_autoconnectform.moc"
