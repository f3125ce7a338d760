#pragma once

#include <QByteArray>
#include <QtGlobal>

// One entry of the instrument's event journal, as answered to G-0 (44 bytes,
// little-endian).
struct JournalRecord {
    quint16 reserved = 0;
    quint16 number = 0;
    float offset = 0;
    float rfd[4] = {};      // relative frequency difference, channels 1..4
    quint16 dac2 = 0;
    quint16 dac1 = 0;
    quint16 channels = 0;   // one nibble per channel, channel 1 lowest
    quint16 event = 0;      // high byte event code, low byte cause code
    quint8 day = 0;
    quint8 month = 0;
    quint16 year = 0;
    quint8 second = 0;
    quint8 minute = 0;
    quint16 hour = 0;
    float trend = 0;

    static constexpr int Size = 44;
    static JournalRecord fromPayload(const QByteArray &payload);
    QByteArray toPayload() const;

    int eventCode() const { return event >> 8; }
    int causeCode() const { return event & 0xFF; }
};
