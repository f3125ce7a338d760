// ksr583-history-fill: a history database of weeks of a simulated
// instrument, for the demo and the benchmarks.

#include "HistoryFill.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fills a new history database with days of a simulated KSR-583, stamped as the program's link stamps: "
        "drifting channels that drop out (reading 0) and come back, a reference switch, steering, lost "
        "connections with the search's attempts, journal records, a change of the poll interval and a step of "
        "the computer's clock."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("interval"), QStringLiteral("Seconds between polls (MonitorInterval)."),
                      QStringLiteral("seconds"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("later-interval"),
                      QStringLiteral("Seconds between polls from two thirds of the days on (0: no change)."),
                      QStringLiteral("seconds"), QStringLiteral("4")});
    parser.addOption({QStringLiteral("clock-step"),
                      QStringLiteral("Milliseconds the computer's clock jumps at two fifths of the days (0: none)."),
                      QStringLiteral("ms"), QStringLiteral("2700")});
    parser.addOption({QStringLiteral("days"), QStringLiteral("Days of history."), QStringLiteral("days"),
                      QStringLiteral("30")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the simulation."), QStringLiteral("n"),
                      QStringLiteral("1")});
    parser.addOption({QStringLiteral("end"), QStringLiteral("UTC time of the last poll (default: now)."),
                      QStringLiteral("yyyy-MM-ddThh:mm:ss")});
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("The database to create."));
    parser.process(app);

    const QStringList paths = parser.positionalArguments();
    HistoryFill::Options options;
    bool okInterval = false, okLater = false, okStep = false, okDays = false, okSeed = false;
    options.intervalSeconds = parser.value(QStringLiteral("interval")).toInt(&okInterval);
    options.laterIntervalSeconds = parser.value(QStringLiteral("later-interval")).toInt(&okLater);
    options.clockStepMs = parser.value(QStringLiteral("clock-step")).toLongLong(&okStep);
    options.days = parser.value(QStringLiteral("days")).toInt(&okDays);
    options.seed = parser.value(QStringLiteral("seed")).toULongLong(&okSeed);
    if (parser.isSet(QStringLiteral("end"))) {
        options.endUtc = QDateTime::fromString(parser.value(QStringLiteral("end")), Qt::ISODate);
        options.endUtc.setTimeSpec(Qt::UTC);
    }
    if (paths.size() != 1 || !okInterval || options.intervalSeconds < 1 || !okLater || options.laterIntervalSeconds < 0
        || !okStep || qAbs(options.clockStepMs) > 86400000 || !okDays || options.days < 1 || options.days > 3660
        || !okSeed || (parser.isSet(QStringLiteral("end")) && !options.endUtc.isValid())) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    options.path = paths.first();
    if (QFileInfo::exists(options.path)) {
        std::fprintf(stderr, "%s exists already; the filler only makes new databases.\n", qPrintable(options.path));
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    const HistoryFill::Result result = HistoryFill::run(options, [](int percent) {
        std::fprintf(stderr, "\r%3d %%", percent);
    });
    std::fprintf(stderr, "\n");
    std::printf("%s: %d days at %d s, %lld polls (%lld unanswered), %lld events, %.1f MB, %.1f s%s\n",
                qPrintable(options.path), options.days, options.intervalSeconds, result.polls, result.unanswered,
                result.events, double(QFileInfo(options.path).size()) / 1e6, double(timer.elapsed()) / 1000.0,
                result.dropped ? qPrintable(QStringLiteral(", %1 entries dropped").arg(result.dropped)) : "");
    return result.dropped == 0 ? 0 : 1;
}
