#include "SimControl.h"

#include "ProtocolEngine.h"

#include <QStringList>

#include <cmath>

namespace SimControl {

namespace {

// "on" -> 1, "off" -> 0, anything else -> -1.
int onOff(const QString &word)
{
    if (word == QLatin1String("on"))
        return 1;
    if (word == QLatin1String("off"))
        return 0;
    return -1;
}

QString channelCommand(ProtocolEngine &engine, const QStringList &w)
{
    bool ok = false;
    const int channel = w.value(1).toInt(&ok);
    if (!ok || channel < 1 || channel > 4 || w.size() != 4)
        return QStringLiteral("usage: channel N detect on|off, channel N error CODE");
    if (w.at(2) == QLatin1String("detect") && onOff(w.at(3)) >= 0) {
        const bool on = onOff(w.at(3)) == 1;
        engine.withModel([&](InstrumentModel &m) { m.setChannelDetected(channel, on); });
        return QString();
    }
    const uint error = w.at(3).toUInt(&ok, 0);
    if (w.at(2) == QLatin1String("error") && ok && error <= 0xFF) {
        engine.withModel([&](InstrumentModel &m) { m.setChannelError(channel, quint8(error)); });
        return QString();
    }
    return QStringLiteral("usage: channel N detect on|off, channel N error CODE (0..255)");
}

}  // namespace

QString apply(ProtocolEngine &engine, const QString &line)
{
    const QStringList w = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString verb = w.value(0);
    if (verb == QLatin1String("fault") && w.size() == 2) {
        QString error;
        return engine.addFaults(w.at(1), &error) ? QString() : error;
    }
    if (verb == QLatin1String("clear-faults") && w.size() == 1) {
        engine.clearFaults();
        return QString();
    }
    if (verb == QLatin1String("silent") && w.size() == 2 && onOff(w.at(1)) >= 0) {
        engine.setSilent(onOff(w.at(1)) == 1);
        return QString();
    }
    if (verb == QLatin1String("pps") && w.size() == 2 && onOff(w.at(1)) >= 0) {
        const bool on = onOff(w.at(1)) == 1;
        engine.withModel([&](InstrumentModel &m) { m.setExternalPps(on); });
        return QString();
    }
    if (verb == QLatin1String("steady") && w.size() == 2 && onOff(w.at(1)) >= 0) {
        const bool on = onOff(w.at(1)) == 1;
        engine.withModel([&](InstrumentModel &m) { m.setSteady(on); });
        return QString();
    }
    if (verb == QLatin1String("offset") && w.size() == 2) {
        bool ok = false;
        const double value = w.at(1).toDouble(&ok);
        if (!ok || !std::isfinite(value) || std::fabs(value) > InstrumentModel::MaxOffset)
            return QStringLiteral("usage: offset VALUE (a fractional offset within 1e-6)");
        engine.withModel([&](InstrumentModel &m) { m.setFreqOffset(float(value)); });
        return QString();
    }
    if (verb == QLatin1String("channel"))
        return channelCommand(engine, w);
    return QStringLiteral("unknown command '%1'").arg(line.simplified());
}

QString help()
{
    return QStringLiteral(
        "  fault RULE               add faults (forms as for --fault)\n"
        "  clear-faults             remove every fault\n"
        "  silent on|off            answer nothing / answer again\n"
        "  channel N detect on|off  signal on input N (1..4) appears / disappears\n"
        "  channel N error CODE     error byte of input N, 0 clears (decimal or 0x..)\n"
        "  pps on|off               external 1PPS available / unavailable\n"
        "  steady on|off            readings without noise / with noise again\n"
        "  offset VALUE             the output's frequency offset, e.g. 2.5e-13\n");
}

}  // namespace SimControl
