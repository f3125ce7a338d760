#include "status/StatusTransitions.h"
#include "tests/status/StatusSamples.h"

#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(std::function<void(StatusSnapshot &)>)

// What an operator is told when one snapshot follows another.
class tst_StatusTransitions : public QObject
{
    Q_OBJECT

private slots:
    void between_data();
    void between();

};

namespace {
using Change = std::function<void(StatusSnapshot &)>;

QString describe(const QVector<StatusTransition> &transitions)
{
    static const char *const names[] = {"lost", "found", "sync lost", "sync restored", "signal lost",
                                        "reference"};
    QStringList out;
    for (const StatusTransition &t : transitions)
        out << QStringLiteral("%1 %2 %3").arg(names[t.kind]).arg(t.channel).arg(t.previousChannel);
    return out.join(", ");
}
}  // namespace

void tst_StatusTransitions::between_data()
{
    QTest::addColumn<Change>("before");
    QTest::addColumn<Change>("after");
    QTest::addColumn<QString>("transitions");
    const Change same = [](StatusSnapshot &) {};
    const Change lost = [](StatusSnapshot &s) {
        s.connected = false;
        s.detect.reset();
        s.cmd.reset();
    };

    QTest::newRow("nothing changed") << same << same << "";
    QTest::newRow("sync lost") << same << Change([](StatusSnapshot &s) { s.cmd->syncStatus = 0; }) << "sync lost 0 0";
    QTest::newRow("sync restored") << Change([](StatusSnapshot &s) { s.cmd->syncStatus = 2; }) << same
                                   << "sync restored 0 0";
    QTest::newRow("instrument lost is not also a sync loss") << same << lost << "lost 0 0";
    QTest::newRow("found again, its state not yet read")
        << lost << Change([](StatusSnapshot &s) {
               s.detect.reset();
               s.cmd.reset();
           })
        << "found 0 0";
    QTest::newRow("first connection after start is no news")
        << Change([lost](StatusSnapshot &s) {
               lost(s);
               s.everConnected = false;
           })
        << same << "";
    QTest::newRow("channel 3 lost its signal")
        << same << Change([](StatusSnapshot &s) { s.detect->chan[2] = 0; }) << "signal lost 3 0";
    QTest::newRow("error byte alone is no loss")
        << same << Change([](StatusSnapshot &s) { s.detect->chan[2] = 0x0101; }) << "";
    QTest::newRow("reference moves from 1 to 2") << same << Change([](StatusSnapshot &s) {
        s.cmd->chanWord[0] = 0x0011;
        s.cmd->chanWord[1] = 0x0001;
    }) << "reference 2 1";
    QTest::newRow("averaging mode has no reference") << same << Change([](StatusSnapshot &s) {
        s.cmd->flags = 0;
        s.cmd->chanWord[1] = 0x0001;
        s.cmd->chanWord[0] = 0;
    }) << "";
}

void tst_StatusTransitions::between()
{
    QFETCH(Change, before);
    QFETCH(Change, after);
    QFETCH(QString, transitions);
    StatusSnapshot a = StatusSamples::switchingSynchronised();
    StatusSnapshot b = StatusSamples::switchingSynchronised();
    before(a);
    after(b);
    QCOMPARE(describe(StatusTransitions::between(a, b)), transitions);
}

QTEST_APPLESS_MAIN(tst_StatusTransitions)
#include "tst_statustransitions.moc"
