#include "core/AccountsFile.h"

#include <QtTest>

Q_DECLARE_METATYPE(Account)

namespace QTest {
template <>
char *toString(const Account &a)
{
    return qstrdup(QByteArray::number(a.level) + ' ' + a.login + ' ' + a.digest);
}
}  // namespace QTest

class tst_AccountsFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void missingFile_givesNoAccounts();
    void read_takesLinesFromFile();
    void notASmallRegularFile_isRefused_data();
    void notASmallRegularFile_isRefused();
};

void tst_AccountsFile::parse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<Account>>("expected");
    const QByteArray d = "0123456789abcdef0123456789abcdef";
    QTest::newRow("level, login and digest") << "2 alice " + d << QList<Account>{{2, "alice", d}};
    QTest::newRow("login and digest take level 3") << "bob " + d << QList<Account>{{3, "bob", d}};
    QTest::newRow("level that is no number counts as 0")
        << "x carol " + d << QList<Account>{{0, "carol", d}};
    QTest::newRow("one or four fields are skipped")
        << "lonely\n1 2 3 4\nbob " + d << QList<Account>{{3, "bob", d}};
    QTest::newRow("two blanks make an empty field")
        << "1 alice  " + d << QList<Account>{};
    QTest::newRow("repeated login keeps the first")
        << "1 alice " + d + "\n2 alice other" << QList<Account>{{1, "alice", d}};
    QTest::newRow("CR LF line ends") << "1 alice " + d + "\r\nbob " + d + "\r\n"
                                     << QList<Account>{{1, "alice", d}, {3, "bob", d}};
    QTest::newRow("Latin-1 bytes kept as UTF-8")
        << "1 \xe9t\xe9 " + d << QList<Account>{{1, QByteArray("\xc3\xa9t\xc3\xa9"), d}};
    QTest::newRow("empty file") << QByteArray() << QList<Account>{};
}

void tst_AccountsFile::parse()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<Account>, expected);
    QCOMPARE(AccountsFile::parse(content), expected);
}

void tst_AccountsFile::missingFile_givesNoAccounts()
{
    QTemporaryDir dir;
    QVERIFY(AccountsFile::read(dir.filePath("passwords.ini")).isEmpty());
}

void tst_AccountsFile::read_takesLinesFromFile()
{
    QTemporaryDir dir;
    QFile f(dir.filePath("passwords.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1 alice aa\nbob bb\n");
    f.close();
    const QList<Account> expected{{1, "alice", "aa"}, {3, "bob", "bb"}};
    QCOMPARE(AccountsFile::read(f.fileName()), expected);
}

void tst_AccountsFile::notASmallRegularFile_isRefused_data()
{
    QTest::addColumn<QString>("path");  // "<big>": a file of accounts just over the limit
    QTest::addColumn<QString>("reason");
    QTest::newRow("a device that never ends") << "/dev/zero" << "not a regular file";
    QTest::newRow("a folder") << "." << "not a regular file";
    QTest::newRow("over 1 MB") << "<big>" << "larger than 1 MB";
    QTest::newRow("missing: no accounts, nothing to say") << "missing.ini" << "";
}

void tst_AccountsFile::notASmallRegularFile_isRefused()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    if (path == "/dev/zero" && !QFile::exists(path))
        QSKIP("no /dev/zero here");
    QTemporaryDir dir;
    if (path == "<big>") {
        path = dir.filePath("passwords.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray line = "bob 0123456789abcdef0123456789abcdef\n";
        for (qint64 written = 0; written <= AccountsFile::MaxBytes; written += line.size())
            f.write(line);
    } else if (!path.startsWith('/')) {
        path = dir.filePath(path);
    }
    QString refusal;
    QVERIFY(AccountsFile::read(path, &refusal).isEmpty());
    QCOMPARE(refusal.isEmpty(), reason.isEmpty());
    QVERIFY2(refusal.contains(reason), qPrintable(refusal));
}

QTEST_APPLESS_MAIN(tst_AccountsFile)
#include "tst_accountsfile.moc"
