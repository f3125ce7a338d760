#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QtGlobal>

// The instrument's status records in its own byte layout (little-endian on
// the wire). Each record is decoded field by field, so the host's byte order
// and padding never matter; the packed layouts below only document the sizes.

#pragma pack(push, 1)

// Command state, answer to PC0.
struct ADJ_CMD_STATE {
    qint16 syncStatus = 0;            // 1 = synchronised
    qint16 qualState[4] = {};         // non-zero while the channel is qualified
    qint16 chanWord[4] = {};          // bit 0 in use, bits 4..6 backup number
    quint16 qualTimeLeft[4] = {};     // 10 ms units
    quint16 estimationTimeLeft = 0;   // 10 ms units, 0 = estimation finished
    quint8 reserved[8] = {};
    quint16 flags = 0;                // bit 12 switching mode, bit 8 AVE permitted

    static constexpr int Size = 38;
    static ADJ_CMD_STATE fromPayload(const QByteArray &payload);
    QByteArray toPayload() const;

    bool switchingMode() const { return flags & 0x1000; }
    bool avePermitted() const { return flags & 0x0100; }
};

// Signal detection, answer to P10.
struct DETECT {
    qint16 chan[4] = {};  // low byte detected, high byte error

    // Of channel index 0..3.
    bool detected(int index) const { return (quint16(chan[index]) & 0x00FF) != 0; }
    bool signalError(int index) const { return (quint16(chan[index]) & 0xFF00) != 0; }

    static constexpr int Size = 8;
    static DETECT fromPayload(const QByteArray &payload);
    QByteArray toPayload() const;
};

// Adjustment state, answer to PA0: 22 floats.
struct ADJ_STATE {
    float freqOffset = 0;
    float freqDrift = 0;
    float coeff[4] = {};
    float reserved1[8] = {};
    float chanOffset[4] = {};
    float reserved2[4] = {};

    static constexpr int Size = 88;
    static ADJ_STATE fromPayload(const QByteArray &payload);
    QByteArray toPayload() const;
};

// Variances, answer to PV0: Allan deviation at 1 s in the even words.
struct VAR_STRUCT {
    float value[8] = {};

    static constexpr int Size = 32;
    static VAR_STRUCT fromPayload(const QByteArray &payload);
    QByteArray toPayload() const;

    float adev(int channel) const { return value[2 * (channel - 1)]; }  // channel 1..4
};

// 1PPS delay, answer to P30. The link keeps `delay` in nanoseconds.
struct PPS_DELAY {
    quint32 delay = 0;
    qint16 status = 0;
    qint16 external = 0;  // 0 unavailable, 1 available

    static constexpr int Size = 8;
    static PPS_DELAY fromPayload(const QByteArray &payload);
    QByteArray toPayload() const;
};

#pragma pack(pop)

static_assert(sizeof(ADJ_CMD_STATE) == ADJ_CMD_STATE::Size, "ADJ_CMD_STATE layout");
static_assert(sizeof(DETECT) == DETECT::Size, "DETECT layout");
static_assert(sizeof(ADJ_STATE) == ADJ_STATE::Size, "ADJ_STATE layout");
static_assert(sizeof(VAR_STRUCT) == VAR_STRUCT::Size, "VAR_STRUCT layout");
static_assert(sizeof(PPS_DELAY) == PPS_DELAY::Size, "PPS_DELAY layout");

// Channel state codes derived from DETECT and ADJ_CMD_STATE.
namespace ChannelState {
constexpr int NotDetected = 0;
constexpr int NotInGroup = 1;
constexpr int InGroup = 3;
constexpr int Qualifying = 5;
constexpr int Backup1 = 11;
constexpr int Backup2 = 12;
constexpr int Backup3 = 13;

// The state of channel 1..4: 0, 1, 3, 5 or 10 + backup role (11..16).
int of(const DETECT &detect, const ADJ_CMD_STATE &cmd, int channel);
}  // namespace ChannelState

Q_DECLARE_METATYPE(ADJ_CMD_STATE)
Q_DECLARE_METATYPE(DETECT)
Q_DECLARE_METATYPE(ADJ_STATE)
Q_DECLARE_METATYPE(VAR_STRUCT)
Q_DECLARE_METATYPE(PPS_DELAY)
