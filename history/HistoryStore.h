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
#include <vector>

class LinkClock;
class QThread;

// The history of the instrument: every answered poll, link event, message
// line, command and journal record, written into an SQLite database by a
// thread of its own. The adding methods only copy into a bounded queue, so
// the caller (the GUI thread) never waits for the database.
//
// When the database cannot be opened or written (locked, corrupt, disk full,
// a folder that cannot be written, a newer schema), `failed` gives one line
// for the message log, what comes after is dropped and counted, and opening
// is tried again every hour; `resumed` tells when recording goes on. The rest
// of the program never depends on it.
class HistoryStore : public QObject
{
    Q_OBJECT

public:
    static constexpr int QueueLimit = 20000;
    static constexpr int BatchMs = 1000;
    static constexpr qint64 RetryMs = 3600000;
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
    void addStatus(qint64 utcMs, const DETECT &record);
    void addStatus(qint64 utcMs, const ADJ_CMD_STATE &record);
    void addStatus(qint64 utcMs, const ADJ_STATE &record);
    void addStatus(qint64 utcMs, const VAR_STRUCT &record);
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
        qint64 dropped = 0;   // items lost: database unavailable or queue full
        qint64 journalDuplicates = 0;  // journal records that were stored already
        bool open = false;
    };
    Counters counters() const;

    // For tests and tools, never the GUI thread: waits until everything
    // queued so far is written (or dropped). False on the timeout.
    bool waitUntilWritten(int timeoutMs = 30000);

signals:
    void failed(const QString &text);
    void resumed(const QString &text);

private:
    enum class Failure { None, CannotOpen, NotHistory, Newer, CannotWrite };

    void enqueue(HistoryItem item);
    void addEvent(qint64 utcMs, EventKind kind, qint64 code = 0, const QString &text = {},
                  const QString &detail = {});
    void run();
    qint64 sessionStartMs(const std::vector<HistoryItem> &batch, bool reopening) const;
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
    bool m_flush = false;
    bool m_stop = false;

    std::atomic<qint64> m_written{0};
    std::atomic<qint64> m_dropped{0};
    std::atomic<qint64> m_journalDuplicates{0};
    std::atomic<bool> m_open{false};

    QThread *m_thread = nullptr;
};
