// Answers from the instrument for every request of the command table.
//
// Input: byte 0 picks the table row, byte 1 the request's parameter (the
// digit of "o1d", "Sd0", "Md0", or a channel number), the rest is the answer
// as it arrives on the serial line. The answer goes through the acceptance
// checks and the record decoding on their own, and then through the status
// readings and the setting commands over a port that gives this answer to
// every request.

#include "fuzz/Require.h"
#include "link/CommandTable.h"
#include "link/DateTimeShift.h"
#include "link/DeviceCommands.h"
#include "link/DeviceExchange.h"
#include "link/DeviceIdentity.h"
#include "link/Frame.h"
#include "link/JournalFile.h"
#include "link/JournalRecord.h"
#include "link/LinkClock.h"
#include "link/LinkRecords.h"
#include "link/SerialPort.h"
#include "link/StatusReader.h"

#include <cstdint>
#include <iterator>

namespace {

// Time passes only when the link waits, so a missing answer costs nothing.
class FuzzClock : public LinkClock
{
public:
    QDateTime now() const override { return nowUtc().toLocalTime(); }
    QDateTime nowUtc() const override { return kStart.addMSecs(m_ms); }
    qint64 monotonicMs() const override { return m_ms; }
    void sleepMs(int ms) override { m_ms += qMax(0, ms); }

private:
    const QDateTime kStart = QDateTime(QDate(2026, 1, 7), QTime(15, 45, 0), Qt::UTC);
    qint64 m_ms = 0;
};

// Gives the same answer to every request, and checks every request that goes
// out: a channel or mode digit the instrument does not know must never be sent.
class AnsweringPort : public SerialPort
{
public:
    AnsweringPort(LinkClock &clock, const QByteArray &answer) : m_clock(clock), m_answer(answer) {}

    void setPortName(const QString &) override {}
    QString portName() const override { return QStringLiteral("FUZZ"); }
    bool open() override { return true; }
    PortFailure openFailure() const override { return PortFailure(); }
    void close() override {}
    bool isOpen() const override { return true; }
    qint64 bytesAvailable() override { return m_buffer.size(); }
    QByteArray readAll() override
    {
        const QByteArray b = m_buffer;
        m_buffer.clear();
        return b;
    }
    qint64 write(const QByteArray &frame) override
    {
        checkRequest(frame);
        m_buffer += m_answer;
        return frame.size();
    }
    void flush() override {}
    void waitStep(int ms) override { m_clock.sleepMs(ms); }

private:
    static void checkRequest(const QByteArray &frame)
    {
        require(frame.size() >= 8 && frame.at(0) == Frame::StartByte, "malformed request");
        const char letter = frame.at(1);
        const char digit = frame.at(2);
        if (letter == 'o')
            require(frame.at(3) >= '1' && frame.at(3) <= '4', "channel digit out of range");
        if (letter == 'S')
            require(digit >= '1' && digit <= '4', "master channel digit out of range");
        if (letter == 'M')
            require(digit == '1' || digit == '2', "mode digit out of range");
    }

