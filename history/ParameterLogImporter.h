#pragma once

#include "ParameterLogParser.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

// Brings the parameter logs of earlier versions ("Logs/Parameters/
// yyyyMMdd.log") into the history, so that it reaches back before this
// version. Rows are added as readings with their status; rows the history
// holds already (recorded by this version, or imported before) are left
// alone, so importing again adds nothing. Runs on the caller's thread, with a
// connection of its own: call it from a worker, never the GUI thread.
class ParameterLogImporter
{
    Q_DECLARE_TR_FUNCTIONS(ParameterLogImporter)

public:
    struct Report {
        int files = 0;               // parameter logs read
        int otherFiles = 0;          // *.log files without a date for a name, or unreadable
        qint64 imported = 0;         // rows added
        qint64 unreadable = 0;       // rows skipped: not in the layout the program writes
        qint64 withoutReading = 0;   // rows written before the program had a status
        qint64 alreadyStored = 0;    // rows of a time the history holds already
        qint64 tooOld = 0;           // rows older than History/KeepDays
        bool failed = false;         // the history could not be opened or written
        QString reason;              // why, in SQLite's words
    };

    // `keepDays` > 0: rows older than that many days before `nowMs` are not
    // imported (they would be pruned at once).
    ParameterLogImporter(const QString &databasePath, int keepDays, qint64 nowMs);

    // Every "yyyyMMdd.log" in `folder`, oldest first. `progress(done, total)`
    // after each file may return false to stop there.
    Report importFolder(const QString &folder, const std::function<bool(int, int)> &progress = {});
    Report importFiles(const QStringList &paths, const std::function<bool(int, int)> &progress = {});

    // One line for the message log, in the interface language.
    static QString summary(const Report &report);

private:
    QString m_path;
    qint64 m_cutoffMs;
};
