#pragma once

#include "status/SnapshotBoard.h"
#include "status/StatusSnapshot.h"

#include <QObject>
#include <QStringList>

#include <memory>

class COMThread;

// The program's account of the instrument for other programs. It follows the
// link's feed into one snapshot and publishes a copy after every change: to
// the board the metrics endpoint reads, and through published() for the tray.
// The window writes "SupervisInfo.ini" from snapshot(). Records count as known
// only from their first poll after the link connected, so a reconnection never
// passes off old readings as new. Each answer is stamped by `clock`, which the
// board shares, so readers see when the account stops being kept.
class StatusPublisher : public QObject
{
    Q_OBJECT

public:
    explicit StatusPublisher(COMThread *link, std::shared_ptr<const LinkClock> clock = nullptr,
                             QObject *parent = nullptr);

    std::shared_ptr<const SnapshotBoard> board() const { return m_board; }
    const StatusSnapshot &snapshot() const { return m_snapshot; }

public slots:
    void setChannelNames(const QStringList &names);

signals:
    // After every change, with the snapshot before and after it.
    void published(const StatusSnapshot &before, const StatusSnapshot &after);

private:
    void connectLink(COMThread *link);
    void onConnected();
    void onLost();
    void onPollAnswered(const PollReading &reading);
    void onAnswered(const QDateTime &utc);
    // Notes that the instrument was heard from just now.
    void hear(StatusSnapshot &s) const;
    void onCommandFinished(int code, bool ok);
    void onJournalRead(const JournalReading &reading);
    // Applies `edit` to the snapshot and publishes the result.
    template <typename Edit>
    void change(Edit &&edit);

    COMThread *m_link;
    std::shared_ptr<const LinkClock> m_clock;
    std::shared_ptr<SnapshotBoard> m_board;
    StatusSnapshot m_snapshot;
};
