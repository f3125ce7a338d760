#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QVector>
#include <QtGlobal>

#include <random>

// One event as the instrument records it.
struct JournalEvent {
    quint8 event = 0;  // event code, high byte of the event word
    quint8 cause = 0;  // cause code, low byte
    QDateTime when;    // the instrument's own clock
    float offset = 0;
    float trend = 0;
    float rfd[4] = {};
    quint16 dac1 = 0;
    quint16 dac2 = 0;
    quint16 channelFlags = 0;  // a nibble per channel: bit 0 present, 1 "C", 2 "+"
};

// The instrument's event journal. Records are numbered 1..N in the order they
// were written; the instrument keeps them in a ring of N slots with record 1 in
// the start slot S and record r in slot (S - (r - 1)) mod N, so a reader that
// walks S, S-1, ..., 0, N-1, ..., S+1 meets them in number order.
class EventJournal
{
public:
    static constexpr int RecordSize = 44;
    static constexpr int MaxRecords = 65535;  // the count travels as a u16

    int count() const { return m_events.size(); }
    void clear();
    // Ignored once the journal is full.
    void append(const JournalEvent &event);

    void setStartSlot(int slot) { m_startSlot = qMax(0, slot); }
    int startSlot() const;  // the effective slot, below count()

    int slotOf(int number) const;    // 1..count() -> slot
    int numberAt(int slot) const;    // slot -> 1..count(), 0 when out of range
    QByteArray slot(int slot) const; // 44 bytes, all zero when out of range
    const JournalEvent &event(int number) const { return m_events.at(number - 1); }

    // Reading as the instrument serves it: beginReading() returns the count
    // and rewinds to slot 0; each nextRecord() gives the next slot's record,
    // wrapping after the last. A download sees the journal as it was when it
    // began, even if events are added meanwhile.
    int beginReading();
    QByteArray nextRecord();

    // A plausible history of `count` events ending at `end`.
    void fillHistory(int count, const QDateTime &end, std::mt19937_64 &rng);

    static QByteArray encode(const JournalEvent &event, quint16 number);

private:
    QVector<JournalEvent> m_events;  // record number r at index r - 1
    int m_startSlot = 0;
    QVector<JournalEvent> m_reading;  // shared copy taken by beginReading()
    int m_readingStart = 0;
    int m_cursor = 0;
};
