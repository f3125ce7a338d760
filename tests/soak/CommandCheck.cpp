#include "CommandCheck.h"

#include "SoakReport.h"
#include "SoakRun.h"

#include "link/Frame.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxReported = 5;
// The instrument takes offsets below this magnitude only.
constexpr double OffsetRange = 1e-8;

// Smooth steering writes the offset as well: from the moment it starts until
// it finishes, is aborted or ends with a new search, with room for the
// message to reach the window.
constexpr qint64 SteeringSlackMs = 2000;

struct Span {
    qint64 fromMs;
    qint64 toMs;
};

QVector<Span> steeringSpans(const QVector<SoakEvent> &driverEvents)
{
    QVector<Span> spans;
    for (const SoakEvent &e : SoakEvent::ofKind(driverEvents, QStringLiteral("window"))) {
        const QString text = e.field(0);
        if (text == QLatin1String("Smooth steering is started"))
            spans.append({e.ms - SteeringSlackMs, std::numeric_limits<qint64>::max()});
        else if (!spans.isEmpty()
                 && (text == QLatin1String("Smooth steering is finished")
                     || text == QLatin1String("Smooth steering is aborted by the user")
                     || text == QLatin1String("Smooth steering is stopped: the instrument is not connected")))
            spans.last().toMs = e.ms + SteeringSlackMs;
    }
    return spans;
}

bool within(const QVector<Span> &spans, qint64 ms)
{
    return std::any_of(spans.begin(), spans.end(), [ms](const Span &s) { return ms >= s.fromMs && ms <= s.toMs; });
}

bool startsWithAny(const QString &text, const QStringList &prefixes)
{
    for (const QString &p : prefixes) {
        if (text.startsWith(p))
            return true;
    }
    return false;
}

float firstFloat(const QString &hex)
{
    return Frame::f32(QByteArray::fromHex(hex.toLatin1()), 0);
}

// Reports the first few problems of one kind and counts the rest.
class Problems
{
public:
    Problems(const QString &kind, SoakReport &report) : m_kind(kind), m_report(report) {}
    ~Problems()
    {
        if (m_count > MaxReported)
            m_report.fail(QStringLiteral("%1: %2 problems in all").arg(m_kind).arg(m_count));
    }
    void add(const QString &what)
    {
        if (++m_count <= MaxReported)
            m_report.fail(m_kind + QStringLiteral(": ") + what);
    }

private:
    QString m_kind;
    SoakReport &m_report;
    int m_count = 0;
};

}  // namespace

