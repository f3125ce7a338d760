#include "StatusReport.h"

#include "status/StatusDisplay.h"
#include "status/StatusFields.h"

#include <QJsonArray>

namespace {

const char *const kPhases[] = {"searching", "connected", "noConnection", "stopped"};

// The fields as the main window paints them from the records it has.
StatusFields fieldsOf(const ServiceSnapshot &s)
{
    StatusFields fields;
    if (s.link.phase == LinkView::Connected)
        fields.instrumentFound();
    if (s.detect)
        fields.showDetect(*s.detect);
    if (s.cmdState)
        fields.showCmdState(*s.cmdState, s.detect.value_or(DETECT()));
    if (s.link.phase != LinkView::Connected)
        fields.instrumentLost();
    return fields;
}

QString phaseText(const LinkView &link)
{
    switch (link.phase) {
    case LinkView::Connected:
        return StatusReport::tr("connected");
    case LinkView::Searching:
        return StatusReport::tr("searching (%1 of %2 ports tried)").arg(link.searchDone).arg(link.searchTotal);
    case LinkView::NoConnection:
        return StatusReport::tr("No connection");
    case LinkView::Stopped:
        break;
    }
    return StatusReport::tr("stopped");
}

}  // namespace

StatusReport::Exit StatusReport::exitOf(const ServiceSnapshot &s)
{
    return s.link.phase == LinkView::Connected && s.instrumentHeard ? Answering : InstrumentSilent;
}

QString StatusReport::text(const ServiceSnapshot &s)
{
    const StatusFields fields = fieldsOf(s);
    QString out;
    const auto row = [&out](const QString &name, const QString &value) {
        out += name.leftJustified(18) + value + QLatin1Char('\n');
    };
    row(tr("Service:"), s.serviceName);
    row(tr("Instrument:"), s.titleItem.isEmpty() ? QStringLiteral("-") : s.titleItem);
    row(tr("Link:"), exitOf(s) == InstrumentSilent && s.link.phase == LinkView::Connected
                         ? tr("connected, but the instrument does not answer")
                         : phaseText(s.link));
    row(tr("State:"), fields.overall().text);
    row(tr("Mode:"), fields.mode().isEmpty() ? QStringLiteral("-") : fields.mode());
    if (s.adjState) {
        const ADJ_STATE adj = *s.adjState;
        row(tr("Frequency offset:"), StatusDisplay::number(adj.freqOffset, 6));
        row(tr("Drift:"), StatusDisplay::number(adj.freqDrift, 6));
    }
    for (int i = 0; i < 4; ++i) {
        QString line = fields.channel(i).status.text;
        if (s.adjState) {
            const ADJ_STATE adj = *s.adjState;
            line += tr("  offset %1").arg(StatusDisplay::number(adj.chanOffset[i], 4));
        }
        if (s.varState)
            line += tr("  ADEV %1").arg(StatusDisplay::number(s.varState->adev(i + 1), 3));
        row(tr("Channel %1:").arg(i + 1), line);
    }
    if (s.progress.steering == WorkProgress::SmoothSteering)
        row(tr("Running:"), tr("smooth steering"));
    else if (s.progress.steering == WorkProgress::PhaseCorrection)
        row(tr("Running:"), tr("phase correction"));
    return out;
}

QJsonObject StatusReport::json(const ServiceSnapshot &s)
{
    const StatusFields fields = fieldsOf(s);
    QJsonObject o{{"service", s.serviceName},
                  {"instrumentAnswers", exitOf(s) == Answering},
                  {"title", s.titleItem},
                  {"link", QLatin1String(kPhases[int(s.link.phase)])},
                  {"port", s.link.port},
                  {"state", fields.overall().text},
                  {"mode", fields.mode()}};
    if (s.deviceInfo)
        o.insert(QStringLiteral("serial"), s.deviceInfo->serialNumber);
    if (s.adjState) {
        const ADJ_STATE adj = *s.adjState;
        o.insert(QStringLiteral("frequencyOffset"), StatusDisplay::number(adj.freqOffset, 6));
        o.insert(QStringLiteral("frequencyDrift"), StatusDisplay::number(adj.freqDrift, 6));
    }
    QJsonArray channels;
    for (int i = 0; i < 4; ++i) {
        QJsonObject c{{"number", i + 1}, {"status", fields.channel(i).status.text}};
        if (s.adjState) {
            const ADJ_STATE adj = *s.adjState;
            c.insert(QStringLiteral("offset"), StatusDisplay::number(adj.chanOffset[i], 4));
        }
        if (s.varState)
            c.insert(QStringLiteral("adev"), StatusDisplay::number(s.varState->adev(i + 1), 3));
        channels.append(c);
    }
    o.insert(QStringLiteral("channels"), channels);
    const char *const steering[] = {"none", "smoothSteering", "phaseCorrection"};
    o.insert(QStringLiteral("running"), QLatin1String(steering[int(s.progress.steering)]));
    return o;
}
