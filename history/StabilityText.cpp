#include "StabilityText.h"

QString StabilityText::statistic(Deviation::Kind kind)
{
    switch (kind) {
    case Deviation::Adev:
        return QStringLiteral("ADEV");
    case Deviation::Oadev:
        return QStringLiteral("OADEV");
    case Deviation::Mdev:
        return QStringLiteral("MDEV");
    case Deviation::Tdev:
        return QStringLiteral("TDEV");
    case Deviation::Hdev:
        return QStringLiteral("HDEV");
    case Deviation::Ohdev:
        return QStringLiteral("OHDEV");
    }
    return QString();
}

QString StabilityText::statisticName(Deviation::Kind kind)
{
    switch (kind) {
    case Deviation::Adev:
        return tr("Allan deviation");
    case Deviation::Oadev:
        return tr("Overlapping Allan deviation");
    case Deviation::Mdev:
        return tr("Modified Allan deviation");
    case Deviation::Tdev:
        return tr("Time deviation");
    case Deviation::Hdev:
        return tr("Hadamard deviation");
    case Deviation::Ohdev:
        return tr("Overlapping Hadamard deviation");
    }
    return QString();
}

QString StabilityText::noise(int alpha)
{
    switch (alpha) {
    case 2:
        return tr("white PM");
    case 1:
        return tr("flicker PM");
    case 0:
        return tr("white FM");
    case -1:
        return tr("flicker FM");
    case -2:
        return tr("random walk FM");
    case -3:
        return tr("flicker walk FM");
    case -4:
        return tr("random run FM");
    default:
        return QString();
    }
}

QString StabilityText::seconds(double s)
{
    return tr("%1 s").arg(QString::number(s, 'g', 6));
}

QString StabilityText::duration(qint64 ms)
{
    const double minutes = double(ms) / 60000.0;
    if (minutes < 120)
        return tr("%1 min").arg(qRound(minutes));
    if (minutes < 48 * 60)
        return tr("%1 h").arg(minutes / 60, 0, 'f', 1);
    return tr("%1 d").arg(minutes / 1440, 0, 'f', 1);
}

QString StabilityText::info(const StabilityResult &r)
{
    if (r.read == 0)
        return tr("No readings of this series in the range.");
    QStringList parts;
    if (r.intervalMs > 0) {
        QStringList others;
        for (const IntervalShares::Share &s : r.shares) {
            if (s.intervalMs != r.intervalMs)
                others << tr("%1 for %2").arg(seconds(double(s.intervalMs) / 1000), duration(s.timeMs));
        }
        const QString tau0 = tr("τ0 = %1").arg(seconds(double(r.intervalMs) / 1000));
        const bool chosen = r.request.intervalMs != 0 && r.request.intervalMs == r.intervalMs;
        const QString why = chosen ? tr("chosen") : tr("the interval with the most time");
        parts << (others.isEmpty() ? tau0 + QStringLiteral(" (") + why + QLatin1Char(')')
                                   : tau0 + QStringLiteral(" (") + why + QStringLiteral("; ")
                       + tr("also %1").arg(others.join(QStringLiteral(", "))) + QLatin1Char(')'));
        parts << tr("runs: %1").arg(r.runs);
    }
    parts << tr("readings used: %1").arg(r.used);
    QStringList excluded;
    if (r.noSignal > 0)
        excluded << tr("no signal %1").arg(r.noSignal);
    if (r.otherIntervals > 0)
        excluded << tr("other interval %1").arg(r.otherIntervals);
    if (r.alone > 0)
        excluded << tr("alone between gaps %1").arg(r.alone);
    if (!excluded.isEmpty())
        parts << tr("excluded: %1").arg(excluded.join(QStringLiteral(", ")));
    if (r.curves.isEmpty() || r.curves.first().points.isEmpty())
        parts << tr("too few regular readings for a statistic");
    else
        parts << tr("intervals at %1 % confidence").arg(r.request.options.confidence * 100, 0, 'f', 1);
    return parts.join(QStringLiteral(" · "));
}

QString StabilityText::point(Deviation::Kind kind, const StabilityPoint &p, double confidence)
{
    auto number = [](double v) { return QString::number(v, 'g', 4); };
    const QString sigma = kind == Deviation::Tdev ? tr("σx = %1 s").arg(number(p.deviation))
                                                  : tr("σy = %1").arg(number(p.deviation));
    const QString noiseText = p.alphaMeasured ? noise(p.alpha) : tr("%1 (assumed)").arg(noise(p.alpha));
    return tr("%1   τ = %2   %3   %4 %: %5 … %6   %7, %8 terms")
        .arg(statistic(kind), seconds(p.tau), sigma)
        .arg(confidence * 100, 0, 'f', 1)
        .arg(number(p.low), number(p.high), noiseText)
        .arg(p.terms);
}
