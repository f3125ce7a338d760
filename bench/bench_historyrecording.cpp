// Whether recording the history disturbs the link: the poll spacing and the
// command latency without and then with every answered poll recorded, as the
// program does it (the link on its thread, the recorder and the store's
// hand-over on this one, the store's writer on its own), against the
// simulated instrument on a pseudo-terminal of this process.

#include "BenchReport.h"
#include "BenchTime.h"
#include "SimulatedLink.h"

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

constexpr int CommandEveryMs = 200;
constexpr int WarmUpMs = 3000;

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    const int phaseSeconds = report.quick() ? 10 : 60;

    SimulatedLink sim;
    QString error;
    if (!sim.open(&error)) {
        BenchReport::failed(QStringLiteral("history recording"), error);
        return 1;
    }
    sim.start();
    BenchTime::pause(WarmUpMs);
    const SimulatedLink::Load quiet = sim.measure(phaseSeconds, CommandEveryMs);

    QTemporaryDir dir;
    HistoryStore store(dir.filePath(QStringLiteral("history.sqlite")));
    HistoryRecorder recorder(&store, nullptr);
    recorder.watch(&sim.link());
    const SimulatedLink::Load recording = sim.measure(phaseSeconds, CommandEveryMs);
    store.waitUntilWritten();

    const HistoryStore::Counters counters = store.counters();
    if (quiet.commandMs.empty() || recording.commandMs.empty() || counters.written == 0) {
        BenchReport::failed(QStringLiteral("history recording"), QStringLiteral("no command or no poll recorded"));
        return 1;
    }
    BenchReport::note(QStringLiteral("%1 s without and %1 s with the history recording (%2 entries written, %3 "
                                     "dropped), a command every %4 ms, a poll a second")
                          .arg(phaseSeconds)
                          .arg(counters.written)
                          .arg(counters.dropped)
                          .arg(CommandEveryMs));
    SimulatedLink::compare(QStringLiteral("recording history"), recording, QStringLiteral("without"), quiet);
    return 0;
}
