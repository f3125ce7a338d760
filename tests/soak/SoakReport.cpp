#include "SoakReport.h"

void SoakReport::figure(const QString &name, const QString &value)
{
    m_figures.append({name, value});
}

void SoakReport::figure(const QString &name, qint64 value)
{
    figure(name, QString::number(value));
}

void SoakReport::fail(const QString &what)
{
    m_failures.append(what);
}

QString SoakReport::value(const QString &name) const
{
    for (const auto &f : m_figures) {
        if (f.first == name)
            return f.second;
    }
    return QString();
}

QString SoakReport::text(int maxFailures) const
{
    int width = 0;
    for (const auto &f : m_figures)
        width = qMax(width, f.first.size());
    QString out;
    for (const auto &f : m_figures)
        out += QStringLiteral("  %1  %2\n").arg(f.first.leftJustified(width), f.second);
    if (m_failures.isEmpty())
        return out + QStringLiteral("PASSED\n");
    out += QStringLiteral("FAILED (%1):\n").arg(m_failures.size());
    for (int i = 0; i < m_failures.size() && i < maxFailures; ++i)
        out += QStringLiteral("  - ") + m_failures.at(i) + QLatin1Char('\n');
    if (m_failures.size() > maxFailures)
        out += QStringLiteral("  ... and %1 more\n").arg(m_failures.size() - maxFailures);
    return out;
}
