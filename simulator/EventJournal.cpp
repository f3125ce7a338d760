#include "EventJournal.h"

#include "link/Frame.h"

namespace {

// Events of a working instrument's life, each with its usual cause; the
// history cycles through them.
struct Scripted {
    quint8 event;
    quint8 cause;
};

const Scripted kHistory[] = {
    {1, 3},   // Switching on unit, unit local program
    {25, 3},  // AC power in use
    {2, 20},  {3, 20}, {4, 20},   // testing signals 1..3, inclusion started
    {11, 21},                     // testing is finished
    {7, 21},  {8, 21}, {9, 21},   // signals 1..3 in use
    {6, 2},                       // PLL on, remote PC
    {17, 2},                      // frequency offset changed
    {33, 2},                      // trend changed
    {14, 6},                      // signal 3 removed, no input signal
    {4, 20},  {9, 21},            // signal 3 back
    {31, 2},  {32, 2},            // 1PPS synchronisation
    {47, 18}, {48, 18},           // phase correction
    {51, 2},                      // mode changed
    {34, 2},                      // limit changed
    {20, 2},  {21, 2},            // date and time set
    {13, 4},  {3, 20}, {8, 21},   // signal 2 out of limits and back
};

constexpr int kHistoryLength = int(sizeof kHistory / sizeof kHistory[0]);

// The record number in `slot` of a ring of n slots whose record 1 is in
// `start`. The mapping is its own inverse: the slot of number r is
// ringNumber(start, r - 1, n) - 1.
int ringNumber(int start, int slot, int n)
{
    return ((start - slot) % n + n) % n + 1;
}

}  // namespace

void EventJournal::clear()
{
    m_events.clear();
    m_reading.clear();
    m_cursor = 0;
}

void EventJournal::append(const JournalEvent &event)
{
    if (m_events.size() < MaxRecords)
        m_events.append(event);
}

int EventJournal::startSlot() const
{
    return m_events.isEmpty() ? 0 : m_startSlot % m_events.size();
}

int EventJournal::beginReading()
{
    m_reading = m_events;
    m_readingStart = startSlot();
    m_cursor = 0;
    return m_reading.size();
}

QByteArray EventJournal::nextRecord()
{
    // A reader that skips G00 reads the journal as it stands.
    if (m_reading.isEmpty())
        beginReading();
    const int n = m_reading.size();
    if (n == 0)
        return QByteArray(RecordSize, '\0');
    const int slot = m_cursor % n;
    m_cursor = (slot + 1) % n;
    const int number = ringNumber(m_readingStart, slot, n);
    return encode(m_reading.at(number - 1), quint16(number));
}

int EventJournal::slotOf(int number) const
{
    const int n = m_events.size();
    if (number < 1 || number > n)
        return -1;
    return ringNumber(startSlot(), number - 1, n) - 1;
}

int EventJournal::numberAt(int slot) const
{
    const int n = m_events.size();
    if (slot < 0 || slot >= n)
        return 0;
    return ringNumber(startSlot(), slot, n);
}

QByteArray EventJournal::slot(int slot) const
{
    const int number = numberAt(slot);
    if (number == 0)
        return QByteArray(RecordSize, '\0');
    return encode(m_events.at(number - 1), quint16(number));
}

QByteArray EventJournal::encode(const JournalEvent &e, quint16 number)
{
    using namespace Frame;
    QByteArray b;
    b.reserve(RecordSize);
    appendU16(b, 0x5A5A);  // the instrument's record marker, unread by the program
    appendU16(b, number);
    appendF32(b, e.offset);
    for (float v : e.rfd)
        appendF32(b, v);
    appendU16(b, e.dac2);
    appendU16(b, e.dac1);
    appendU16(b, e.channelFlags);
    appendU16(b, quint16((e.event << 8) | e.cause));
    const QDate d = e.when.date();
    const QTime t = e.when.time();
    b.append(char(d.day()));
    b.append(char(d.month()));
    appendU16(b, quint16(d.year()));
    b.append(char(t.second()));
    b.append(char(t.minute()));
    appendU16(b, quint16(t.hour()));
    appendF32(b, e.trend);
    return b;
}

void EventJournal::fillHistory(int count, const QDateTime &end, std::mt19937_64 &rng)
{
    count = qBound(0, count, MaxRecords);
    std::uniform_int_distribution<int> gapSeconds(40, 4 * 3600);
    std::normal_distribution<double> noise(0.0, 1.0);

    // Times backwards from the end, then the events forwards in time.
    QVector<QDateTime> times(count);
    QDateTime t = end;
    for (int i = count - 1; i >= 0; --i) {
        times[i] = t;
        t = t.addSecs(-gapSeconds(rng));
    }
    for (int i = 0; i < count; ++i) {
        const Scripted &s = kHistory[i % kHistoryLength];
        JournalEvent e;
        e.event = s.event;
        e.cause = s.cause;
        e.when = times.at(i);
        e.offset = float(1e-13 * noise(rng));
        e.trend = float(1e-15 * noise(rng));
        for (float &v : e.rfd)
            v = float(5e-12 * noise(rng));
        e.dac1 = quint16(32768 + int(200 * noise(rng)));
        e.dac2 = quint16(32768 + int(2000 * noise(rng)));
        e.channelFlags = 0x0555;  // channels 1..3 present and in use
        if (i % 7 == 3)
            e.channelFlags = 0x0157;  // channel 1 also "C", channel 3 present but unused
        append(e);
    }
}
