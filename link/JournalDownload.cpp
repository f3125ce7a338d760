#include "JournalDownload.h"

#include "DeviceExchange.h"
#include "JournalFile.h"
#include "LinkClock.h"

#include <QDir>

namespace {
const QString kBlack = QStringLiteral("black");
const QString kRed = QStringLiteral("red");
}  // namespace

JournalDownload::JournalDownload(DeviceExchange &io, QObject *parent)
    : QObject(parent), m_io(io)
{
}

Frame::Result JournalDownload::exchange(Request r, QByteArray *answer)
{
    // Journal answers carry no checksum: nothing left over may precede them.
    m_io.drain();
    return m_io.transact(r, QByteArray(), answer);
}

bool JournalDownload::download(const QString &folder, const QString &displayItem)
{
    QByteArray answer;
    if (exchange(Request::JournalSize, &answer) != Frame::Result::Accepted)
        return fail();
    int count = Frame::u16(answer, 8);
    if (count > MaxRecords) {
        emit debugInfo(tr("The device reports %1 journal records; only the first %2 are downloaded")
                           .arg(count)
                           .arg(MaxRecords),
                       kRed);
        count = MaxRecords;
    }
    emit setNumberOfJournalRec(count);

    // Every download starts empty: a record that does not arrive stays out of
    // the file instead of showing an earlier download's data.
    JournalFile::Slots records(static_cast<size_t>(count));
    JournalReading reading;
    reading.expected = count;
    int missing = 0;
    int missedInARow = 0;
    for (int k = 1; k <= count; ++k) {
        const bool gone = missedInARow >= MissesBeforeGivingUp;
        if (!gone && exchange(Request::JournalNext, &answer) == Frame::Result::Accepted) {
            const JournalRecord record = JournalRecord::fromPayload(Frame::payload(answer, JournalRecord::Size));
            records[size_t(k - 1)] = record;
            reading.records.append(record);
            missedInARow = 0;
        } else {
            ++missing;
            if (!gone) {
                ++missedInARow;
                settle();
            }
        }
        // The journal tab finishes when the count reaches N, gone or not.
        emit setNumberOfReadyRec(k);
    }

    if (count == 0) {
        emit windowInfo(tr("No records in the history"), kBlack);
        return finish(reading, JournalReading::Complete);
    }
    emit windowInfo(tr("History has been downloaded"), kBlack);
    if (missing > 0) {
        emit debugInfo(tr("Journal records not received: %1 of %2; they are left out of the file")
                           .arg(missing)
                           .arg(count),
                       kRed);
    }
    const QString path = QDir(folder).filePath(JournalFile::fileName(m_io.clock().nowUtc(), displayItem));
    if (!JournalFile::write(path, records)) {
        emit debugInfo(tr("Cannot write the journal file ") + QDir::toNativeSeparators(path), kRed);
        return finish(reading, JournalReading::Failed);
    }
    return finish(reading, missing > 0 ? JournalReading::Incomplete : JournalReading::Complete);
}

bool JournalDownload::finish(JournalReading &reading, JournalReading::Outcome outcome)
{
    reading.outcome = outcome;
    reading.utc = m_io.clock().nowUtc();
    emit journalRead(reading);
    return outcome == JournalReading::Complete;
}

void JournalDownload::settle()
{
    // A record that comes after its wait would arrive together with the next
    // answer and be taken for it: give it the time of one more answer, then
    // drop whatever came.
    const CommandFormat &format = CommandTable::format(Request::JournalNext);
    m_io.awaitBytes(format.minAnswer, format.waitSteps * CommandTable::StepMs);
    m_io.drain();
}

bool JournalDownload::fail()
{
    emit setNumberOfJournalRec(0);
    emit setNumberOfReadyRec(0);
    emit windowInfo(tr("Loading failed!"), kRed);
    JournalReading reading;
    return finish(reading, JournalReading::Failed);
}

bool JournalDownload::clear()
{
    const bool ok = exchange(Request::JournalClear, nullptr) == Frame::Result::Accepted;
    if (ok)
        emit windowInfo(tr("History cleared successfully"), kBlack);
    else
        emit windowInfo(tr("Clear history failed!"), kRed);
    return ok;
}
