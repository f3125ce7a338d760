#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The Prometheus files shipped in docs/prometheus, checked by promtool: the
// configuration and rules parse, and the rule tests fire what they should.
class tst_AlertRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void promtool_data();
    void promtool();

private:
    QString m_promtool;
};

void tst_AlertRules::initTestCase()
{
    m_promtool = QStandardPaths::findExecutable("promtool");
    if (m_promtool.isEmpty())
        QSKIP("promtool is not installed (Debian package prometheus)");
}

void tst_AlertRules::promtool_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("rules parse") << QStringList{"check", "rules", "ksr583-alerts.yml"};
    QTest::newRow("unreachable, synchronisation lost, signal lost, reference changed fire")
        << QStringList{"test", "rules", "ksr583-alerts.test.yml"};
    QTest::newRow("scrape configuration parses") << QStringList{"check", "config", "prometheus.yml"};
}

void tst_AlertRules::promtool()
{
    QFETCH(QStringList, arguments);
    QProcess tool;
    tool.setWorkingDirectory(QStringLiteral(KSR_PROMETHEUS_DOCS));
    tool.start(m_promtool, arguments);
    QVERIFY(tool.waitForFinished(60000));
    const QString said = tool.readAllStandardOutput() + tool.readAllStandardError();
    QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0, qPrintable(said));
}

QTEST_GUILESS_MAIN(tst_AlertRules)
#include "tst_alertrules.moc"
