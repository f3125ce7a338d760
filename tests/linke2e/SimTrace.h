#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The request trace that ksr583-sim writes with --trace: one line per
// request received, "yyyy-MM-ddThh:mm:ss.zzz CODE PAYLOAD-HEX".
class SimTrace
{
public:
    struct Line {
        qint64 atMs = 0;  // since the epoch, as the simulator's clock read it
        QString code;
        QByteArray payload;
    };

    // One trace line; false when it is not one.
    static bool parse(const QString &text, Line *line);
    // Every complete line of the file so far (the last may still be written).
    static QList<Line> read(const QString &path);

    static QStringList codes(const QList<Line> &lines);
    // The lines whose code is one of `codes`, in order.
    static QList<Line> only(const QList<Line> &lines, const QStringList &codes);
};
