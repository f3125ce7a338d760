#pragma once

#include "HistoryConnection.h"
#include "HistoryItem.h"

#include "link/JournalFile.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWaitCondition>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class HistoryWriter;
class LinkClock;
class QThread;

// The history of the instrument: every answered poll, link event, message
// line, command and journal record, written into an SQLite database by a
// thread of its own. The adding methods only copy into a bounded queue, so
// the caller (the GUI thread) never waits for the database.
//
// When the database cannot be opened or written (locked, corrupt, disk full,
// a folder that cannot be written, a newer schema), `failed` gives one line
// for the message log and what comes is kept; the attempt is repeated within
// a minute, then at longer intervals up to 15 minutes, and `resumed` tells
// when recording goes on. Only when the queue is full are entries lost: one
// more line says so, and a "writes dropped" event with their count marks the
// gap. The rest of the program never depends on the history.
class HistoryStore : public QObject
{
    Q_OBJECT

public:
    // Entries waiting, the kept ones of a failed attempt included.
    static constexpr int QueueLimit = 20000;
    static constexpr int BatchMs = 1000;
    // After a failure: the first attempt again, and the longest wait.
    static constexpr qint64 RetryFirstMs = 60000;
    static constexpr qint64 RetryLongestMs = 15 * 60000;
    static constexpr qint64 PruneEveryMs = 86400000;

    // `Path_local` + "/Logs/history.sqlite"
    static QString pathIn(const QString &pathLocal);

    // Starts the writer thread, which opens the database at once. `clock`
    // gives the session times and the hourly and daily schedule (a real clock
    // when empty). `keepDays` > 0 prunes rows older than that once a day.
    explicit HistoryStore(const QString &path, std::shared_ptr<LinkClock> clock = {}, int keepDays = 0,
                          QObject *parent = nullptr);
    // Writes what is queued, ends the session and stops the thread.
    ~HistoryStore() override;

    QString path() const { return m_path; }
    void setKeepDays(int days);

    // --- what happened, with its UTC time in ms ------------------------------
    // `poll`: the link's number of the poll (PollReading::number), 0 when not
    // known; it tells an unanswered poll of DETECT or ADJ_CMD_STATE.
    void addStatus(qint64 utcMs, const DETECT &record, quint64 poll = 0);
    void addStatus(qint64 utcMs, const ADJ_CMD_STATE &record, quint64 poll = 0);
    void addStatus(qint64 utcMs, const ADJ_STATE &record, quint64 poll = 0);
    void addStatus(qint64 utcMs, const VAR_STRUCT &record, quint64 poll = 0);
    void addSearchStarted(qint64 utcMs);
    // The device information may come with the connection or later.
    void addConnected(qint64 utcMs, const QString &port, const QString &identification,
                      const QStringList &deviceInfo = {});
    void addDeviceInfo(qint64 utcMs, const QStringList &deviceInfo);
    void addConnectionLost(qint64 utcMs);
    void addMessage(qint64 utcMs, const QString &colour, const QString &text);
    void addCommandQueued(qint64 utcMs, int code);
    void addCommandFinished(qint64 utcMs, int code, bool ok);
    // A downloaded journal; records already stored are not stored again.
    void addJournal(qint64 utcMs, const QVector<JournalRecord> &records);
    void addJournal(qint64 utcMs, const JournalFile::Slots &entries);

    struct Counters {
        qint64 written = 0;   // items written
        qint64 kept = 0;      // items waiting for the next attempt
        qint64 dropped = 0;   // items lost: the queue was full, or the program ended before they could be written
        qint64 journalDuplicates = 0;  // journal records that were stored already
        bool open = false;
    };
    Counters counters() const;

    // For tests and tools, never the GUI thread: waits until everything
    // queued so far is written, dropped, or kept for the next attempt. False
    // on the timeout.
    bool waitUntilWritten(int timeoutMs = 30000);

signals:
    void failed(const QString &text);
    void resumed(const QString &text);

private:
    enum class Failure { None, CannotOpen, NotHistory, Newer, CannotWrite, QueueFull };

    void enqueue(HistoryItem item);
    void addEvent(qint64 utcMs, EventKind kind, qint64 code = 0, const QString &text = {},
                  const QString &detail = {});
    void run();
    Failure attempt(HistoryWriter &writer, std::vector<HistoryItem> &batch, qint64 *lost);
    std::optional<HistoryItem> takeOverflow();
    qint64 sessionStartMs(const std::vector<HistoryItem> &batch) const;
    static Failure failure(HistoryConnection::Status status);
    void report(Failure failure, const QString &reason, int version, qint64 dropped);

    const QString m_path;
    const std::shared_ptr<LinkClock> m_clock;
    std::atomic<int> m_keepDays;
    const qint64 m_createdMs;

    // Guards the queue and the counts below it; the writer holds it only to
    // take the whole queue.
    mutable QMutex m_mutex;
    QWaitCondition m_wake;   // the writer: work, a flush or the stop
    QWaitCondition m_done;   // waitUntilWritten(): a batch is done
    std::vector<HistoryItem> m_queue;  // swapped whole with the writer's empty batch
    qint64 m_accepted = 0;
    qint64 m_processed = 0;
    qint64 m_kept = 0;            // held by the writer for its next attempt
    qint64 m_overflow = 0;        // refused by the full queue, not yet marked
    qint64 m_overflowFromMs = 0;  // the first of them
    bool m_flush = false;
    bool m_stop = false;

    std::atomic<qint64> m_written{0};
    std::atomic<qint64> m_dropped{0};
    std::atomic<qint64> m_journalDuplicates{0};
    std::atomic<bool> m_open{false};

    QThread *m_thread = nullptr;
};
