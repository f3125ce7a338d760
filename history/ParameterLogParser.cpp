#include "ParameterLogParser.h"

#include "link/Records.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cctype>

namespace {

// Data field widths: the header's plus one.
const int Widths[16] = {10, 25, 10, 10, 10, 10, 12, 12, 11, 11, 11, 11, 10, 10, 10, 10};

// The words the program writes, in English and in Russian.
struct Word {
    const char *utf8;
    int code;
};
const Word Modes[] = {{"SWITCHING mode", 2},
                      {"AVERAGING mode", 1},
                      {"Режим переключения", 2},
                      {"Режим усреднения", 1}};
const Word Statuses[] = {{"BACKUP 1", ChannelState::Backup1}, {"BACKUP 2", ChannelState::Backup2},
                         {"BACKUP 3", ChannelState::Backup3}, {"РЕЗЕРВ 1", ChannelState::Backup1},
                         {"РЕЗЕРВ 2", ChannelState::Backup2}, {"РЕЗЕРВ 3", ChannelState::Backup3},
                         {"+", ChannelState::InGroup},        {"-", LoggedStatus::Out},
                         {"E", LoggedStatus::Error}};
const char *const SecondUnits[] = {" s", " с"};
const char *const Headers[] = {
    "Time Mode Chan1 Chan2 Chan3 Chan4 Offset Trend Offset1 Offset2 Offset3 Offset4 ADEV1 ADEV2 ADEV3 ADEV4",
    "Время Режим Кан1 Кан2 Кан3 Кан4 Смещ. Тренд Смещ1 Смещ2 Смещ3 Смещ4 ADEV1 ADEV2 ADEV3 ADEV4"};

// Walks a row field by field.
class Fields
{
public:
    explicit Fields(const QByteArray &line) : m_line(line) {}

    bool time(QTime *out)
    {
        const QByteArray text = m_line.mid(m_pos, 8);
        *out = QTime::fromString(QString::fromLatin1(text), QStringLiteral("hh:mm:ss"));
        return out->isValid() && text.size() == 8 && end(8, Widths[0]);
    }

    // One of the words, or an empty field where `empty` is allowed.
    template <size_t N>
    bool word(const Word (&words)[N], int width, int *code, bool empty = false)
    {
        for (const Word &w : words) {
            const int length = int(qstrlen(w.utf8));
            if (m_line.mid(m_pos, length) == w.utf8) {
                *code = w.code;
                return end(length, width);
            }
        }
        if (empty && blankUpTo(m_pos + width)) {
            *code = 0;
            m_pos += width;
            return true;
        }
        return false;
    }

    // "440 s": the channel is in its qualification interval.
    bool seconds(int width, int *seconds)
    {
        int digits = 0;
        while (digits < 5 && m_pos + digits < m_line.size() && std::isdigit(uchar(m_line.at(m_pos + digits))))
            ++digits;
        if (digits == 0)
            return false;
        for (const char *unit : SecondUnits) {
            const int length = int(qstrlen(unit));
            if (m_line.mid(m_pos + digits, length) == unit) {
                *seconds = m_line.mid(m_pos, digits).toInt();
                return end(digits + length, width);
            }
        }
        return false;
    }

    bool number(int width, float *out)
    {
        int length = 0;
        while (length < width && m_pos + length < m_line.size() && m_line.at(m_pos + length) != ' ')
            ++length;
        // Strict C notation: a thousands separator is no part of a value.
        static const QLocale c = [] {
            QLocale locale = QLocale::c();
            locale.setNumberOptions(QLocale::RejectGroupSeparator);
            return locale;
        }();
        bool ok = false;
        const double value = c.toDouble(QString::fromLatin1(m_line.mid(m_pos, length)), &ok);
        *out = float(value);
        return ok && length > 0 && end(length, width);
    }

    // Nothing but blanks (and a carriage return) after the last field.
    bool atEnd() const { return blankUpTo(m_line.size()); }

private:
    // A field of `length` bytes began at the cursor: a shorter one is padded
    // to its width, a longer one (or a full one) may be followed by a blank.
    bool end(int length, int width)
    {
        if (length < width) {
            if (!blankUpTo(qMin(m_pos + width, int(m_line.size())), m_pos + length))
                return false;
            m_pos += width;
            return true;
        }
        m_pos += length;
        if (m_pos < m_line.size() && m_line.at(m_pos) == ' ')
            ++m_pos;
        return true;
    }

    bool blankUpTo(int to, int from = -1) const
    {
        for (int i = from < 0 ? m_pos : from; i < to && i < m_line.size(); ++i) {
            if (m_line.at(i) != ' ' && m_line.at(i) != '\r')
                return false;
        }
        return true;
    }

    const QByteArray &m_line;
    int m_pos = 0;
};

}  // namespace

QDate ParameterLogParser::dateOf(const QString &fileName)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{8})\\.log$"));
    const QRegularExpressionMatch match = name.match(QFileInfo(fileName).fileName());
    if (!match.hasMatch())
        return {};
    return QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
}

bool ParameterLogParser::isHeader(const QByteArray &line)
{
    const QByteArray words = line.simplified();
    for (const char *header : Headers) {
        if (words == header)
            return true;
    }
    return false;
}

std::optional<LoggedRow> ParameterLogParser::parseRow(const QByteArray &line, const QDate &utcDate)
{
    if (!utcDate.isValid())
        return std::nullopt;
    Fields fields(line);
    LoggedRow row;
    QTime time;
    if (!fields.time(&time) || !fields.word(Modes, Widths[1], &row.mode, true))
        return std::nullopt;
    for (int ch = 0; ch < 4; ++ch) {
        if (fields.seconds(Widths[2 + ch], &row.qualSeconds[ch]))
            row.status[ch] = ChannelState::Qualifying;
        else if (!fields.word(Statuses, Widths[2 + ch], &row.status[ch]))
            return std::nullopt;
    }
    for (int s = 0; s < Series::Count; ++s) {
        if (!fields.number(Widths[6 + s], &row.value[s]))
            return std::nullopt;
    }
    if (!fields.atEnd())
        return std::nullopt;
    row.timeMs = QDateTime(utcDate, time, Qt::UTC).toMSecsSinceEpoch();
    return row;
}

ParameterLogParser::Result ParameterLogParser::parse(const QByteArray &content, const QDate &utcDate)
{
    Result result;
    for (const QByteArray &line : content.split('\n')) {
        if (line.trimmed().isEmpty() || isHeader(line))
            continue;
        if (const std::optional<LoggedRow> row = parseRow(line, utcDate))
            result.rows << *row;
        else
            ++result.unreadable;
    }
    return result;
}
