#include "InstrumentAnswers.h"

#include "InstrumentModel.h"

#include "link/Frame.h"

namespace InstrumentAnswers {

using namespace Frame;

namespace {

QByteArray oneByte(int value)
{
    return QByteArray(1, char(value));
}

QByteArray floatPayload(float value)
{
    QByteArray p;
    appendF32(p, value);
    return p;
}

// T10 carries year - 2000, month, day, hour, minute, second as bytes.
QDateTime decodeDateTime(const QByteArray &p)
{
    const QDate date(2000 + u8(p, 0), u8(p, 1), u8(p, 2));
    const QTime time(u8(p, 3), u8(p, 4), u8(p, 5));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

QByteArray ppsSync(InstrumentModel &model)
{
    const InstrumentModel::PpsSyncResult r = model.syncPps();
    QByteArray p;
    appendI16(p, r.status);
    appendI32(p, r.delay);
    p.append(char(r.external ? 1 : 0));
    return p;
}

QByteArray dateTime(InstrumentModel &model, Request r, const QByteArray &p, bool confirmOther)
{
    if (r == Request::DateTimeSet) {
        const QDateTime wanted = decodeDateTime(p);
        // A date the calendar does not have leaves the clock alone.
        if (wanted.isValid())
            model.setDeviceTime(confirmOther ? wanted.addSecs(60) : wanted);
    }
    return dateTimeText(model.deviceTime());
}

}  // namespace

QByteArray dateTimeText(const QDateTime &time)
{
    return (time.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ')
            + time.toString(QStringLiteral("hh:mm:ss")))
        .toLatin1();
}

float otherValue(float written)
{
    return written != 0.0f ? written * 0.5f : 1e-13f;
}

QByteArray reply(InstrumentModel &model, const CommandFormat &format, const QByteArray &request,
                 bool confirmOther)
{
    QByteArray code3 = request.mid(1, 3);
    const QByteArray p = request.mid(4, format.payloadSize);
    const char digit = code3.at(2);
    auto confirmed = [&](float written) { return confirmOther ? otherValue(written) : written; };

    QByteArray out;
    switch (format.request) {
    case Request::Detect: out = model.detect().toPayload(); break;
    case Request::CmdState: out = model.cmdState().toPayload(); break;
    case Request::AdjState: out = model.adjState().toPayload(); break;
    case Request::VarStruct: out = model.varState().toPayload(); break;
    case Request::PpsDelay: out = model.ppsRecord().toPayload(); break;
    case Request::DacCodes:
        appendU16(out, model.dacCoarse());
        appendU16(out, model.dacFine());
        break;
    case Request::Parameters: out = model.parameterBlock(); break;
    case Request::Identify: out = model.identity().identificationField(); break;
    case Request::DeviceInfo: out = model.identity().infoBlock(); break;
    case Request::SyncOn:
    case Request::SyncOff:
        model.setSync(format.request == Request::SyncOn);
        break;
    case Request::IncludeChannel: model.includeChannel(digit - '0'); break;
    case Request::RemoveChannel: model.removeChannel(digit - '0'); break;
    case Request::Priorities: {
        const quint8 prio[4] = {u8(p, 0), u8(p, 1), u8(p, 2), u8(p, 3)};
        model.setPriorities(prio);
        out = p + QByteArray(4, '\0');
        break;
    }
    case Request::MasterChannel:
        // The outcome travels in place of the code's last character.
        code3[2] = model.setMaster(code3.at(1));
        break;
    case Request::Mode:
        model.setMode(code3.at(1));
        out = oneByte(model.switchingMode() ? '2' : '1');
        break;
    case Request::FreqOffset: out = floatPayload(model.setFreqOffset(confirmed(f32(p, 0)))); break;
    case Request::FreqDrift: out = floatPayload(model.setFreqDrift(confirmed(f32(p, 0)))); break;
    case Request::FreqLimit: out = floatPayload(model.setFreqLimit(confirmed(f32(p, 0)))); break;
    case Request::PhaseCorrection: model.applyPhaseStep(f32(p, 0), f32(p, 4)); break;
    case Request::QualIntervals: {
        const quint16 seconds[4] = {u16(p, 0), u16(p, 2), u16(p, 4), u16(p, 6)};
        model.setQualIntervals(seconds);
        break;
    }
    case Request::PpsSync: out = ppsSync(model); break;
    case Request::DateTimeRead:
    case Request::DateTimeSet: out = dateTime(model, format.request, p, confirmOther); break;
    case Request::AveWrite:
        model.setAveValues(p);
        out = model.aveValues();
        break;
    case Request::AveRead: out = model.aveValues(); break;
    case Request::AveOn:
    case Request::AveOff:
        model.setAveEnabled(format.request == Request::AveOn);
        out = oneByte(model.aveEnabled() ? 1 : 0);
        break;
    case Request::AvePermission: out = oneByte(model.aveEnabled() ? 1 : 0); break;
    case Request::JournalSize: appendU16(out, quint16(model.journal().beginReading())); break;
    case Request::JournalNext: out = model.journal().nextRecord(); break;
    case Request::JournalClear: model.journal().clear(); break;
    }
    return Frame::answer(format, code3, out);
}

}  // namespace InstrumentAnswers
