#pragma once

#include <QCoreApplication>
#include <QString>

// The folder the program works in: it holds "fconn583.ini", and the
// relative paths of the configuration (a Path_local of ".") start there.
// The program makes it its current folder before anything reads a file.
class WorkFolder
{
    Q_DECLARE_TR_FUNCTIONS(WorkFolder)

public:
    // The user's own folder for the program, in the system's place for
    // application data: ~/.local/share/ksr583-monitor on Linux.
    static QString userFolder();

    // Makes `folder` the current folder, creating it where missing. With
    // `withDefaults`, a folder without "fconn583.ini" is given one that holds
    // the documented defaults. False with the reason in `error`.
    static bool enter(const QString &folder, bool withDefaults, QString *error);
};
