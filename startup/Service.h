#pragma once

#include <QCoreApplication>
#include <QString>

// ksr583-monitor --service: the program's work with no window and no display,
// for a computer where nobody stays logged in. It runs until the system asks
// it to stop (SIGTERM, Ctrl+C, a closing console) and then ends in order:
// "Program is closed." in the program log, the port released, the history
// written out, the configuration written back.
class Service
{
    Q_DECLARE_TR_FUNCTIONS(Service)

public:
    enum ExitCode { Stopped = 0, FolderInUse = 1, FolderNotWritable = 2 };

    // Works in `workdir` (empty: the current folder), which gets a default
    // "fconn583.ini" when it has none. Needs a QCoreApplication; returns the
    // exit code. Whatever stops it at start is said in one line on standard
    // error.
    static int run(const QString &workdir);
};
