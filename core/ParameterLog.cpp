#include "ParameterLog.h"

#include "status/StatusDisplay.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

const char *const Titles[] = {
    QT_TRANSLATE_NOOP("MainWindow", "Time"),    QT_TRANSLATE_NOOP("MainWindow", "Mode"),
    QT_TRANSLATE_NOOP("MainWindow", "Chan1"),   QT_TRANSLATE_NOOP("MainWindow", "Chan2"),
    QT_TRANSLATE_NOOP("MainWindow", "Chan3"),   QT_TRANSLATE_NOOP("MainWindow", "Chan4"),
    QT_TRANSLATE_NOOP("MainWindow", "Offset"),  QT_TRANSLATE_NOOP("MainWindow", "Trend"),
    QT_TRANSLATE_NOOP("MainWindow", "Offset1"), QT_TRANSLATE_NOOP("MainWindow", "Offset2"),
    QT_TRANSLATE_NOOP("MainWindow", "Offset3"), QT_TRANSLATE_NOOP("MainWindow", "Offset4"),
    QT_TRANSLATE_NOOP("MainWindow", "ADEV1"),   QT_TRANSLATE_NOOP("MainWindow", "ADEV2"),
    QT_TRANSLATE_NOOP("MainWindow", "ADEV3"),   QT_TRANSLATE_NOOP("MainWindow", "ADEV4"),
};
// Header widths; a data field is one wider, which stands for the header's
// blank separator.
const int Widths[] = {9, 24, 9, 9, 9, 9, 11, 11, 10, 10, 10, 10, 9, 9, 9, 9};
constexpr int Columns = 16;

// Left-justified and blank-padded to `width` bytes; longer text is kept whole.
QByteArray padded(const QString &text, int width)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() < width)
        bytes.append(width - bytes.size(), ' ');
    return bytes;
}

}  // namespace

ParameterLog::ParameterLog(const QString &logsDir) : m_dir(logsDir + QStringLiteral("/Parameters")) {}

QString ParameterLog::filePath(const QDate &utcDate) const
{
    return m_dir + QLatin1Char('/') + utcDate.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

QStringList ParameterLog::titles()
{
    QStringList list;
    for (const char *title : Titles)
        list << QCoreApplication::translate("MainWindow", title);
    return list;
}

QByteArray ParameterLog::header(const QStringList &titles)
{
    QByteArray line;
    for (int i = 0; i < Columns; ++i) {
        if (i > 0)
            line += ' ';
        line += padded(titles.value(i), Widths[i]);
    }
    return line + '\n';
}

QByteArray ParameterLog::row(const QTime &utcTime, const Row &row)
{
    QStringList fields;
    fields << utcTime.toString(QStringLiteral("hh:mm:ss")) << row.mode;
    for (const QString &status : row.status)
        fields << status;
    fields << StatusDisplay::number(row.offset, 6) << StatusDisplay::number(row.trend, 6);
    for (float offset : row.chanOffset)
        fields << StatusDisplay::number(offset, 4);
    for (float adev : row.adev)
        fields << StatusDisplay::number(adev, 3);

    QByteArray line;
    for (int i = 0; i < Columns; ++i) {
        QByteArray field = padded(fields.at(i), Widths[i] + 1);
        // A value that fills its field would run into the next one
        // ("-1.19582e-15" and "0" read as "-1.19582e-150").
        if (!field.endsWith(' '))
            field += ' ';
        line += field;
    }
    return line + '\n';
}

bool ParameterLog::append(const QDateTime &now, const Row &r) const
{
    const QDateTime utc = now.toUTC();
    QDir().mkdir(m_dir);
    QFile file(filePath(utc.date()));
    const bool isNew = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    QByteArray bytes = isNew ? header(titles()) : QByteArray();
    bytes += row(utc.time(), r);
    return file.write(bytes) == bytes.size() && file.flush();
}
