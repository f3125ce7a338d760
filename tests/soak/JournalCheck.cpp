#include "JournalCheck.h"

#include "SoakReport.h"
#include "SoakRun.h"

#include "link/JournalFile.h"

#include <QRegularExpression>
#include <QTextCodec>

namespace JournalCheck {

Outcomes outcomes(const QVector<SoakEvent> &driverEvents)
{
    static const QRegularExpression notReceived(
        QStringLiteral("^Journal records not received: (\\d+) of (\\d+)"));
    Outcomes o;
    int announced = 0;
    for (const SoakEvent &e : driverEvents) {
        const QString text = e.field(0);
        if (e.kind == QLatin1String("journalsize")) {
            announced = text.toInt();
        } else if (e.kind == QLatin1String("window") && text == QLatin1String("History has been downloaded")) {
            o.written.append({announced, 0});
        } else if (e.kind == QLatin1String("window") && text == QLatin1String("Loading failed!")) {
            ++o.failed;
        } else if (e.kind == QLatin1String("window") && text == QLatin1String("No records in the history")) {
            ++o.empty;
        } else if (e.kind == QLatin1String("debug") && !o.written.isEmpty()) {
            const QRegularExpressionMatch m = notReceived.match(text);
            if (m.hasMatch())
                o.written.last().missing = m.captured(1).toInt();
        }
    }
    return o;
}

QString checkFile(const QByteArray &bytes, int expectedRecords)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0)
        return QStringLiteral("not UTF-8");
    if (!text.endsWith(QLatin1Char('\n')))
        return QStringLiteral("its last line is cut off");
    const QStringList lines = text.left(text.size() - 1).split(QLatin1Char('\n'));
    if (lines.first() + QLatin1Char('\n') != JournalFile::header())
        return QStringLiteral("its header is \"%1\"").arg(lines.first());
    const int records = lines.size() - 1;
    if (records != expectedRecords)
        return QStringLiteral("%1 records where %2 were received").arg(records).arg(expectedRecords);
    static const QRegularExpression start(QStringLiteral("^\\d+ +\\S"));
    const int shortest = JournalFile::line(JournalRecord()).size() - 1;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines.at(i).size() < shortest || !start.match(lines.at(i)).hasMatch())
            return QStringLiteral("line %1 is not a whole record: \"%2\"").arg(i + 1).arg(lines.at(i));
    }
    return QString();
}

void run(const SoakRun &run, SoakReport &report)
{
    const Outcomes o = outcomes(run.driver);
    int requested = 0;
    for (const SoakEvent &e : SoakEvent::ofKind(run.driver, QStringLiteral("send")))
        requested += e.field(0).toInt() == 12 ? 1 : 0;
    int records = 0;
    int missing = 0;
    for (const Download &d : o.written) {
        records += d.announced;
        missing += d.missing;
    }
    report.figure(QStringLiteral("journal downloads"),
                  QStringLiteral("asked %1, written %2, failed %3, empty %4")
                      .arg(requested)
                      .arg(o.written.size())
                      .arg(o.failed)
                      .arg(o.empty));
    report.figure(QStringLiteral("journal records"),
                  QStringLiteral("%1 announced, %2 not received").arg(records).arg(missing));

    const int ended = o.written.size() + o.failed + o.empty;
    if (ended != requested)
        report.fail(QStringLiteral("journal: %1 downloads asked for, %2 ended").arg(requested).arg(ended));
    if (run.journals.size() != o.written.size()) {
        report.fail(QStringLiteral("journal: %1 files for %2 downloads").arg(run.journals.size()).arg(o.written.size()));
        return;
    }
    for (int i = 0; i < o.written.size(); ++i) {
        const Download &d = o.written.at(i);
        const QString problem = checkFile(run.journals.at(i).bytes, d.announced - d.missing);
        if (!problem.isEmpty())
            report.fail(QStringLiteral("journal file %1: %2").arg(run.journals.at(i).name, problem));
    }
}

}  // namespace JournalCheck
