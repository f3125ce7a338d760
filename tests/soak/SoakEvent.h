#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One line of the soak driver's event file: when, what kind, and the fields.
// On disk: milliseconds since the epoch, a tab, the kind, then the fields,
// each after a tab, with backslash, tab, carriage return and line feed
// escaped, so that every event is exactly one line.
struct SoakEvent {
    qint64 ms = 0;
    QString kind;
    QStringList fields;

    QString field(int i) const { return fields.value(i); }

    QString toLine() const;
    // False for a line that is no event (torn or foreign).
    static bool fromLine(const QString &line, SoakEvent *event);
    // Every event of the file, in order; torn lines are skipped.
    static QVector<SoakEvent> readFile(const QString &path);

    // The events of one kind, in order.
    static QVector<SoakEvent> ofKind(const QVector<SoakEvent> &events, const QString &kind);

    static QString escape(const QString &text);
    static QString unescape(const QString &text);
};
