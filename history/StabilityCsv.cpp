#include "StabilityCsv.h"

#include <algorithm>
#include <map>

namespace {

const Deviation::Kind Order[] = {Deviation::Oadev, Deviation::Mdev, Deviation::Tdev,
                                 Deviation::Ohdev, Deviation::Adev, Deviation::Hdev};

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', 9);
}

QVector<StabilityCurve> ordered(const QVector<StabilityCurve> &curves)
{
    QVector<StabilityCurve> list;
    for (Deviation::Kind kind : Order) {
        for (const StabilityCurve &c : curves) {
            if (c.kind == kind)
                list << c;
        }
    }
    return list;
}

}  // namespace

const char *StabilityCsv::key(Deviation::Kind kind)
{
    switch (kind) {
    case Deviation::Adev:
        return "adev";
    case Deviation::Oadev:
        return "oadev";
    case Deviation::Mdev:
        return "mdev";
    case Deviation::Tdev:
        return "tdev";
    case Deviation::Hdev:
        return "hdev";
    case Deviation::Ohdev:
        return "ohdev";
    }
    return "";
}

QByteArray StabilityCsv::header(const QVector<Deviation::Kind> &kinds)
{
    QByteArray line = "tau_s";
    for (Deviation::Kind kind : Order) {
        if (!kinds.contains(kind))
            continue;
        const QByteArray k = key(kind);
        line += ',' + k + ',' + k + "_low," + k + "_high," + k + "_n";
    }
    return line + "\r\n";
}

QByteArray StabilityCsv::table(const QVector<StabilityCurve> &curves)
{
    const QVector<StabilityCurve> list = ordered(curves);
    QVector<Deviation::Kind> kinds;
    // Rows by averaging factor; the tau of each from the curves.
    std::map<qint64, double> taus;
    for (const StabilityCurve &c : list) {
        kinds << c.kind;
        for (const StabilityPoint &p : c.points)
            taus.emplace(p.m, p.tau);
    }
    QByteArray text = header(kinds);
    for (const auto &row : taus) {
        QByteArray line = number(row.second);
        for (const StabilityCurve &c : list) {
            auto p = std::find_if(c.points.begin(), c.points.end(),
                                  [&](const StabilityPoint &q) { return q.m == row.first; });
            if (p == c.points.end()) {
                line += ",,,,";
                continue;
            }
            line += ',' + number(p->deviation) + ',' + number(p->low) + ',' + number(p->high) + ','
                + QByteArray::number(p->terms);
        }
        text += line + "\r\n";
    }
    return text;
}

double StabilityCsv::mjd(qint64 utcMs)
{
    // 1970-01-01 is MJD 40587.
    return 40587.0 + double(utcMs) / 86400000.0;
}

QByteArray StabilityCsv::series(const ReadingRun &run, int from, int count)
{
    QByteArray text;
    for (int i = qMax(0, from); i < qMin(run.y.size(), from + count); ++i)
        text += QByteArray::number(mjd(run.firstMs + i * run.intervalMs), 'f', 9) + ' ' + number(run.y.at(i)) + "\r\n";
    return text;
}
