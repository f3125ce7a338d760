#pragma once

#include "CommandTable.h"

#include <QByteArray>
#include <QtGlobal>

// The serial frame layer: checksum, requests, and the acceptance of answers.
// Pure functions; nothing here touches a port.
namespace Frame {

constexpr char StartByte = 0x01;

// CRC-16, MODBUS variant (init 0xFFFF, reflected polynomial 0xA001).
quint16 crc16(const char *data, int size);
quint16 crc16(const QByteArray &data);

// Start byte, three code bytes, payload, CRC over code and payload, two zeros.
QByteArray request(const QByteArray &code3, const QByteArray &payload = QByteArray());

// Same as request(), with the code taken from the command table.
QByteArray request(Request r, const QByteArray &payload = QByteArray(), char digit = '0');

enum class Result {
    Timeout = 0,
    Accepted = 1,
    WrongChecksum = 2,
    NoStartByte = 3,
    WrongEcho = 4,
};

// Checks an answer in the fixed order: length, start byte, echo, checksum.
// `code3` is the request's code, used for the echo check of command answers.
// Answers without a CRC in the table (identification, journal) are taken on
// length alone.
Result check(const QByteArray &answer, const CommandFormat &format, const QByteArray &code3);

// The answer's payload (from offset 8) of `size` bytes; empty when the answer
// is too short to hold it.
QByteArray payload(const QByteArray &answer, int size);

// Builds an answer frame as the instrument sends it: start byte, echo of the
// code, four filler bytes, payload, CRC over bytes 1.., two trailing bytes.
// A payload shorter than the table's CRC offset is zero-padded.
QByteArray answer(const CommandFormat &format, const QByteArray &code3, const QByteArray &payload);

// Little-endian field access with bounds checks: out-of-range reads give 0.
quint8 u8(const QByteArray &b, int offset);
quint16 u16(const QByteArray &b, int offset);
qint16 i16(const QByteArray &b, int offset);
quint32 u32(const QByteArray &b, int offset);
qint32 i32(const QByteArray &b, int offset);
float f32(const QByteArray &b, int offset);

void appendU16(QByteArray &b, quint16 v);
void appendI16(QByteArray &b, qint16 v);
void appendU32(QByteArray &b, quint32 v);
void appendI32(QByteArray &b, qint32 v);
void appendF32(QByteArray &b, float v);

}  // namespace Frame
