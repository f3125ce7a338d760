#include "simulator/EventJournal.h"
#include "simulator/ProtocolEngine.h"
#include "tests/support/VirtualClock.h"

#include "link/Frame.h"

#include <QtTest>

class tst_EventJournal : public QObject
{
    Q_OBJECT

private slots:
    void readerSlotOrder_walksRecordsByNumber_data();
    void readerSlotOrder_walksRecordsByNumber();
    void download_servesEverySlotAndWraps_data();
    void download_servesEverySlotAndWraps();
    void record_hasTheDeviceLayout();
    void eventsDuringADownload_doNotShiftIt();
    void clear_leavesNoRecords();
};

namespace {

JournalEvent someEvent(int i)
{
    JournalEvent e;
    e.event = quint8(i % 54 + 1);
    e.when = QDateTime(QDate(2026, 1, 7), QTime(0, 0)).addSecs(60 * i);
    return e;
}

EventJournal journalOf(int count, int start)
{
    EventJournal j;
    for (int i = 0; i < count; ++i)
        j.append(someEvent(i));
    j.setStartSlot(start);
    return j;
}

}  // namespace

void tst_EventJournal::readerSlotOrder_walksRecordsByNumber_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::newRow("record 1 in slot 3 of 6") << 6 << 3;
    QTest::newRow("record 1 in slot 0") << 6 << 0;
    QTest::newRow("record 1 in the last slot") << 6 << 5;
    QTest::newRow("a single record") << 1 << 0;
    QTest::newRow("900 records, more than the program's 810") << 900 << 500;
    QTest::newRow("start beyond the ring wraps into it") << 10 << 13;
}

void tst_EventJournal::readerSlotOrder_walksRecordsByNumber()
{
    QFETCH(int, count);
    QFETCH(int, start);
    const EventJournal j = journalOf(count, start);
    const int s = j.startSlot();
    QCOMPARE(s, start % count);
    QCOMPARE(j.numberAt(s), 1);
    // The order in which the program writes the file: S, S-1, ..., 0, N-1, ..., S+1.
    QList<int> order;
    for (int slot = s; slot >= 0; --slot)
        order.append(slot);
    for (int slot = count - 1; slot > s; --slot)
        order.append(slot);
    for (int i = 0; i < order.size(); ++i) {
        QCOMPARE(j.numberAt(order.at(i)), i + 1);
        QCOMPARE(j.slotOf(i + 1), order.at(i));
        QCOMPARE(Frame::u16(j.slot(order.at(i)), 2), quint16(i + 1));
    }
}

void tst_EventJournal::download_servesEverySlotAndWraps_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::newRow("empty journal") << 0 << 0;
    QTest::newRow("6 records wrapped at slot 3") << 6 << 3;
    QTest::newRow("1000 records wrapped at slot 811") << 1000 << 811;
}

void tst_EventJournal::download_servesEverySlotAndWraps()
{
    QFETCH(int, count);
    QFETCH(int, start);
    VirtualClock clock;
    ProtocolEngine engine(clock);
    engine.withModel([&](InstrumentModel &m) { m.fillJournal(count, start); });
    const EventJournal j = engine.withModel([](InstrumentModel &m) { return m.journal(); });

    const QByteArray size = engine.feed(Frame::request(Request::JournalSize)).value(0).bytes;
    QCOMPARE(size.size(), 14);
    QCOMPARE(int(Frame::u16(size, 8)), count);
    for (int slot = 0; slot <= count; ++slot) {
        const QByteArray answer = engine.feed(Frame::request(Request::JournalNext)).value(0).bytes;
        QCOMPARE(answer.size(), 56);
        QCOMPARE(answer.mid(1, 3), QByteArray("G-0"));
        // One past the end wraps to slot 0 again.
        const QByteArray expected = count ? j.slot(slot % count) : QByteArray(44, '\0');
        QCOMPARE(answer.mid(8, 44), expected);
    }
}

void tst_EventJournal::record_hasTheDeviceLayout()
{
    JournalEvent e;
    e.event = 0x01;
    e.cause = 0x04;
    e.when = QDateTime(QDate(2026, 1, 7), QTime(15, 45, 2));
    e.offset = 1.25e-12f;
    e.rfd[3] = -2e-12f;
    e.dac1 = 0x1234;
    e.dac2 = 0x5678;
    e.channelFlags = 0x0157;
    e.trend = 3e-15f;
    const QByteArray b = EventJournal::encode(e, 42);
    QCOMPARE(b.size(), EventJournal::RecordSize);
    QCOMPARE(Frame::u16(b, 2), quint16(42));
    QCOMPARE(Frame::f32(b, 4), 1.25e-12f);
    QCOMPARE(Frame::f32(b, 20), -2e-12f);
    QCOMPARE(Frame::u16(b, 24), quint16(0x5678));
    QCOMPARE(Frame::u16(b, 26), quint16(0x1234));
    QCOMPARE(Frame::u16(b, 28), quint16(0x0157));
    QCOMPARE(Frame::u16(b, 30), quint16(0x0104));
    QCOMPARE(b.mid(32, 8).toHex(' '), QByteArray("07 01 ea 07 02 2d 0f 00"));
    QCOMPARE(Frame::f32(b, 40), 3e-15f);
}

void tst_EventJournal::eventsDuringADownload_doNotShiftIt()
{
    EventJournal j = journalOf(4, 1);
    QCOMPARE(j.beginReading(), 4);
    const QByteArray first = j.nextRecord();
    j.append(someEvent(99));
    QCOMPARE(j.count(), 5);
    QList<int> numbers{Frame::u16(first, 2)};
    for (int i = 0; i < 3; ++i)
        numbers.append(Frame::u16(j.nextRecord(), 2));
    QCOMPARE(numbers, QList<int>({2, 1, 4, 3}));
    QCOMPARE(j.beginReading(), 5);
}

void tst_EventJournal::clear_leavesNoRecords()
{
    EventJournal j = journalOf(3, 0);
    j.beginReading();
    j.clear();
    QCOMPARE(j.count(), 0);
    QCOMPARE(j.startSlot(), 0);
    QCOMPARE(j.nextRecord(), QByteArray(44, '\0'));
    QCOMPARE(j.slot(0), QByteArray(44, '\0'));
    QCOMPARE(j.slotOf(1), -1);
}

QTEST_GUILESS_MAIN(tst_EventJournal)
#include "tst_eventjournal.moc"
