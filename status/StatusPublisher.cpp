#include "StatusPublisher.h"

#include "link/COMThread.h"
#include "link/LinkClock.h"

StatusPublisher::StatusPublisher(COMThread *link, std::shared_ptr<const LinkClock> clock, QObject *parent)
    : QObject(parent),
      m_link(link),
      m_clock(clock ? std::move(clock) : std::make_shared<LinkClock>()),
      m_board(std::make_shared<SnapshotBoard>(m_clock))
{
    connectLink(link);
}

void StatusPublisher::connectLink(COMThread *link)
{
    connect(link, &COMThread::connected, this, &StatusPublisher::onConnected);
    connect(link, &COMThread::noConnection, this, &StatusPublisher::onLost);
    connect(link, &COMThread::searchStarted, this, &StatusPublisher::onLost);
    connect(link, &COMThread::pollAnswered, this, &StatusPublisher::onPollAnswered);
    connect(link, &COMThread::answered, this, &StatusPublisher::onAnswered);
    connect(link, &COMThread::countersChanged, this,
            [this](const LinkCounters &c) { change([&c](StatusSnapshot &s) { s.counters = c; }); });
    connect(link, &COMThread::commandFinished, this, &StatusPublisher::onCommandFinished);
    connect(link, &COMThread::journalRead, this, &StatusPublisher::onJournalRead);
    connect(link, &COMThread::setDeviceInfo, this,
            [this](const QString &version, const QString &, const QString &serial) {
                change([&](StatusSnapshot &s) {
                    s.firmware = version;
                    s.serialNumber = serial;
                });
            });
}

template <typename Edit>
void StatusPublisher::change(Edit &&edit)
{
    const StatusSnapshot before = m_snapshot;
    edit(m_snapshot);
    m_board->publish(std::make_shared<const StatusSnapshot>(m_snapshot));
    emit published(before, m_snapshot);
}

void StatusPublisher::setChannelNames(const QStringList &names)
{
    change([&names](StatusSnapshot &s) { s.channelNames = names; });
}

void StatusPublisher::hear(StatusSnapshot &s) const
{
    s.heardMs = m_clock->monotonicMs();
    s.monitorIntervalS = m_link->monitorInterval();
}

void StatusPublisher::onConnected()
{
    change([this](StatusSnapshot &s) {
        s.linkConnected();
        // The search has just identified the instrument.
        hear(s);
    });
}

void StatusPublisher::onLost()
{
    if (!m_snapshot.connected)
        return;
    change([](StatusSnapshot &s) { s.linkLost(); });
}

void StatusPublisher::onAnswered(const QDateTime &utc)
{
    if (!m_snapshot.connected)
        return;
    change([this, &utc](StatusSnapshot &s) {
        s.lastAnswerUtc = utc;
        hear(s);
    });
}

void StatusPublisher::onPollAnswered(const PollReading &r)
{
    if (!m_snapshot.connected)
        return;
    change([this, &r](StatusSnapshot &s) {
        s.take(r);
        hear(s);
    });
}

void StatusPublisher::onCommandFinished(int code, bool ok)
{
    if (code < 0 || code >= StatusSnapshot::CommandCodes)
        return;
    change([code, ok](StatusSnapshot &s) { ++s.commands[size_t(code)][ok ? 0 : 1]; });
}

void StatusPublisher::onJournalRead(const JournalReading &r)
{
    const int outcome = r.outcome;
    if (outcome < 0 || outcome >= JournalReading::OutcomeCount)
        return;
    change([outcome](StatusSnapshot &s) { ++s.journalDownloads[size_t(outcome)]; });
}
