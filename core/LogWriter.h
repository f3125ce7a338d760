#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <memory>

class LinkClock;

// The program log: one file per local day under <local path>/Logs, one line
// per event. Every line is appended and the file closed again, so a line is on
// disk as soon as the call returns, and the day's file changes at midnight
// without any extra logic.
class LogWriter
{
public:
    LogWriter(const QString &localPath, std::shared_ptr<LinkClock> clock);

    // False when the line could not be written.
    bool appendLogLine(const QString &text) const;
    // Today's file, where appendLogLine() writes.
    QString currentFile() const;

    // "hh:mm:ss text" plus a line feed, unless the text ends in a carriage
    // return (then it stays as it is).
    static QString line(const QTime &time, const QString &text);
    // <local path>/Logs/yyyyMMdd.log
    static QString filePath(const QString &localPath, const QDate &date);
    // Appends UTF-8 text; false when the file could not be opened or written.
    static bool appendToFile(const QString &path, const QString &text);

private:
    QString m_localPath;
    std::shared_ptr<LinkClock> m_clock;
};
