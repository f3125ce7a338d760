#include "BenchReport.h"

#include <QTextStream>

#include <cstdio>

BenchReport::BenchReport(const QStringList &arguments, int defaultRuns) : m_runs(defaultRuns)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--quick"))
            m_quick = true;
        else if (a == QLatin1String("--long"))
            m_long = true;
        else if (a == QLatin1String("--runs") && i + 1 < arguments.size())
            m_runs = qMax(1, arguments.at(++i).toInt());
        else
            note(QStringLiteral("ignored option %1").arg(a));
    }
    if (m_quick)
        m_runs = 1;
}

QString BenchReport::format(double value, int precision)
{
    return QString::number(value, 'g', precision);
}

void BenchReport::below(const QString &figure, double value, const QString &unit, double limit,
                        bool orEqual, int precision)
{
    const bool met = orEqual ? value <= limit : value < limit;
    const QString space = unit.isEmpty() ? QString() : QStringLiteral(" ");
    // A value just inside or outside its limit must not print as the limit.
    QString shown = format(value, precision);
    for (int digits = precision + 1; value != limit && shown == format(limit, precision) && digits <= 6; ++digits)
        shown = format(value, digits);
    line(figure, shown + space + unit,
         (orEqual ? QStringLiteral("<= ") : QStringLiteral("< ")) + format(limit, precision) + space + unit,
         met ? QStringLiteral("ok") : QStringLiteral("MISSED"));
}

void BenchReport::info(const QString &figure, const QString &value, const QString &reference)
{
    line(figure, value, reference.isEmpty() ? QStringLiteral("-") : reference, QStringLiteral("info"));
}

void BenchReport::failed(const QString &figure, const QString &reason)
{
    note(figure + QStringLiteral(": ") + reason);
    line(figure, QStringLiteral("n/a"), QStringLiteral("-"), QStringLiteral("FAILED"));
}

void BenchReport::note(const QString &text)
{
    QTextStream(stderr) << text << '\n';
}

void BenchReport::line(const QString &figure, const QString &value, const QString &target,
                       const QString &verdict)
{
    QTextStream out(stdout);
    out << "BENCH\t" << figure << '\t' << value << '\t' << target << '\t' << verdict << '\n';
    out.flush();
}