namespace CommandCheck {

QVector<Kind> kinds()
{
    return {
        {QStringLiteral("frequency offset"), {3}, {QStringLiteral("m10")},
         {QStringLiteral("New offset applied: ")}, {QStringLiteral("New offset command failed!")},
         true, true, false},
        {QStringLiteral("frequency trend"), {4}, {QStringLiteral("m20")},
         {QStringLiteral("New frequency drift applied: ")},
         {QStringLiteral("New frequency drift command failed!")}, true, true, true},
        {QStringLiteral("difference limit"), {6}, {QStringLiteral("m30")},
         {QStringLiteral("New limit applied: ")}, {QStringLiteral("New limit command failed!")}, true,
         true, true},
        {QStringLiteral("AVE values"), {17}, {QStringLiteral("Q10")}, {QStringLiteral("New AVE OK ")},
         {QStringLiteral("New AVE NOT OK "), QStringLiteral("New AVE ERROR ")}, true, false, true},
        {QStringLiteral("AVE on/off"), {20}, {QStringLiteral("X10"), QStringLiteral("X20")},
         {QStringLiteral("New AVE stat OK ")},
         {QStringLiteral("New AVE stat NOT OK "), QStringLiteral("New AVE stat ERROR ")}, false, false,
         true},
        {QStringLiteral("synchronisation"), {1}, {QStringLiteral("W10"), QStringLiteral("W20")},
         {QStringLiteral("Sync command has been applied")}, {QStringLiteral("Sync command failed!")},
         false, false, true},
        {QStringLiteral("channels"), {0, 15}, {},
         {QStringLiteral("Channel status has been changed")},
         {QStringLiteral("Channel status command failed!")}, false, false, true},
    };
}

QString appliedText(const QString &prefix, const QString &payloadHex)
{
    return prefix + QString::number(double(firstFloat(payloadHex)), 'g', 6);
}

void run(const SoakRun &run, SoakReport &report)
{
    for (const Kind &kind : kinds())
        checkKind(kind, run, report);
}

void checkKind(const Kind &kind, const SoakRun &run, SoakReport &report)
{
    Problems problems(kind.name, report);

    QStringList sent;  // the value(s) of each command, as request payload hex
    for (const SoakEvent &e : SoakEvent::ofKind(run.driver, QStringLiteral("send"))) {
        if (kind.codes.contains(e.field(0).toInt()))
            sent.append(e.field(1));
    }
    QVector<bool> lineApplied;  // one per outcome line, in log order
    QStringList lines;
    for (const LogLine &l : run.log) {
        const bool ok = startsWithAny(l.text, kind.applied);
        if (ok || startsWithAny(l.text, kind.failed)) {
            lineApplied.append(ok);
            lines.append(l.text);
        }
    }

    const int k = sent.size();
    const int n = lines.size();
    if (n > k)
        problems.add(QStringLiteral("%1 outcome lines for %2 commands").arg(n).arg(k));
    else if (n < k)
        problems.add(QStringLiteral("%1 of %2 commands have no outcome line").arg(k - n).arg(k));
    for (int i = 0; i < qMin(n, k) && kind.valueInText; ++i) {
        const QString expected = appliedText(kind.applied.first(), sent.at(i));
        if (lineApplied.at(i) && lines.at(i) != expected)
            problems.add(QStringLiteral("command %1 set %2 but the log says \"%3\"")
                             .arg(i + 1)
                             .arg(expected.mid(kind.applied.first().size()), lines.at(i)));
    }

    int received = 0;
    QHash<QString, int> index;  // value -> command number
    for (int i = 0; i < k; ++i)
        index.insert(sent.at(i), i);
    QVector<bool> reached(k, false);
    const QVector<Span> steering = steeringSpans(run.driver);
    int last = -1;
    for (const TraceEntry &t : run.trace) {
        if (!kind.requests.contains(t.code))
            continue;
        if (!kind.valueInPayload) {
            ++received;
            continue;
        }
        const auto it = index.constFind(t.payload);
        if (it == index.constEnd()) {
            // Not the operator's value: the smooth steering's, for the offset.
            const double v = double(firstFloat(t.payload));
            if (kind.onlyMeantValues || !std::isfinite(v) || std::fabs(v) >= OffsetRange)
                problems.add(QStringLiteral("the instrument received %1 %2, a value nobody set")
                                 .arg(t.code, t.payload));
            continue;
        }
        const int i = it.value();
        if (reached.at(i)) {
            // The steering's step may hold the offset the operator set last.
            if (!kind.onlyMeantValues && within(steering, t.ms))
                continue;
            problems.add(QStringLiteral("command %1 (%2) reached the instrument twice").arg(i + 1).arg(t.payload));
        }
        ++received;
        if (i < last)
            problems.add(QStringLiteral("command %1 reached the instrument after command %2").arg(i + 1).arg(last + 1));
        reached[i] = true;
        last = qMax(last, i);
        if (i >= n)
            problems.add(QStringLiteral("command %1 reached the instrument but has no line in the log").arg(i + 1));
    }
    if (kind.valueInPayload) {
        for (int i = 0; i < qMin(n, k); ++i) {
            if (lineApplied.at(i) && !reached.at(i))
                problems.add(QStringLiteral("the log says command %1 was applied, but it never reached the instrument")
                                 .arg(i + 1));
        }
    } else if (!kind.requests.isEmpty() && received > n) {
        problems.add(QStringLiteral("%1 requests reached the instrument, %2 outcome lines").arg(received).arg(n));
    }

    const int applied = int(std::count(lineApplied.begin(), lineApplied.end(), true));
    report.figure(QStringLiteral("commands: ") + kind.name,
                  QStringLiteral("sent %1, received %2, applied %3, failed %4")
                      .arg(k)
                      .arg(kind.requests.isEmpty() ? QStringLiteral("-") : QString::number(received))
                      .arg(applied)
                      .arg(n - applied));
}

}  // namespace CommandCheck
