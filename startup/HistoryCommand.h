#pragma once

#include "history/HistoryData.h"
#include "history/TauSpacing.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>

// The history's work without a display, for reports made by scripts:
//
//   --export-stability SERIES --from T --to T [--taus SPACING] --output FILE
//       the stability table (OADEV, MDEV, TDEV, OHDEV with their intervals)
//       of `offset` or `channel1` .. `channel4` over [from, to), times in
//       ISO 8601 UTC, as the Stability page exports it;
//   --import-parameter-logs
//       the parameter logs in Logs/Parameters into the history, as the
//       Options menu does, ending with its summary line; refused while a
//       program runs in the work folder.
//
// Both work in the folder --workdir names and find the history through its
// fconn583.ini, as the program does. One line on standard error and a
// non-zero exit when they cannot.
class HistoryCommand
{
    Q_DECLARE_TR_FUNCTIONS(HistoryCommand)

public:
    enum class Kind { None, ExportStability, ImportParameterLogs };
    // The exit codes besides 0.
    enum Exit { BadOptions = 1, NoHistory = 2, NoReadings = 3, CannotWrite = 4, ImportFailed = 5, FolderInUse = 6 };

    HistoryCommand();

    void addOptions(QCommandLineParser &parser) const;
    // After the parser has run: what is asked. False, with the reason, when
    // the options do not make a command.
    bool read(const QCommandLineParser &parser, QString *error);
    Kind kind() const { return m_kind; }
    // One of the history's options was given, right or wrong.
    bool mentioned(const QCommandLineParser &parser) const;

    // Enters the work folder and runs the command; the exit code.
    int run(const QString &workdir, bool userWorkdir) const;

    // "offset", "channel1" ..; false when `name` is none of them.
    static bool seriesOf(const QString &name, Series::Id *series);
    // ISO 8601, UTC unless the text names another offset; 0 when not a time.
    static qint64 utcMsOf(const QString &text);

private:
    int exportStability(const QString &pathLocal) const;
    int importParameterLogs(const QString &pathLocal) const;
    static int fail(int code, const QString &line);

    QCommandLineOption m_exportOption;
    QCommandLineOption m_fromOption;
    QCommandLineOption m_toOption;
    QCommandLineOption m_tausOption;
    QCommandLineOption m_outputOption;
    QCommandLineOption m_importOption;

    Kind m_kind = Kind::None;
    Series::Id m_series = Series::Offset1;
    QString m_seriesName;
    TimeRange m_range;
    TauSpacing::Spacing m_spacing = TauSpacing::Octave;
    QString m_output;
};
