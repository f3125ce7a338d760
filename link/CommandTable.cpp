#include "CommandTable.h"

#include <cstring>
#include <iterator>

namespace {

constexpr int P = CommandTable::PollWaitSteps;
constexpr int C = CommandTable::CommandWaitSteps;

// code, request payload, CRC offset, minimum answer, wait steps, echo check
const CommandFormat kTable[] = {
    {Request::Detect,          "P10",  0, 16,  20, P, EchoCheck::None},
    {Request::CmdState,        "PC0",  0, 46,  50, P, EchoCheck::None},
    {Request::AdjState,        "PA0",  0, 96, 100, P, EchoCheck::None},
    {Request::VarStruct,       "PV0",  0, 40,  44, P, EchoCheck::None},
    {Request::PpsDelay,        "P30",  0, 16,  20, C, EchoCheck::None},
    {Request::DacCodes,        "PD0",  0, 12,  16, C, EchoCheck::None},
    {Request::Parameters,      "PR0",  0, 52,  56, C, EchoCheck::None},
    {Request::Identify,        "FN0",  0, -1,  16, 0, EchoCheck::None},
    {Request::DeviceInfo,      "7N0",  0, 40,  44, C, EchoCheck::None},
    {Request::SyncOn,          "W10",  0,  8,  12, C, EchoCheck::Letter},
    {Request::SyncOff,         "W20",  0,  8,  12, C, EchoCheck::Letter},
    {Request::IncludeChannel,  "o1?",  0,  8,  12, C, EchoCheck::Letter},
    {Request::RemoveChannel,   "o2?",  0,  8,  12, C, EchoCheck::Letter},
    {Request::Priorities,      "a10",  4, 16,  20, C, EchoCheck::Letter},
    {Request::MasterChannel,   "S?0",  0,  8,  12, C, EchoCheck::Letter},
    {Request::Mode,            "M?0",  0,  9,  13, C, EchoCheck::Letter},
    {Request::FreqOffset,      "m10",  4, 12,  16, C, EchoCheck::LetterAndDigit},
    {Request::FreqDrift,       "m20",  4, 12,  16, C, EchoCheck::LetterAndDigit},
    {Request::FreqLimit,       "m30",  4, 12,  16, C, EchoCheck::LetterAndDigit},
    {Request::PhaseCorrection, "500",  8,  8,  12, C, EchoCheck::None},
    {Request::QualIntervals,   "c10",  8,  8,  12, C, EchoCheck::Letter},
    {Request::PpsSync,         "310",  0, 15,  19, C, EchoCheck::Letter},
    {Request::DateTimeRead,    "T00",  6, 27,  31, C, EchoCheck::Letter},
    {Request::DateTimeSet,     "T10",  6, 27,  31, C, EchoCheck::Letter},
    {Request::AveWrite,        "Q10", 16, 24,  28, C, EchoCheck::Letter},
    {Request::AveRead,         "Q00", 16, 24,  28, C, EchoCheck::Letter},
    {Request::AveOn,           "X10",  0,  9,  13, C, EchoCheck::Letter},
    {Request::AveOff,          "X20",  0,  9,  13, C, EchoCheck::Letter},
    {Request::AvePermission,   "X00",  0,  9,  13, C, EchoCheck::Letter},
    {Request::JournalSize,     "G00",  0, -1,  14, C, EchoCheck::None},
    {Request::JournalNext,     "G-0",  0, -1,  56, C, EchoCheck::None},
    {Request::JournalClear,    "G!0",  0, 10,  14, C, EchoCheck::Letter},
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

namespace CommandTable {

const CommandFormat *begin() { return std::begin(kTable); }
const CommandFormat *end() { return std::end(kTable); }

const CommandFormat &format(Request request)
{
    for (const CommandFormat &row : kTable) {
        if (row.request == request)
            return row;
    }
    return kTable[0];  // unreachable: every Request has a row
}

const CommandFormat *find(const char *code3)
{
    for (const CommandFormat &row : kTable) {
        bool match = true;
        for (int i = 0; i < 3 && match; ++i) {
            if (row.code[i] == '?')
                match = isDigit(code3[i]);
            else
                match = row.code[i] == code3[i];
        }
        if (match)
            return &row;
    }
    return nullptr;
}

QByteArray code(Request request, char digit)
{
    QByteArray c(format(request).code, 3);
    c.replace('?', digit);
    return c;
}

}  // namespace CommandTable
