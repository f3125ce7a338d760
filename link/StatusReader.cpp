#include "StatusReader.h"

#include "DeviceExchange.h"
#include "DeviceIdentity.h"
#include "LinkClock.h"
#include "LinkRecords.h"

namespace {

const QString Black = QStringLiteral("black");
const QString Red = QStringLiteral("red");

struct RecordReading {
    Request request;
    const char *name;
};

const RecordReading kRecords[StatusReader::RecordCount] = {
    {Request::Detect, "getDetectStruct"},
    {Request::CmdState, "getCmdStruct"},
    {Request::AdjState, "getAdjStruct"},
    {Request::VarStruct, "getVarStruct"},
};

}  // namespace

StatusReader::StatusReader(DeviceExchange &io, LinkRecords &records, QObject *parent)
    : QObject(parent), m_io(io), m_records(records)
{
}

Request StatusReader::recordRequest(int record)
{
    return kRecords[record].request;
}

Frame::Result StatusReader::read(Request request, const char *name, QByteArray *answer)
{
    const Frame::Result result = m_io.transact(request, QByteArray(), answer);
    if (result == Frame::Result::NoStartByte)
        emit debugInfo(tr("no 0x01 at start"), Red);
    else if (result == Frame::Result::WrongChecksum)
        emit debugInfo(tr("wrong checksum! %1").arg(QLatin1String(name)), Red);
    return result;
}

Frame::Result StatusReader::readRecord(int record)
{
    const RecordReading &reading = kRecords[record];
    const quint64 number = ++m_polls[record];
    QByteArray answer;
    const Frame::Result result = read(reading.request, reading.name, &answer);
    if (result != Frame::Result::Accepted)
        return result;
    PollReading poll;
    poll.utc = m_io.clock().nowUtc();
    poll.number = number;
    switch (reading.request) {
    case Request::Detect:
        poll.record = PollReading::Detect;
        poll.detect = DETECT::fromPayload(Frame::payload(answer, DETECT::Size));
        m_records.detect.set(poll.detect);
        emit detectRcvd();
        break;
    case Request::CmdState:
        poll.record = PollReading::CmdState;
        poll.cmdState = ADJ_CMD_STATE::fromPayload(Frame::payload(answer, ADJ_CMD_STATE::Size));
        m_records.cmdState.set(poll.cmdState);
        emit cmdStateRcvd();
        break;
    case Request::AdjState:
        poll.record = PollReading::AdjState;
        poll.adjState = ADJ_STATE::fromPayload(Frame::payload(answer, ADJ_STATE::Size));
        m_records.adjState.set(poll.adjState);
        emit adjStateRcvd();
        break;
    default:
        poll.record = PollReading::VarStruct;
        poll.varState = VAR_STRUCT::fromPayload(Frame::payload(answer, VAR_STRUCT::Size));
        m_records.varState.set(poll.varState);
        emit avarStateRcvd();
        break;
    }
    emit pollAnswered(poll);
    return result;
}

Frame::Result StatusReader::getDelayPPS()
{
    QByteArray answer;
    const Frame::Result result = read(Request::PpsDelay, "getDelayPPS", &answer);
    if (result != Frame::Result::Accepted)
        return result;
    PPS_DELAY pps = PPS_DELAY::fromPayload(Frame::payload(answer, PPS_DELAY::Size));
    pps.delay *= 10;  // the device counts in 10 ns
    m_records.results.update([&pps](LinkResults &r) { r.pps = pps; });
    emit currentOffset_1PPS_isReady();
    if (m_debugLevel > 0)
        emit debugInfo(tr("1PPS delay is %1 ns").arg(static_cast<qint32>(pps.delay)), Black);
    return result;
}

Frame::Result StatusReader::getDACcodes()
{
    QByteArray answer;
    const Frame::Result result = read(Request::DacCodes, "getDACcodes", &answer);
    if (result == Frame::Result::Accepted) {
        emit debugInfo(tr("DAC1(coarce) = %1").arg(Frame::u16(answer, 8)), Black);
        emit debugInfo(tr("DAC2(fine) = %1").arg(Frame::u16(answer, 10)), Black);
    }
    return result;
}

Frame::Result StatusReader::getDeviceInfo()
{
    QByteArray answer;
    const Frame::Result result = read(Request::DeviceInfo, "getSoftwareVersion", &answer);
    if (result != Frame::Result::Accepted)
        return result;
    if (m_debugLevel > 0)
        emit debugInfo(tr("OK checksum! getDeviceInfo"), Black);
    const DeviceInfo info = DeviceIdentity::deviceInfo(answer);
    emit setDeviceInfo(info.softwareVersNumber, info.softwareVersDate, info.serialNumber,
                       info.comparatorVers, info.outherComparatorVers, info.PLIS_CPUvers,
                       info.OSFvers);
    return result;
}
