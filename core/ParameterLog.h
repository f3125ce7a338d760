#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// The daily file of measured parameters, <logs>/Parameters/yyyyMMdd.log by
// UTC date: a header when the file is new, then one fixed-width row per
// period. Widths count UTF-8 bytes, as a C printf of the same row would, so
// files written by older and newer versions line up alike.
class ParameterLog
{
public:
    struct Row {
        QString mode;
        QString status[4];
        float offset = 0;
        float trend = 0;
        float chanOffset[4] = {};
        float adev[4] = {};
    };

    explicit ParameterLog(const QString &logsDir);

    // Appends the header (when the file does not exist yet) and one row,
    // dated and timed in UTC. False when the file could not be written.
    bool append(const QDateTime &now, const Row &row) const;

    QString filePath(const QDate &utcDate) const;

    // The sixteen column titles, translated.
    static QStringList titles();
    static QByteArray header(const QStringList &titles);
    static QByteArray row(const QTime &utcTime, const Row &row);

private:
    QString m_dir;
};
