#include "SimOptions.h"

#include "SimIdentity.h"
#include "FaultPlan.h"
#include "SimControl.h"
#include "SimText.h"

using SimText::fail;
using SimText::toInteger;

bool SimOptions::parse(const QStringList &args, QString *error)
{
    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i);
        QString value;
        bool hasValue = false;
        const int eq = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        // Flags first; every other option takes a value.
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            help = true;
            continue;
        }
        if (name == QLatin1String("--wire-time") || name == QLatin1String("--lively")) {
            if (hasValue)
                return fail(error, QStringLiteral("%1 takes no value").arg(name));
            (name == QLatin1String("--wire-time") ? wireTime : lively) = true;
            continue;
        }
        static const QStringList valued = {
            QStringLiteral("--link"),    QStringLiteral("--identity"),      QStringLiteral("--serial"),
            QStringLiteral("--journal"), QStringLiteral("--journal-start"), QStringLiteral("--seed"),
            QStringLiteral("--fault"),   QStringLiteral("--trace"),         QStringLiteral("--control"),
            QStringLiteral("--clock-offset"),
        };
        if (!valued.contains(name))
            return fail(error, name.startsWith(QLatin1Char('-'))
                                   ? QStringLiteral("unknown option %1").arg(name)
                                   : QStringLiteral("unexpected argument %1").arg(name));
        if (!hasValue) {
            if (i + 1 >= args.size())
                return fail(error, QStringLiteral("%1 needs a value").arg(name));
            value = args.at(++i);
        }
        QString problem;
        if (name == QLatin1String("--link")) {
            link = value;
        } else if (name == QLatin1String("--identity")) {
            problem = SimIdentity::checkIdentification(value);
            identity = value;
        } else if (name == QLatin1String("--serial")) {
            problem = SimIdentity::checkSerial(value);
            serial = value;
        } else if (name == QLatin1String("--journal")) {
            if (!toInteger(value, 0, 65535, &journal))
                problem = QStringLiteral("--journal takes 0..65535 records");
        } else if (name == QLatin1String("--journal-start")) {
            if (!toInteger(value, 0, 65534, &journalStart))
                problem = QStringLiteral("--journal-start takes a slot of 0..65534");
        } else if (name == QLatin1String("--seed")) {
            bool ok = false;
            seed = value.toULongLong(&ok, 0);
            if (!ok)
                problem = QStringLiteral("--seed takes an unsigned number");
        } else if (name == QLatin1String("--fault")) {
            FaultPlan check;
            check.add(value, &problem);
            faults.append(value);
        } else if (name == QLatin1String("--trace")) {
            trace = value;
        } else if (name == QLatin1String("--control")) {
            control = value;
        } else if (name == QLatin1String("--clock-offset")) {
            if (!toInteger(value, -315360000, 315360000, &clockOffset))
                problem = QStringLiteral("--clock-offset takes seconds within ten years");
        }
        if (!problem.isEmpty())
            return fail(error, problem);
    }
    return true;
}

QString SimOptions::usage()
{
    return QStringLiteral(
               "Usage: ksr583-sim [options]\n"
               "Serves a simulated KSR-583 synthesizer on a pseudo-terminal and prints the\n"
               "terminal's path as the first line. Stops on SIGINT or SIGTERM.\n"
               "\n"
               "Options:\n"
               "  --link PATH           symbolic link to the terminal (a stale link is replaced)\n"
               "  --identity TEXT       identification text, at most 16 bytes (KSR-583 #0042)\n"
               "  --serial TEXT         serial number in the device information (0042)\n"
               "  --journal N           journal records, 0..65535 (64)\n"
               "  --journal-start S     slot of record number 1 in the journal ring (21)\n"
               "  --seed N              seed of the noise and events (1)\n"
               "  --fault RULE          a fault to show; repeatable, or comma-separated\n"
               "  --wire-time           answer no sooner than a 115200-baud line would\n"
               "  --trace FILE          write every request received: time, code, payload hex\n"
               "  --lively              channels come and go, more noise, live journal\n"
               "  --control PATH        FIFO to create and read commands from (below)\n"
               "  --clock-offset SEC    instrument clock minus this machine's clock (0)\n"
               "  -h, --help            this text\n"
               "\n"
               "Fault RULE, CODE a request code (P10, PC0, m10, o13, S?0 with ? any digit)\n"
               "or all (the default):\n"
               "  silent[:CODE]         no answer\n"
               "  checksum[:CODE]       wrong checksum\n"
               "  nostart[:CODE]        first byte not 0x01\n"
               "  echo[:CODE]           wrong echo of the code letter\n"
               "  garbage[:CODE]        random bytes instead of the answer\n"
               "  truncate[:CODE[:N]]   only the first N bytes (default half)\n"
               "  late[:CODE[:MS]]      answer MS ms late (1500)\n"
               "  confirm-other[:CODE]  apply and confirm another value (m10 m20 m30 T10)\n"
               "  silent-after:[CODE:]N silent once N answers have gone out\n"
               "  any of them with *K   only the next K matching requests\n"
               "\n"
               "Control commands, one per line:\n")
           + SimControl::help();
}
