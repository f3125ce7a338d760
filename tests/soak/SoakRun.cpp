#include "SoakRun.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Files of `dir` whose names match, in name order (which is time order for
// every file name the program and the script use).
QStringList files(const QString &dir, const QString &pattern)
{
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    QStringList names;
    const QStringList all = QDir(dir).entryList(QDir::Files, QDir::Name);
    for (const QString &name : all) {
        if (re.match(name).hasMatch())
            names.append(QDir(dir).filePath(name));
    }
    return names;
}

int traceNumber(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("trace-(\\d+)\\.txt$"));
    return re.match(path).captured(1).toInt();
}

}  // namespace

SoakRun SoakRun::load(const QString &dir)
{
    SoakRun run;
    run.dir = dir;
    run.driver = SoakEvent::readFile(QDir(dir).filePath(QStringLiteral("driver-events.tsv")));
    run.script = SoakEvent::readFile(QDir(dir).filePath(QStringLiteral("script-events.tsv")));

    QStringList traces = files(dir, QStringLiteral("trace-\\d+\\.txt"));
    std::sort(traces.begin(), traces.end(),
              [](const QString &a, const QString &b) { return traceNumber(a) < traceNumber(b); });
    for (const QString &path : traces)
        run.trace += parseTrace(readAll(path), traceNumber(path));

    const QString logs = QDir(dir).filePath(QStringLiteral("Logs"));
    for (const QString &path : files(logs, QStringLiteral("\\d{8}\\.log")))
        run.log += parseLog(readAll(path));

    // The operator's folder, and the logs folder of the daily download.
    const QString journalName = QStringLiteral("\\d{8}_\\d{6}.*\\.log");
    const QStringList journals = files(QDir(dir).filePath(QStringLiteral("Journal")), journalName)
                                 + files(logs, journalName);
    for (const QString &path : journals)
        run.journals.append({QFileInfo(path).fileName(), readAll(path)});
    std::sort(run.journals.begin(), run.journals.end(),
              [](const RunFile &a, const RunFile &b) { return a.name < b.name; });

    const QString parameters = QDir(logs).filePath(QStringLiteral("Parameters"));
    for (const QString &path : files(parameters, QStringLiteral("\\d{8}\\.log")))
        run.parameterLogs.append({QFileInfo(path).fileName(), readAll(path)});
    return run;
}

QVector<TraceEntry> SoakRun::parseTrace(const QByteArray &text, int instance)
{
    QVector<TraceEntry> entries;
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 3)
            continue;
        const QDateTime at = QDateTime::fromString(QString::fromLatin1(parts.at(0)),
                                                   QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"));
        if (!at.isValid())
            continue;
        TraceEntry e;
        e.ms = at.toMSecsSinceEpoch();
        e.instance = instance;
        e.code = QString::fromLatin1(parts.at(1));
        e.payload = parts.at(2) == "-" ? QString() : QString::fromLatin1(parts.at(2));
        entries.append(e);
    }
    return entries;
}

QVector<LogLine> SoakRun::parseLog(const QByteArray &text)
{
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d "));
    QVector<LogLine> lines;
    const QString all = QString::fromUtf8(text);
    int from = 0;
    while (from < all.size()) {
        const int end = all.indexOf(QLatin1Char('\n'), from);
        LogLine line;
        line.raw = all.mid(from, end < 0 ? -1 : end - from);
        line.wellFormed = end >= 0 && stamp.match(line.raw).hasMatch();
        line.text = line.raw.mid(9);
        lines.append(line);
        if (end < 0)
            break;
        from = end + 1;
    }
    return lines;
}

qint64 SoakRun::startMs() const
{
    const QVector<SoakEvent> s = SoakEvent::ofKind(driver, QStringLiteral("start"));
    return s.isEmpty() ? 0 : s.first().ms;
}

qint64 SoakRun::closingMs() const
{
    const QVector<SoakEvent> c = SoakEvent::ofKind(driver, QStringLiteral("closing"));
    return c.isEmpty() ? (driver.isEmpty() ? 0 : driver.last().ms) : c.first().ms;
}
