// Port discovery: an automatic search over N silent pseudo-terminals that
// this benchmark opens itself, through the real link and Qt serial ports,
// from the start of the link thread to the port list (updPorts). Each port costs
// at least the 100 ms the identification waits for an answer.

#include "BenchReport.h"
#include "BenchTime.h"
#include "LinkRunner.h"
#include "tests/support/SilentTerminal.h"

#include "link/COMThread.h"
#include "link/CommandTable.h"
#include "link/LinkClock.h"
#include "link/QtSerialPort.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

const QString Figure = QStringLiteral("port discovery");

// Real ports, but the list is the benchmark's terminals, not the system's.
class ListedPorts : public QtPortFactory
{
public:
    explicit ListedPorts(QStringList names) : m_names(std::move(names)) {}
    QStringList availablePorts() override { return m_names; }

private:
    QStringList m_names;
};

// One search: milliseconds from the loop's start to the port list.
double searchOnce(const QStringList &ports)
{
    LinkRunner runner(new COMThread(std::make_shared<ListedPorts>(ports), std::make_shared<LinkClock>()));
    COMThread &l = runner.link();
    l.setPortName(ports.first());
    l.setSearchAllPorts(true);
    std::atomic<qint64> listedNs{0};
    QObject::connect(&l, &COMThread::updPorts, [&listedNs](const QStringList &, int) {
        qint64 none = 0;
        listedNs.compare_exchange_strong(none, BenchTime::nowNs());
    });
    const qint64 startedNs = BenchTime::nowNs();
    runner.start();
    const bool listed = BenchTime::waitUntil([&listedNs] { return listedNs != 0; }, 60000);
    runner.stop();
    return listed ? BenchTime::toMs(listedNs - startedNs) : -1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    const int count = report.quick() ? 4 : 8;

    std::vector<std::unique_ptr<SilentTerminal>> terminals;
    QStringList ports;
    for (int i = 0; i < count; ++i) {
        terminals.push_back(std::make_unique<SilentTerminal>());
        if (terminals.back()->path().isEmpty()) {
            BenchReport::failed(Figure, QStringLiteral("no pseudo-terminal to be had"));
            return 1;
        }
        ports.append(terminals.back()->path());
    }

    std::vector<double> totals;
    for (int run = 0; run < report.runs(); ++run) {
        const double ms = searchOnce(ports);
        if (ms < 0) {
            BenchReport::failed(Figure, QStringLiteral("the search never listed its ports"));
            return 1;
        }
        totals.push_back(ms);
        BenchReport::note(QStringLiteral("run %1: %2 ms").arg(run + 1).arg(ms));
    }
    const double best = *std::min_element(totals.begin(), totals.end());
    const double floor = double(count * CommandTable::IdentifyWaitMs);
    BenchReport::info(QStringLiteral("%1 over %2 silent ports").arg(Figure).arg(count),
                      BenchReport::format(best) + " ms",
                      QStringLiteral("floor %1 ms").arg(floor));
    BenchReport::below(QStringLiteral("%1, per port").arg(Figure), best / count, "ms",
                       1.2 * CommandTable::IdentifyWaitMs);
    return 0;
}
