#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// Tells the operator when the program cannot write its own files under
// `Path_local`: at start for each folder it cannot create or write, and later
// once when writing a file fails, again only after it has worked in between,
// and when it works again. A program left alone for months must not lose its
// logs without a word.
class WriteWatch
{
    Q_DECLARE_TR_FUNCTIONS(WriteWatch)

public:
    enum Target { ProgramLog, ParameterLog, StatusFile, TargetCount };

    // A line for the message log; empty when there is nothing to say.
    struct Line {
        QString text;
        QString colour;
    };

    // Makes the folders of the three targets under `pathLocal`. A folder that
    // cannot be made or written gives a red line naming it and the reason;
    // its targets then count as failing, so their first failed write says
    // nothing more. A broken `pathLocal` itself gives one line, not three.
    QVector<Line> makeFolders(const QString &pathLocal);

    // The outcome of one write of `path` for `target`.
    Line written(Target target, const QString &path, bool ok);

    // Empty when a file can be created in `folder` (made if missing);
    // otherwise the system's reason why not.
    static QString folderProblem(const QString &folder);

private:
    enum class State { Unknown, Working, Failing };
    static QString fileProblem(const QString &path);
    static QString shown(const QString &path);

    State m_state[TargetCount] = {};
};
