#include "JournalFile.h"

#include <QFile>

#include <iterator>

namespace {

const char *const kEvents[] = {
    nullptr,
    QT_TRANSLATE_NOOP("JournalFile", "Switching on unit"),
    QT_TRANSLATE_NOOP("JournalFile", "Testing signal 1"),
    QT_TRANSLATE_NOOP("JournalFile", "Testing signal 2"),
    QT_TRANSLATE_NOOP("JournalFile", "Testing signal 3"),
    QT_TRANSLATE_NOOP("JournalFile", "Testing signal 4"),
    QT_TRANSLATE_NOOP("JournalFile", "PLL - on"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 1 in use"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 2 in use"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 3 in use"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 4 in use"),
    QT_TRANSLATE_NOOP("JournalFile", "Testing is finished"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 1 is removed"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 2 is removed"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 3 is removed"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal 4 is removed"),
    QT_TRANSLATE_NOOP("JournalFile", "PLL - off"),
    QT_TRANSLATE_NOOP("JournalFile", "Freq. offset is changed"),
    QT_TRANSLATE_NOOP("JournalFile", "DAC2 is changed"),
    QT_TRANSLATE_NOOP("JournalFile", "DAC1 is changed"),
    QT_TRANSLATE_NOOP("JournalFile", "Date/Time is changed (before)"),
    QT_TRANSLATE_NOOP("JournalFile", "Date/Time is changed (after)"),
    QT_TRANSLATE_NOOP("JournalFile", "DC power is connected"),
    QT_TRANSLATE_NOOP("JournalFile", "DC power is disconnected"),
    QT_TRANSLATE_NOOP("JournalFile", "DC power in use"),
    QT_TRANSLATE_NOOP("JournalFile", "AC power in use"),
    QT_TRANSLATE_NOOP("JournalFile", "Band 10000 Hz - on"),
    QT_TRANSLATE_NOOP("JournalFile", "Band 10 Hz - on"),
    QT_TRANSLATE_NOOP("JournalFile", "Band 3 Hz - on"),
    QT_TRANSLATE_NOOP("JournalFile", "Phase jump exceeds limit"),
    QT_TRANSLATE_NOOP("JournalFile", "Data error"),
    QT_TRANSLATE_NOOP("JournalFile", "1PPS synch. - start"),
    QT_TRANSLATE_NOOP("JournalFile", "1PPS synch. - finish"),
    QT_TRANSLATE_NOOP("JournalFile", "Freq. trend value is changed"),
    QT_TRANSLATE_NOOP("JournalFile", "Limit on freq. diff. changed"),
    QT_TRANSLATE_NOOP("JournalFile", "PLL parameters are changed"),
    QT_TRANSLATE_NOOP("JournalFile", "Freq. sample is removed"),
    QT_TRANSLATE_NOOP("JournalFile", "Change weight coeffs"),
    QT_TRANSLATE_NOOP("JournalFile", "Weight coeffs error"),
    QT_TRANSLATE_NOOP("JournalFile", "Change 10ms freq. limits"),
    QT_TRANSLATE_NOOP("JournalFile", "Change priorities"),
    QT_TRANSLATE_NOOP("JournalFile", "Priorities error"),
    QT_TRANSLATE_NOOP("JournalFile", "Samp. filtering is ON"),
    QT_TRANSLATE_NOOP("JournalFile", "Samp. filtering is OFF"),
    QT_TRANSLATE_NOOP("JournalFile", "Set Tau for filter"),
    QT_TRANSLATE_NOOP("JournalFile", "Set interval of diff-tion"),
    QT_TRANSLATE_NOOP("JournalFile", "TS sync. error"),
    QT_TRANSLATE_NOOP("JournalFile", "Start phase correction"),
    QT_TRANSLATE_NOOP("JournalFile", "Stop phase correction"),
    QT_TRANSLATE_NOOP("JournalFile", "Phase  corr. error"),
    QT_TRANSLATE_NOOP("JournalFile", "Zero phase moment"),
    QT_TRANSLATE_NOOP("JournalFile", "Change Mode"),
    QT_TRANSLATE_NOOP("JournalFile", "Invasion enable"),
    QT_TRANSLATE_NOOP("JournalFile", "Invasion disable"),
    QT_TRANSLATE_NOOP("JournalFile", "Change master signal"),
};

const char *const kCauses[] = {
    QT_TRANSLATE_NOOP("JournalFile", "Unknown reason"),
    QT_TRANSLATE_NOOP("JournalFile", "User from front panel"),
    QT_TRANSLATE_NOOP("JournalFile", "Remote PC"),
    QT_TRANSLATE_NOOP("JournalFile", "Unit local program"),
    QT_TRANSLATE_NOOP("JournalFile", "Freq. diff. exceeds lim"),
    QT_TRANSLATE_NOOP("JournalFile", "ERROR sign. detected"),
    QT_TRANSLATE_NOOP("JournalFile", "No input signal"),
    QT_TRANSLATE_NOOP("JournalFile", "Voltmeter measuring"),
    QT_TRANSLATE_NOOP("JournalFile", "DAC1 error"),
    QT_TRANSLATE_NOOP("JournalFile", "DAC writing error"),
    QT_TRANSLATE_NOOP("JournalFile", "Data bus error"),
    QT_TRANSLATE_NOOP("JournalFile", "CSA reading error"),
    QT_TRANSLATE_NOOP("JournalFile", "Control unit error"),
    QT_TRANSLATE_NOOP("JournalFile", "1PPS counter reading"),
    QT_TRANSLATE_NOOP("JournalFile", "1PPS config. reading"),
    QT_TRANSLATE_NOOP("JournalFile", "CHECK CNF1PPS read error"),
    QT_TRANSLATE_NOOP("JournalFile", "Time is out"),
    QT_TRANSLATE_NOOP("JournalFile", "Zero weight coeffs"),
    QT_TRANSLATE_NOOP("JournalFile", "User command"),
    QT_TRANSLATE_NOOP("JournalFile", "Freq limit exceeded"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal inclusion started"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal inclusion finished"),
    QT_TRANSLATE_NOOP("JournalFile", "Signal excluded"),
    QT_TRANSLATE_NOOP("JournalFile", "Incorrect values"),
};

struct Column {
    const char *title;
    int width;
};

const Column kColumns[] = {
    {QT_TRANSLATE_NOOP("JournalFile", "Number"), 6},
    {QT_TRANSLATE_NOOP("JournalFile", "Date and time"), 21},
    {QT_TRANSLATE_NOOP("JournalFile", "Event"), 30},
    {QT_TRANSLATE_NOOP("JournalFile", "Cause"), 32},
    {QT_TRANSLATE_NOOP("JournalFile", "Channels"), 10},
    {QT_TRANSLATE_NOOP("JournalFile", "DAC1"), 6},
    {QT_TRANSLATE_NOOP("JournalFile", "DAC2"), 6},
    {QT_TRANSLATE_NOOP("JournalFile", "Offset"), 9},
    {QT_TRANSLATE_NOOP("JournalFile", "Trend"), 9},
    {QT_TRANSLATE_NOOP("JournalFile", "RFD1"), 9},
    {QT_TRANSLATE_NOOP("JournalFile", "RFD2"), 9},
    {QT_TRANSLATE_NOOP("JournalFile", "RFD3"), 9},
    {QT_TRANSLATE_NOOP("JournalFile", "RFD4"), 9},
};

const QString kBlank = QStringLiteral(" ");

template <typename Table>
QString textOf(const Table &table, int code)
{
    if (code < 0 || code >= int(std::size(table)) || !table[code])
        return kBlank;
    return JournalFile::tr(table[code]);
}

// Like printf's "%-Ns": pads to at least `width` characters, never cuts.
QString field(const QString &text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '));
}

QString field(int value, int width)
{
    return field(QString::number(value), width);
}

QString scientific(float value)
{
    return field(QString::number(double(value), 'E', 2), 10);
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString JournalFile::eventText(int code)
{
    return textOf(kEvents, code);
}

QString JournalFile::causeText(int code)
{
    return textOf(kCauses, code);
}

QString JournalFile::channelsText(quint16 flags)
{
    QString text;
    for (int channel = 0; channel < 4; ++channel) {
        const int nibble = (flags >> (4 * channel)) & 0xF;
        text += kBlank;
        if (nibble & 0x1) {
            text += (nibble & 0x4) ? QStringLiteral("+ ") : QStringLiteral("- ");
            if (nibble & 0x2)
                text += QStringLiteral("C ");
        } else {
            text += QStringLiteral("* ");
        }
    }
    return text;
}

QString JournalFile::dateTimeText(const JournalRecord &r)
{
    return twoDigits(r.day) + QLatin1Char('.') + twoDigits(r.month) + QLatin1Char('.')
           + QStringLiteral("%1").arg(r.year, 4, 10, QLatin1Char('0')) + QStringLiteral("  ")
           + twoDigits(r.hour) + QLatin1Char(':') + twoDigits(r.minute) + QLatin1Char(':')
           + twoDigits(r.second);
}

QString JournalFile::header()
{
    QStringList titles;
    for (const Column &c : kColumns)
        titles.append(field(tr(c.title), c.width));
    return titles.join(kBlank) + QLatin1Char('\n');
}

QString JournalFile::line(const JournalRecord &r)
{
    QString text = field(r.number, 7) + field(dateTimeText(r), 22)
                   + field(eventText(r.eventCode()), 31) + field(causeText(r.causeCode()), 33)
                   + field(channelsText(r.channels), 11) + field(r.dac1, 7) + field(r.dac2, 7)
                   + scientific(r.offset) + scientific(r.trend);
    for (float v : r.rfd)
        text += scientific(v);
    return text + QLatin1Char('\n');
}

QVector<int> JournalFile::slotOrder(const Slots &entries)
{
    const int n = int(entries.size());
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (entries[size_t(i)] && entries[size_t(i)]->number == 1) {
            start = i;
            break;
        }
    }
    QVector<int> order;
    order.reserve(n);
    for (int i = start; i >= 0 && i < n; --i)
        order.append(i);
    for (int i = n - 1; i > start; --i)
        order.append(i);
    return order;
}

QString JournalFile::text(const Slots &entries)
{
    QString text = header();
    const QVector<int> order = slotOrder(entries);
    for (int i : order) {
        if (entries[size_t(i)])
            text += line(*entries[size_t(i)]);
    }
    return text;
}

QString JournalFile::safeSerial(const QString &displayItem)
{
    QString serial = displayItem.mid(displayItem.lastIndexOf(QLatin1Char('#')) + 1).trimmed();
    for (QChar &c : serial) {
        const ushort u = c.unicode();
        if (c.isSpace() || u < 0x20 || u == 0x7F || QStringLiteral("<>:\"/\\|?*").contains(c))
            c = QLatin1Char('_');
    }
    // With the separators gone, ".." is all that could still climb out.
    serial.replace(QStringLiteral(".."), QStringLiteral("_"));
    return serial;
}

QString JournalFile::fileName(const QDateTime &utc, const QString &displayItem)
{
    QString name = utc.toUTC().toString(QStringLiteral("yyyyMMdd_hhmmss"));
    if (displayItem.contains(QLatin1Char('#')))
        name += QLatin1Char('#') + safeSerial(displayItem);
    return name + QStringLiteral(".log");
}

bool JournalFile::write(const QString &path, const Slots &entries)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray bytes = text(entries).toUtf8();
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}
