#include "ParameterLogCheck.h"

#include "MinuteSchedule.h"
#include "SoakReport.h"
#include "SoakRun.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

// The start row comes while the window is being built, a moment before the
// driver notes the start.
constexpr qint64 StartRowWithinMs = 5000;

}  // namespace

namespace ParameterLogCheck {

void run(const SoakRun &run, SoakReport &report)
{
    static const QRegularExpression time(QStringLiteral("^(\\d\\d:\\d\\d:\\d\\d) "));
    QVector<qint64> rows;
    for (const RunFile &file : run.parameterLogs) {
        const QDate day = QDate::fromString(file.name.left(8), QStringLiteral("yyyyMMdd"));
        if (!file.bytes.endsWith('\n'))
            report.fail(QStringLiteral("parameter log %1: its last row is cut off").arg(file.name));
        const QList<QByteArray> lines = file.bytes.split('\n');
        if (!lines.first().startsWith("Time "))
            report.fail(QStringLiteral("parameter log %1 has no header").arg(file.name));
        for (int i = 1; i + 1 < lines.size(); ++i) {
            const QString line = QString::fromUtf8(lines.at(i));
            const QRegularExpressionMatch m = time.match(line);
            if (!m.hasMatch() || lines.at(i).size() < ShortestRow) {
                report.fail(QStringLiteral("parameter log %1, line %2 is not a whole row: \"%3\"")
                                .arg(file.name)
                                .arg(i + 1)
                                .arg(line));
                continue;
            }
            const QTime at = QTime::fromString(m.captured(1), QStringLiteral("hh:mm:ss"));
            rows.append(QDateTime(day, at, Qt::UTC).toMSecsSinceEpoch());
        }
    }
    if (rows.isEmpty() || qAbs(rows.first() - run.startMs()) > StartRowWithinMs) {
        report.fail(QStringLiteral("parameter log: no row at start"));
        return;
    }
    MinuteSchedule::check(QStringLiteral("parameter log"), rows.mid(1), run.startMs(), run.closingMs(), {},
                          report);
}

}  // namespace ParameterLogCheck
