#include "platform/FileReplacement.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The status file's last step: a finished copy takes the old file's place.
class tst_FileReplacement : public QObject
{
    Q_OBJECT

private slots:
    void replacement_takesThePlaceWhole_data();
    void replacement_takesThePlaceWhole();
};

namespace {

bool put(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

void tst_FileReplacement::replacement_takesThePlaceWhole_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("readerHoldsIt");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("replaced");

    QTest::newRow("over the old file") << true << false << true << true;
    QTest::newRow("over a file a reader holds open") << true << true << true << true;
    QTest::newRow("where there is no file yet") << false << false << true << true;
    QTest::newRow("into a folder that is gone: nothing moves") << false << false << false << false;
}

void tst_FileReplacement::replacement_takesThePlaceWhole()
{
    QFETCH(bool, targetExists);
    QFETCH(bool, readerHoldsIt);
    QFETCH(bool, folderExists);
    QFETCH(bool, replaced);
#ifdef Q_OS_WIN
    if (readerHoldsIt)
        QSKIP("on Windows the reader's share mode decides, and QFile's allows no deleting");
#endif
    QTemporaryDir dir;
    const QString target = dir.filePath(folderExists ? "SupervisInfo.ini" : "gone/SupervisInfo.ini");
    const QString draft = dir.filePath("SupervisInfo.ini.new");
    const QByteArray old = "[Device_status]\nLastUpdate=2026.01.07 18:45:03\n";
    const QByteArray fresh = "[Device_status]\nLastUpdate=2026.01.07 18:46:03\n";
    QVERIFY(!targetExists || put(target, old));
    QVERIFY(put(draft, fresh));
    QFile reader(target);
    QVERIFY(!readerHoldsIt || reader.open(QIODevice::ReadOnly));

    QCOMPARE(FileReplacement::forThisSystem()->replace(draft, target), replaced);

    QCOMPARE(contents(target), replaced ? fresh : QByteArray("<missing>"));
    QCOMPARE(QFile::exists(draft), !replaced);
    // A reader that kept the old file open reads it whole, and the next
    // opening finds the new one.
    if (readerHoldsIt)
        QCOMPARE(reader.readAll(), old);
}

QTEST_GUILESS_MAIN(tst_FileReplacement)
#include "tst_filereplacement.moc"
