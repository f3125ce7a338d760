#include "HistoryRecorder.h"

#include "HistoryStore.h"

#include "link/COMThread.h"
#include "link/LinkClock.h"
#include "link/LinkFeed.h"

HistoryRecorder::HistoryRecorder(HistoryStore *store, std::shared_ptr<LinkClock> clock, QObject *parent)
    : QObject(parent), m_store(store), m_clock(clock ? std::move(clock) : std::make_shared<LinkClock>())
{
}

qint64 HistoryRecorder::nowMs() const
{
    return m_clock->nowUtc().toMSecsSinceEpoch();
}

void HistoryRecorder::watch(COMThread *link)
{
    connect(link, &COMThread::pollAnswered, this, &HistoryRecorder::pollAnswered);
    connect(link, &COMThread::searchStarted, this, [this] { m_store->addSearchStarted(nowMs()); });
    // The title's item names the port and what the instrument said of itself.
    connect(link, &COMThread::setWinTitle, this, &HistoryRecorder::connectedTo);
    connect(link, &COMThread::setDeviceInfo, this,
            [this](const QString &version, const QString &date, const QString &serial, const QString &comparator,
                   const QString &otherComparator, const QString &cpu, const QString &osf) {
                m_store->addDeviceInfo(nowMs(), {version, date, serial, comparator, otherComparator, cpu, osf});
            });
    connect(link, &COMThread::noConnection, this, [this] { m_store->addConnectionLost(nowMs()); });
    connect(link, &COMThread::commandFinished, this,
            [this](int code, bool ok) { m_store->addCommandFinished(nowMs(), code, ok); });
    connect(link, &COMThread::journalRead, this, &HistoryRecorder::journalRead);
}

void HistoryRecorder::pollAnswered(const PollReading &reading)
{
    const qint64 ms = reading.utc.toMSecsSinceEpoch();
    switch (reading.record) {
    case PollReading::Detect:
        m_store->addStatus(ms, reading.detect);
        break;
    case PollReading::CmdState:
        m_store->addStatus(ms, reading.cmdState);
        break;
    case PollReading::AdjState:
        m_store->addStatus(ms, reading.adjState);
        break;
    case PollReading::VarStruct:
        m_store->addStatus(ms, reading.varState);
        break;
    }
    emit pollRecorded();
}

void HistoryRecorder::connectedTo(const QString &item)
{
    const int blank = item.indexOf(QLatin1Char(' '));
    const QString port = blank < 0 ? item : item.left(blank);
    const QString identification = blank < 0 ? QString() : item.mid(blank + 1);
    m_store->addConnected(nowMs(), port, identification);
}

void HistoryRecorder::journalRead(const JournalReading &reading)
{
    // Whatever arrived of an interrupted download is the instrument's own record.
    if (!reading.records.isEmpty())
        m_store->addJournal(reading.utc.toMSecsSinceEpoch(), reading.records);
}
