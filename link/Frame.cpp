#include "Frame.h"

#include <cstring>

namespace Frame {

quint16 crc16(const char *data, int size)
{
    quint16 crc = 0xFFFF;
    for (int i = 0; i < size; ++i) {
        crc ^= static_cast<quint8>(data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            if (crc & 1)
                crc = static_cast<quint16>((crc >> 1) ^ 0xA001);
            else
                crc = static_cast<quint16>(crc >> 1);
        }
    }
    return crc;
}

quint16 crc16(const QByteArray &data)
{
    return crc16(data.constData(), data.size());
}

QByteArray request(const QByteArray &code3, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(8 + payload.size());
    frame.append(StartByte);
    frame.append(code3.left(3));
    frame.append(payload);
    appendU16(frame, crc16(frame.constData() + 1, frame.size() - 1));
    frame.append('\0');
    frame.append('\0');
    return frame;
}

QByteArray request(Request r, const QByteArray &payload, char digit)
{
    return request(CommandTable::code(r, digit), payload);
}

Result check(const QByteArray &answer, const CommandFormat &format, const QByteArray &code3)
{
    if (answer.size() < format.minAnswer)
        return Result::Timeout;
    if (answer.at(0) != StartByte)
        return Result::NoStartByte;
    if (format.echo != EchoCheck::None) {
        if (code3.size() < 3 || answer.at(1) != code3.at(0))
            return Result::WrongEcho;
        if (format.echo == EchoCheck::LetterAndDigit && answer.at(2) != code3.at(1))
            return Result::WrongEcho;
    }
    if (format.crcOffset > 0) {
        if (format.crcOffset + 2 > answer.size())
            return Result::WrongChecksum;
        const quint16 expected = crc16(answer.constData() + 1, format.crcOffset - 1);
        if (u16(answer, format.crcOffset) != expected)
            return Result::WrongChecksum;
    }
    return Result::Accepted;
}

QByteArray payload(const QByteArray &answer, int size)
{
    if (size < 0 || answer.size() < 8 + size)
        return QByteArray();
    return answer.mid(8, size);
}

QByteArray answer(const CommandFormat &format, const QByteArray &code3, const QByteArray &payload)
{
    QByteArray frame;
    frame.append(StartByte);
    frame.append(code3.left(3));
    frame.append(QByteArray(4, '\0'));
    frame.append(payload);
    if (format.crcOffset > 0) {
        if (frame.size() < format.crcOffset)
            frame.append(QByteArray(format.crcOffset - frame.size(), '\0'));
        frame.truncate(format.crcOffset);
        appendU16(frame, crc16(frame.constData() + 1, frame.size() - 1));
    }
    if (frame.size() < format.minAnswer)
        frame.append(QByteArray(format.minAnswer - frame.size(), '\0'));
    return frame;
}

namespace {

template <typename T>
T readLe(const QByteArray &b, int offset)
{
    if (offset < 0 || offset + int(sizeof(T)) > b.size())
        return T(0);
    quint32 v = 0;
    for (int i = int(sizeof(T)) - 1; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b.at(offset + i));
    return static_cast<T>(v);
}

void appendLe(QByteArray &b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

quint8 u8(const QByteArray &b, int offset) { return readLe<quint8>(b, offset); }
quint16 u16(const QByteArray &b, int offset) { return readLe<quint16>(b, offset); }
qint16 i16(const QByteArray &b, int offset) { return static_cast<qint16>(readLe<quint16>(b, offset)); }
quint32 u32(const QByteArray &b, int offset) { return readLe<quint32>(b, offset); }
qint32 i32(const QByteArray &b, int offset) { return static_cast<qint32>(readLe<quint32>(b, offset)); }

float f32(const QByteArray &b, int offset)
{
    const quint32 bits = u32(b, offset);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void appendU16(QByteArray &b, quint16 v) { appendLe(b, v, 2); }
void appendI16(QByteArray &b, qint16 v) { appendLe(b, static_cast<quint16>(v), 2); }
void appendU32(QByteArray &b, quint32 v) { appendLe(b, v, 4); }
void appendI32(QByteArray &b, qint32 v) { appendLe(b, static_cast<quint32>(v), 4); }

void appendF32(QByteArray &b, float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    appendLe(b, bits, 4);
}

}  // namespace Frame
