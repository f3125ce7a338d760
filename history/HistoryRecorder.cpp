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
    connect(link, &COMThread::connectedTo, this, [this](const QString &port, const QString &identification) {
        m_store->addConnected(nowMs(), port, identification);
    });
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
        m_store->addStatus(ms, reading.detect, reading.number);
        break;
    case PollReading::CmdState:
        m_store->addStatus(ms, reading.cmdState, reading.number);
        break;
    case PollReading::AdjState:
        m_store->addStatus(ms, reading.adjState, reading.number);
        break;
    case PollReading::VarStruct:
        m_store->addStatus(ms, reading.varState, reading.number);
        break;
    }
    emit pollRecorded();
}

void HistoryRecorder::journalRead(const JournalReading &reading)
{
    // Whatever arrived of an interrupted download is the instrument's own record.
    if (!reading.records.isEmpty())
        m_store->addJournal(reading.utc.toMSecsSinceEpoch(), reading.records);
}
