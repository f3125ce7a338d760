#include "SimTrace.h"

#include <QDateTime>
#include <QFile>

bool SimTrace::parse(const QString &text, Line *line)
{
    const QStringList fields = text.split(QLatin1Char(' '));
    if (fields.size() != 3 || fields.at(1).size() != 3)
        return false;
    const QDateTime at = QDateTime::fromString(fields.at(0), QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"));
    if (!at.isValid())
        return false;
    line->atMs = at.toMSecsSinceEpoch();
    line->code = fields.at(1);
    line->payload = fields.at(2) == QLatin1String("-") ? QByteArray()
                                                       : QByteArray::fromHex(fields.at(2).toLatin1());
    return true;
}

QList<SimTrace::Line> SimTrace::read(const QString &path)
{
    QList<Line> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine();
        Line line;
        if (text.endsWith('\n') && parse(QString::fromLatin1(text).trimmed(), &line))
            lines.append(line);
    }
    return lines;
}

QStringList SimTrace::codes(const QList<Line> &lines)
{
    QStringList out;
    for (const Line &l : lines)
        out.append(l.code);
    return out;
}

QList<SimTrace::Line> SimTrace::only(const QList<Line> &lines, const QStringList &codes)
{
    QList<Line> out;
    for (const Line &l : lines) {
        if (codes.contains(l.code))
            out.append(l);
    }
    return out;
}
