#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The command line of ksr583-sim.
struct SimOptions {
    QString link;
    QString identity = QStringLiteral("KSR-583 #0042");
    QString serial = QStringLiteral("0042");
    int journal = 64;
    int journalStart = 21;
    quint64 seed = 1;
    QStringList faults;
    bool wireTime = false;
    QString trace;
    bool lively = false;
    QString control;
    int clockOffset = 0;  // seconds, instrument clock minus this machine's
    bool help = false;

    // `args` without the program name. False with the reason on a mistake.
    bool parse(const QStringList &args, QString *error);
    static QString usage();
};
