#pragma once

#include <QObject>
#include <QString>

#include <memory>

class COMThread;
class HistoryStore;
class LinkClock;
struct JournalReading;
struct PollReading;

// Feeds the history store from the link: every answered poll, the search,
// each connection with its port and identification, the device information,
// each loss, every command's outcome and each downloaded journal. It lives
// on the GUI thread and takes whole copies from the link's queued signals,
// so the link thread never waits for it.
class HistoryRecorder : public QObject
{
    Q_OBJECT

public:
    // `clock` times the events that carry no time of their own.
    HistoryRecorder(HistoryStore *store, std::shared_ptr<LinkClock> clock, QObject *parent = nullptr);

    // Connect before the link's thread starts, so its first search is kept.
    void watch(COMThread *link);

signals:
    // A poll went to the store: a History window following now draws anew.
    void pollRecorded();

private:
    void pollAnswered(const PollReading &reading);
    void journalRead(const JournalReading &reading);
    qint64 nowMs() const;

    HistoryStore *m_store;
    std::shared_ptr<LinkClock> m_clock;
};
