#include "JournalRecord.h"

#include "Frame.h"

using namespace Frame;

JournalRecord JournalRecord::fromPayload(const QByteArray &p)
{
    JournalRecord r;
    r.reserved = u16(p, 0);
    r.number = u16(p, 2);
    r.offset = f32(p, 4);
    for (int i = 0; i < 4; ++i)
        r.rfd[i] = f32(p, 8 + 4 * i);
    r.dac2 = u16(p, 24);
    r.dac1 = u16(p, 26);
    r.channels = u16(p, 28);
    r.event = u16(p, 30);
    r.day = u8(p, 32);
    r.month = u8(p, 33);
    r.year = u16(p, 34);
    r.second = u8(p, 36);
    r.minute = u8(p, 37);
    r.hour = u16(p, 38);
    r.trend = f32(p, 40);
    return r;
}

QByteArray JournalRecord::toPayload() const
{
    QByteArray p;
    appendU16(p, reserved);
    appendU16(p, number);
    appendF32(p, offset);
    for (float v : rfd)
        appendF32(p, v);
    appendU16(p, dac2);
    appendU16(p, dac1);
    appendU16(p, channels);
    appendU16(p, event);
    p.append(char(day));
    p.append(char(month));
    appendU16(p, year);
    p.append(char(second));
    p.append(char(minute));
    appendU16(p, hour);
    appendF32(p, trend);
    return p;
}
