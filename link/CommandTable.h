#pragma once

#include <QByteArray>

// Every request the instrument understands, with the shape of its answer.
enum class Request {
    Detect,          // P10
    CmdState,        // PC0
    AdjState,        // PA0
    VarStruct,       // PV0
    PpsDelay,        // P30
    DacCodes,        // PD0
    Parameters,      // PR0
    Identify,        // FN0
    DeviceInfo,      // 7N0
    SyncOn,          // W10
    SyncOff,         // W20
    IncludeChannel,  // o1d
    RemoveChannel,   // o2d
    Priorities,      // a10
    MasterChannel,   // Sd0
    Mode,            // Md0
    FreqOffset,      // m10
    FreqDrift,       // m20
    FreqLimit,       // m30
    PhaseCorrection, // 500
    QualIntervals,   // c10
    PpsSync,         // 310
    DateTimeRead,    // T00
    DateTimeSet,     // T10
    AveWrite,        // Q10
    AveRead,         // Q00
    AveOn,           // X10
    AveOff,          // X20
    AvePermission,   // X00
    JournalSize,     // G00
    JournalNext,     // G-0
    JournalClear,    // G!0
};

// Which echo bytes of the answer are compared with the request's code.
enum class EchoCheck {
    None,            // status polls, identification, device information, journal
    Letter,          // byte 1
    LetterAndDigit,  // bytes 1 and 2 (the m commands)
};

struct CommandFormat {
    Request request;
    char code[4];     // three ASCII characters; '?' marks the parameter digit
    int payloadSize;  // request payload bytes: 0, 4, 6, 8 or 16
    int crcOffset;    // answer offset of the CRC, -1 when the answer has none
    int minAnswer;    // bytes that make a complete answer
    int waitSteps;    // 50 ms steps to wait for minAnswer (0: fixed identification wait)
    EchoCheck echo;
};

namespace CommandTable {

constexpr int StepMs = 50;
constexpr int PollWaitSteps = 200;
constexpr int CommandWaitSteps = 20;
constexpr int IdentifyWaitMs = 100;

const CommandFormat &format(Request request);

// All rows, in table order (for tests and the simulator).
const CommandFormat *begin();
const CommandFormat *end();

// The row whose code matches three request bytes (parameter digits match any
// digit), or nullptr.
const CommandFormat *find(const char *code3);

// The three code bytes for a request, with the parameter digit filled in.
QByteArray code(Request request, char digit = '0');

}  // namespace CommandTable
