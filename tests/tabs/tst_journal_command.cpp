#include "TabTest.h"

#include "control/JOURNAL_command.h"
#include "dialogs/FolderChooser.h"
#include "dialogs/MessageBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace TabTest;

class tst_JOURNAL_command : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFolderCancelled_sendsNothing();
    void missingFolderAccepted_isCreatedAndDownloadStarts();
    void emptyFolderText_sendsNothing();
    void outcome_data();
    void outcome();
    void progress_followsRecords();
    void browse_data();
    void browse();
    void dailyDownload_onlyIntoExistingFolder();
    void clear_sendsCode13AndHidesResult();

private:
    QLabel *resultLabel() const { return child<QLabel>(m_tab, "jour_label"); }
    QProgressBar *bar() const { return child<QProgressBar>(m_tab, "jour_progressBar"); }

    QTemporaryDir *m_dir = nullptr;
    QString m_savedCwd;
    QString m_folder;
    JOURNAL_command *m_tab = nullptr;
    QSignalSpy *m_spy = nullptr;
};

void tst_JOURNAL_command::init()
{
    m_dir = new QTemporaryDir;
    m_savedCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_folder = m_dir->filePath("Logs");
    QDir().mkpath(m_folder);
    m_tab = new JOURNAL_command(&m_folder, nullptr);
    m_tab->show();
    m_spy = new QSignalSpy(m_tab, &JOURNAL_command::sendCommand);
    MessageBox::clearShownTexts();
}

void tst_JOURNAL_command::cleanup()
{
    delete m_spy;
    delete m_tab;
    QDir::setCurrent(m_savedCwd);
    delete m_dir;
}

void tst_JOURNAL_command::missingFolderCancelled_sendsNothing()
{
    type(m_tab, "jour_location_lineEdit", "missing/journal");
    MessageBox::setNextAnswer(QMessageBox::Cancel);
    click(m_tab, "jour_upload_pBtn");
    const QString path = m_dir->filePath("missing/journal");
    QCOMPARE(MessageBox::shownTexts(),
             QStringList("The folder " + path + " does not exist. \nWould you like to create it?"));
    QVERIFY(m_spy->isEmpty());
    QVERIFY(!QDir(path).exists());
    QCOMPARE(m_folder, m_dir->filePath("Logs"));
    QVERIFY(!m_tab->isDownloading());
    QVERIFY(bar()->isHidden());
}

void tst_JOURNAL_command::missingFolderAccepted_isCreatedAndDownloadStarts()
{
    type(m_tab, "jour_location_lineEdit", "new/journal");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(m_tab, "jour_upload_pBtn");
    const QString path = m_dir->filePath("new/journal");
    QVERIFY(QDir(path).exists());
    QCOMPARE(m_folder, path);
    QCOMPARE(codes(*m_spy), QList<int>{12});
    QVERIFY(m_tab->isDownloading());
    QVERIFY(!child<QPushButton>(m_tab, "jour_upload_pBtn")->isEnabled());
    QVERIFY(!child<QPushButton>(m_tab, "jour_browse_pBtn")->isEnabled());
    QVERIFY(!bar()->isHidden());
    QCOMPARE(bar()->value(), 0);
}

void tst_JOURNAL_command::emptyFolderText_sendsNothing()
{
    type(m_tab, "jour_location_lineEdit", "");
    click(m_tab, "jour_upload_pBtn");
    QVERIFY(m_spy->isEmpty());
    QVERIFY(MessageBox::shownTexts().isEmpty());
}

void tst_JOURNAL_command::outcome_data()
{
    QTest::addColumn<int>("journalSize");
    QTest::addColumn<QList<int>>("ready");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("style");
    QTest::newRow("0 records") << 0 << QList<int>{} << "No records in the history"
                               << "QLabel{color:black;}";
    QTest::newRow("download complete") << 3 << QList<int>{1, 2, 3} << "Successfully loaded!"
                                       << "QLabel{color:green;}";
    QTest::newRow("no answer from the device") << 0 << QList<int>{0} << "Loading failed!"
                                               << "QLabel{color:red;}";
}

void tst_JOURNAL_command::outcome()
{
    QFETCH(int, journalSize);
    QFETCH(QList<int>, ready);
    QFETCH(QString, text);
    QFETCH(QString, style);
    click(m_tab, "jour_upload_pBtn");
    QVERIFY(m_tab->isDownloading());

    m_tab->setNumberOfJournalRec(journalSize);
    for (int n : ready)
        m_tab->setNumberOfReadyRec(n);
    QCOMPARE(resultLabel()->text(), text);
    QCOMPARE(resultLabel()->styleSheet(), style);
    QVERIFY(!resultLabel()->isHidden());
    QVERIFY(bar()->isHidden());
    QVERIFY(!m_tab->isDownloading());

    m_tab->openPage();
    QVERIFY(resultLabel()->isHidden());
}

void tst_JOURNAL_command::progress_followsRecords()
{
    click(m_tab, "jour_upload_pBtn");
    m_tab->setNumberOfJournalRec(5);
    m_tab->setNumberOfReadyRec(2);
    QCOMPARE(bar()->maximum(), 5);
    QCOMPARE(bar()->value(), 2);
    QVERIFY(!bar()->isHidden());
    QVERIFY(m_tab->isDownloading());

    m_tab->setNumberOfJournalRec(-1);
    QCOMPARE(bar()->maximum(), 5);
    QVERIFY(m_tab->isDownloading());
}

void tst_JOURNAL_command::browse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("chosen folder is taken") << "/data/journal" << "/data/journal";
    QTest::newRow("cancel keeps the text") << "" << "kept";
}

void tst_JOURNAL_command::browse()
{
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    type(m_tab, "jour_location_lineEdit", "kept");
    FolderChooser::setNextAnswer(answer);
    click(m_tab, "jour_browse_pBtn");
    QCOMPARE(child<QLineEdit>(m_tab, "jour_location_lineEdit")->text(), shown);
    QVERIFY(m_spy->isEmpty());
}

void tst_JOURNAL_command::dailyDownload_onlyIntoExistingFolder()
{
    m_tab->loadHistory();
    QCOMPARE(codes(*m_spy), QList<int>{12});
    QVERIFY(!m_tab->isDownloading());

    m_folder = m_dir->filePath("gone");
    m_tab->loadHistory();
    QCOMPARE(m_spy->count(), 1);
}

void tst_JOURNAL_command::clear_sendsCode13AndHidesResult()
{
    m_tab->setNumberOfJournalRec(0);
    QVERIFY(!resultLabel()->isHidden());
    click(m_tab, "jour_clear_pBtn");
    QCOMPARE(codes(*m_spy), QList<int>{13});
    QVERIFY(resultLabel()->isHidden());
}

QTEST_MAIN(tst_JOURNAL_command)
#include "tst_journal_command.moc"
