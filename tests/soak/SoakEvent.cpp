#include "SoakEvent.h"

#include <QFile>

QString SoakEvent::toLine() const
{
    QString line = QString::number(ms) + QLatin1Char('\t') + kind;
    for (const QString &f : fields)
        line += QLatin1Char('\t') + escape(f);
    return line;
}

bool SoakEvent::fromLine(const QString &line, SoakEvent *event)
{
    const QStringList parts = line.split(QLatin1Char('\t'));
    bool ok = false;
    const qint64 ms = parts.value(0).toLongLong(&ok);
    if (!ok || parts.size() < 2 || parts.at(1).isEmpty())
        return false;
    event->ms = ms;
    event->kind = parts.at(1);
    event->fields.clear();
    for (int i = 2; i < parts.size(); ++i)
        event->fields.append(unescape(parts.at(i)));
    return true;
}

QVector<SoakEvent> SoakEvent::readFile(const QString &path)
{
    QVector<SoakEvent> events;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return events;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &raw : lines) {
        SoakEvent e;
        if (fromLine(QString::fromUtf8(raw), &e))
            events.append(e);
    }
    return events;
}

QVector<SoakEvent> SoakEvent::ofKind(const QVector<SoakEvent> &events, const QString &kind)
{
    QVector<SoakEvent> out;
    for (const SoakEvent &e : events) {
        if (e.kind == kind)
            out.append(e);
    }
    return out;
}

QString SoakEvent::escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString SoakEvent::unescape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        switch (text.at(++i).unicode()) {
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        default:
            out += text.at(i);
        }
    }
    return out;
}