    LinkClock &m_clock;
    QByteArray m_answer;
    QByteArray m_buffer;
};

// What the program takes from an accepted answer, for rows that no reading
// below decodes.
void decodeAlone(Request r, const QByteArray &answer)
{
    switch (r) {
    case Request::Identify: {
        const QString text = DeviceIdentity::identificationText(answer);
        require(text.size() <= DeviceIdentity::TextSize, "identification longer than its field");
        DeviceIdentity::qualifies(text);
        DeviceIdentity::displayItem(QStringLiteral("COM3"), text);
        break;
    }
    case Request::JournalNext:
        JournalFile::line(JournalRecord::fromPayload(Frame::payload(answer, JournalRecord::Size)));
        break;
    default:
        break;
    }
}

// Decoding a record and encoding it again gives back the same bytes.
template <typename Record>
void roundTrip(const QByteArray &answer)
{
    const QByteArray payload = Frame::payload(answer, Record::Size);
    const Record record = Record::fromPayload(payload);
    const QByteArray again = record.toPayload();
    require(again.size() == Record::Size, "record size");
    if (!payload.isEmpty())
        require(again == payload, "record round trip");
}

void decodeRecords(const QByteArray &answer)
{
    roundTrip<DETECT>(answer);
    roundTrip<ADJ_CMD_STATE>(answer);
    roundTrip<PPS_DELAY>(answer);
    ADJ_STATE::fromPayload(Frame::payload(answer, ADJ_STATE::Size));
    VAR_STRUCT::fromPayload(Frame::payload(answer, VAR_STRUCT::Size));
    const DETECT detect = DETECT::fromPayload(Frame::payload(answer, DETECT::Size));
    const ADJ_CMD_STATE cmd = ADJ_CMD_STATE::fromPayload(Frame::payload(answer, ADJ_CMD_STATE::Size));
    for (int channel = 1; channel <= 4; ++channel)
        ChannelState::of(detect, cmd, channel);
}

// The setting command that sends each row's request, with its parameters
// taken from the parameter byte.
int commandFor(Request r, quint8 parameter, CommandParameters &p)
{
    SyncControlInfo &sync = p.syncControl_info;
    const qint8 channel = qint8(parameter);
    switch (r) {
    case Request::SyncOn:
    case Request::SyncOff:
        sync.SyncIsOn = r == Request::SyncOn;
        return COMMAND_SET_SYNC_STATUS;
    case Request::IncludeChannel:
    case Request::RemoveChannel:
        for (int i = 0; i < 4; ++i) {
            sync.chanIncluded[i] = parameter & (1 << i);
            sync.stat[i] = qint16((parameter >> (4 + i)) & 1 ? 3 : 1);
        }
        return COMMAND_SET_CHAN_STAT;
    case Request::Priorities:
        sync.Ref_Chan = channel;
        sync.BackUp1_Chan = channel / 2;
        sync.BackUp2_Chan = channel % 5;
        sync.BackUp3_Chan = channel - 1;
        return COMMAND_SET_SYNC_CHLIST;
    case Request::MasterChannel:
        sync.Ref_Chan = channel;
        return COMMAND_MASTER_CHAN;
    case Request::Mode:
        sync.modeNew = char(parameter);
        return COMMAND_SET_MODE;
    case Request::FreqOffset:
        p.freq_newOffset = channel * 1e-12;
        return COMMAND_SET_FREQ_OFFSET;
    case Request::FreqDrift:
        p.drift_newOffset = channel * 1e-16;
        return COMMAND_SET_FREQ_DRIFT;
    case Request::FreqLimit:
        p.freq_diffLimit_newValue = channel * 1e-10;
        return COMMAND_SET_FREQ_LIMIT;
    case Request::Parameters:
        return COMMAND_GET_FREQ_LIMIT;
    case Request::PhaseCorrection:
        p.phaseControl_info.phaseOffset = channel * 1000;
        p.phaseControl_info.timerInterval = parameter;
        return COMMAND_PHASE_CORRECTION;
    case Request::QualIntervals:
        p.qualInterval_info.qual_Interval_chan1 = parameter;
        return COMMAND_SET_QUAL_INTERVALS;
    case Request::PpsSync:
        return COMMAND_1PPS_SYNC;
    case Request::DateTimeRead:
        return COMMAND_GET_DATETIME;
    case Request::DateTimeSet:
        p.dateTime_info.dateDifference = channel;
        p.dateTime_info.timeDifference = channel * 3600;
        return COMMAND_SET_DATETIME;
    case Request::AveWrite:
        p.ave_info.aveNew[0] = channel;
        return COMMAND_SET_AVE;
    case Request::AveRead:
        return COMMAND_GET_AVE;
    case Request::AveOn:
    case Request::AveOff:
        p.ave_info.enabledNew = r == Request::AveOn;
        return COMMAND_SET_AVE_ENABLED;
    case Request::AvePermission:
        return COMMAND_GET_AVE_ENABLED;
    default:
        return -1;
    }
}

// The status readings: the four polled records and the occasional ones.
void read(StatusReader &reader, Request r)
{
    for (int record = 0; record < StatusReader::RecordCount; ++record) {
        if (StatusReader::recordRequest(record) == r)
            reader.readRecord(record);
    }
    if (r == Request::PpsDelay)
        reader.getDelayPPS();
    else if (r == Request::DacCodes)
        reader.getDACcodes();
    else if (r == Request::DeviceInfo)
        reader.getDeviceInfo();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int rows = int(std::distance(CommandTable::begin(), CommandTable::end()));
    const CommandFormat &format = CommandTable::begin()[data[0] % rows];
    const quint8 parameter = data[1];
    const QByteArray answer(reinterpret_cast<const char *>(data + 2), int(size - 2));
    const QByteArray code3 = CommandTable::code(format.request, char('0' + parameter % 10));

    // Acceptance on its own, and a frame built for this row always passes it.
    const Frame::Result result = Frame::check(answer, format, code3);
    require(result >= Frame::Result::Timeout && result <= Frame::Result::WrongEcho, "result");
    const QByteArray built = Frame::answer(format, code3, answer.left(128));
    require(Frame::check(built, format, code3) == Frame::Result::Accepted, "built answer rejected");
    if (result == Frame::Result::Accepted)
        decodeAlone(format.request, answer);
    decodeRecords(answer);

    // The same answer through the link's own readings and commands.
    FuzzClock clock;
    AnsweringPort port(clock, answer);
    DeviceExchange io(clock);
    io.setPort(&port);
    LinkRecords records;
    StatusReader reader(io, records);
    reader.setDebugLevel(1);
    read(reader, format.request);
    DeviceCommands commands(io, records);
    commands.setDebugLevel(1);
    CommandParameters params;
    const int code = commandFor(format.request, parameter, params);
    if (code >= 0)
        commands.execute(code, params);
    commands.checkPhaseCorrection();
    return 0;
}
