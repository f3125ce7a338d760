// The soak checker: reads what a soak run left in its folder, prints a table
// of figures and every failed check, and exits non-zero when one failed.
//
//   ksr583-soak-check RUN_FOLDER

#include "CommandCheck.h"
#include "HealthCheck.h"
#include "JournalCheck.h"
#include "ParameterLogCheck.h"
#include "ProgramLogCheck.h"
#include "SoakReport.h"
#include "SoakRun.h"
#include "StatusFileCheck.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: ksr583-soak-check RUN_FOLDER\n";
        return 2;
    }
    const SoakRun run = SoakRun::load(args.at(1));
    SoakReport report;
    HealthCheck::run(run, report);
    ProgramLogCheck::run(run, report);
    CommandCheck::run(run, report);
    JournalCheck::run(run, report);
    StatusFileCheck::run(run, report);
    ParameterLogCheck::run(run, report);
    QTextStream(stdout) << report.text();
    return report.passed() ? 0 : 1;
}
