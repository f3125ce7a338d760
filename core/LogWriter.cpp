#include "LogWriter.h"

#include "link/LinkClock.h"

#include <QDateTime>
#include <QFile>

LogWriter::LogWriter(const QString &localPath, std::shared_ptr<LinkClock> clock)
    : m_localPath(localPath), m_clock(std::move(clock))
{
}

bool LogWriter::appendLogLine(const QString &text) const
{
    const QDateTime now = m_clock->now();
    return appendToFile(filePath(m_localPath, now.date()), line(now.time(), text));
}

QString LogWriter::currentFile() const
{
    return filePath(m_localPath, m_clock->now().date());
}

QString LogWriter::line(const QTime &time, const QString &text)
{
    QString result = time.toString(QStringLiteral("hh:mm:ss")) + QLatin1Char(' ') + text;
    if (!result.endsWith(QLatin1Char('\r')))
        result += QLatin1Char('\n');
    return result;
}

QString LogWriter::filePath(const QString &localPath, const QDate &date)
{
    return localPath + QStringLiteral("/Logs/") + date.toString(QStringLiteral("yyyyMMdd"))
        + QStringLiteral(".log");
}

bool LogWriter::appendToFile(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}
