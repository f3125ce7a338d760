#include "Records.h"

#include "Frame.h"

#include <cstring>

using namespace Frame;

ADJ_CMD_STATE ADJ_CMD_STATE::fromPayload(const QByteArray &p)
{
    ADJ_CMD_STATE r;
    r.syncStatus = i16(p, 0);
    for (int i = 0; i < 4; ++i) {
        r.qualState[i] = i16(p, 2 + 2 * i);
        r.chanWord[i] = i16(p, 10 + 2 * i);
        r.qualTimeLeft[i] = u16(p, 18 + 2 * i);
    }
    r.estimationTimeLeft = u16(p, 26);
    for (int i = 0; i < 8; ++i)
        r.reserved[i] = u8(p, 28 + i);
    r.flags = u16(p, 36);
    return r;
}

QByteArray ADJ_CMD_STATE::toPayload() const
{
    QByteArray p;
    appendI16(p, syncStatus);
    // Index loops: a range-for would bind a reference to a packed member.
    for (int i = 0; i < 4; ++i)
        appendI16(p, qualState[i]);
    for (int i = 0; i < 4; ++i)
        appendI16(p, chanWord[i]);
    for (int i = 0; i < 4; ++i)
        appendU16(p, qualTimeLeft[i]);
    appendU16(p, estimationTimeLeft);
    p.append(reinterpret_cast<const char *>(reserved), sizeof reserved);
    appendU16(p, flags);
    return p;
}

DETECT DETECT::fromPayload(const QByteArray &p)
{
    DETECT r;
    for (int i = 0; i < 4; ++i)
        r.chan[i] = i16(p, 2 * i);
    return r;
}

QByteArray DETECT::toPayload() const
{
    QByteArray p;
    for (int i = 0; i < 4; ++i)
        appendI16(p, chan[i]);
    return p;
}

namespace {

// The records are packed, so their float arrays may sit at any address:
// elements are copied, never read or written through a float pointer.
void readFloats(const QByteArray &p, int offset, void *out, int count)
{
    for (int i = 0; i < count; ++i) {
        const float v = f32(p, offset + 4 * i);
        std::memcpy(static_cast<char *>(out) + i * sizeof v, &v, sizeof v);
    }
}

void writeFloats(QByteArray &p, const void *in, int count)
{
    for (int i = 0; i < count; ++i) {
        float v;
        std::memcpy(&v, static_cast<const char *>(in) + i * sizeof v, sizeof v);
        appendF32(p, v);
    }
}

}  // namespace

ADJ_STATE ADJ_STATE::fromPayload(const QByteArray &p)
{
    ADJ_STATE r;
    r.freqOffset = f32(p, 0);
    r.freqDrift = f32(p, 4);
    readFloats(p, 8, r.coeff, 4);
    readFloats(p, 24, r.reserved1, 8);
    readFloats(p, 56, r.chanOffset, 4);
    readFloats(p, 72, r.reserved2, 4);
    return r;
}

QByteArray ADJ_STATE::toPayload() const
{
    QByteArray p;
    appendF32(p, freqOffset);
    appendF32(p, freqDrift);
    writeFloats(p, coeff, 4);
    writeFloats(p, reserved1, 8);
    writeFloats(p, chanOffset, 4);
    writeFloats(p, reserved2, 4);
    return p;
}

VAR_STRUCT VAR_STRUCT::fromPayload(const QByteArray &p)
{
    VAR_STRUCT r;
    readFloats(p, 0, r.value, 8);
    return r;
}

QByteArray VAR_STRUCT::toPayload() const
{
    QByteArray p;
    writeFloats(p, value, 8);
    return p;
}

PPS_DELAY PPS_DELAY::fromPayload(const QByteArray &p)
{
    PPS_DELAY r;
    r.delay = u32(p, 0);
    r.status = i16(p, 4);
    r.external = i16(p, 6);
    return r;
}

QByteArray PPS_DELAY::toPayload() const
{
    QByteArray p;
    appendU32(p, delay);
    appendI16(p, status);
    appendI16(p, external);
    return p;
}

namespace ChannelState {

int of(const DETECT &detect, const ADJ_CMD_STATE &cmd, int channel)
{
    if (channel < 1 || channel > 4)
        return NotDetected;
    const int i = channel - 1;
    if (detect.chan[i] <= 0)
        return NotDetected;
    const int word = cmd.chanWord[i];
    if (word & 1) {
        const int role = (word >> 4) & 7;
        return (role == 0 || role == 7) ? InGroup : 10 + role;
    }
    return cmd.qualState[i] != 0 ? Qualifying : NotInGroup;
}

}  // namespace ChannelState
