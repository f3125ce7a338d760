// Journal download of 810 records from ksr583-sim with 115200-baud timing,
// over a pseudo-terminal through the real link, against the wire time of the
// bytes it moves.

#include "BenchReport.h"
#include "BenchTime.h"
#include "LinkRunner.h"
#include "SimProcess.h"

#include "link/COMThread.h"
#include "link/CommandTable.h"
#include "link/Frame.h"
#include "simulator/ProtocolEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

constexpr int Records = 810;
const QString Figure = QStringLiteral("journal download, 810 records");
const QString RatioFigure = QStringLiteral("journal download / wire time");

int exchangeBytes(Request r, const QByteArray &answerPayload)
{
    const CommandFormat &format = CommandTable::format(r);
    return Frame::request(r).size() + Frame::answer(format, CommandTable::code(r), answerPayload).size();
}

// Requests and answers of the whole download at 10 bits a byte.
double wireSeconds()
{
    const int bytes = exchangeBytes(Request::JournalSize, QByteArray(2, '\0'))
                      + Records * exchangeBytes(Request::JournalNext, QByteArray(44, '\0'));
    return double(ProtocolEngine::wireMicros(bytes)) / 1e6;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport report(app.arguments());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ksr583-bench-journal-%1").arg(app.applicationPid()));

    SimProcess sim;
    if (!sim.start(link, {"--wire-time", "--journal", QString::number(Records)})) {
        BenchReport::failed(Figure, sim.error());
        return 1;
    }
    LinkRunner runner;
    COMThread &l = runner.link();
    l.setPortName(link);
    l.setMonitorInterval(3600);  // the first poll only: nothing shares the line
    std::atomic<int> polls{0};
    std::atomic<qint64> lastRecordNs{0};
    QObject::connect(&l, &COMThread::detectRcvd, [&polls] { ++polls; });
    QObject::connect(&l, &COMThread::setNumberOfReadyRec, [&lastRecordNs](int number) {
        if (number == Records)
            lastRecordNs = BenchTime::nowNs();
    });
    runner.start();
    if (!BenchTime::waitUntil([&polls] { return polls > 0; }, 20000)) {
        BenchReport::failed(Figure, QStringLiteral("the link did not connect"));
        return 1;
    }

    std::vector<double> seconds;
    for (int run = 0; run < report.runs(); ++run) {
        const QString folder = dir.filePath(QStringLiteral("journal%1").arg(run));
        QDir().mkpath(folder);
        l.params().journalFolder = folder;
        lastRecordNs = 0;
        const qint64 queuedNs = BenchTime::nowNs();
        l.queueCommand(COMMAND_GET_JOURNAL);
        if (!BenchTime::waitUntil([&lastRecordNs] { return lastRecordNs != 0; }, 120000)) {
            BenchReport::failed(Figure, QStringLiteral("record %1 never arrived").arg(Records));
            return 1;
        }
        seconds.push_back(double(lastRecordNs - queuedNs) / 1e9);
        BenchReport::note(QStringLiteral("run %1: %2 s").arg(run + 1).arg(seconds.back()));
    }
    runner.stop();

    const double best = *std::min_element(seconds.begin(), seconds.end());
    const double wire = wireSeconds();
    BenchReport::info(Figure, BenchReport::format(best) + " s",
                      QStringLiteral("wire time %1 s").arg(BenchReport::format(wire)));
    BenchReport::below(RatioFigure, best / wire, QString(), 1.25, true);
    return 0;
}
