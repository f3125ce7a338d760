#pragma once

#include "HistoryConnection.h"
#include "HistoryItem.h"
#include "RecordRun.h"

#include <QSet>
#include <QSqlQuery>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// Writes queued items into the history database, a batch per transaction,
// with statements prepared once per connection. Lives on the store's writer
// thread. A batch that fails is rolled back and leaves the writer as it was
// before it, connection and all, so the same items can be written again.
class HistoryWriter
{
public:
    explicit HistoryWriter(const QString &path);
    ~HistoryWriter();

    // Opens (creating or upgrading the tables) and begins a session at
    // `nowMs`; a session the last run left open is closed at its last row.
    HistoryConnection::Status open(qint64 nowMs);
    bool isOpen() const { return m_connection && m_connection->isOpen(); }
    // Ends the session at `nowMs` and closes.
    void close(qint64 nowMs);

    // One transaction; false, with reason(), when it was rolled back.
    bool write(const std::vector<HistoryItem> &items);
    // Items that will never be written: counted.
    void drop(const std::vector<HistoryItem> &items);
    // Deletes what is older than `cutoffMs` and gives the space back. The
    // connection, session and channel states in force at the cutoff are kept
    // and begin there; journal records older than it are not stored again by
    // later downloads.
    bool prune(qint64 cutoffMs);

    QString reason() const { return m_reason; }
    int foundVersion() const { return m_connection ? m_connection->foundVersion() : 0; }
    qint64 dropped() const { return m_dropped; }
    qint64 journalDuplicates() const { return m_now.journalDuplicates; }

private:
    // The search going on: the message lines its attempts repeat are counted
    // in its event instead of being stored again.
    struct Search {
        qint64 eventId = -1;  // -1: no search
        qint64 repeats = 0;
        bool repeatsStored = true;
        QSet<QString> lines;
    };
    // What the writer keeps in mind between items; restored when a
    // transaction is rolled back.
    struct Tracking {
        std::optional<RecordRun<DETECT>> detect;
        std::optional<RecordRun<ADJ_CMD_STATE>> cmd;
        std::optional<std::array<float, 4>> weights;
        Search search;
        qint64 journalDuplicates = 0;
    };

    bool prepare();
    bool beginSession(qint64 nowMs);
    bool closeOpenSession();
    qint64 lastRowMs();
    bool fail(const QString &reason);
    bool breakSeries();
    bool storeRunEnds();
    bool storeSearchRepeats();
    bool endSearch();
    bool carryStates(qint64 cutoffMs);

    bool store(const HistoryItem &item);
    bool store(const HistoryItem &item, const DETECT &r);
    bool store(const HistoryItem &item, const ADJ_CMD_STATE &r);
    bool store(const HistoryItem &item, const ADJ_STATE &r);
    bool store(const HistoryItem &item, const VAR_STRUCT &r);
    bool store(const HistoryItem &item, const HistoryEvent &e);
    bool store(const HistoryItem &item, const QVector<JournalRecord> &records);
    template <typename Record>
    bool storeRun(std::optional<RecordRun<Record>> &run, QSqlQuery &insert, QSqlQuery &end, const HistoryItem &item,
                  const Record &record, const QVector<QVariant> &fields);
    bool exec(QSqlQuery &query, const QVector<QVariant> &values);
    bool exec(const QString &statement, const QVector<QVariant> &values = {});

    QString m_path;
    std::unique_ptr<HistoryConnection> m_connection;
    // Prepared on each open, destroyed before the connection.
    struct Statements;
    std::unique_ptr<Statements> m_statements;

    Tracking m_now;
    qint64 m_cutoffMs;
    qint64 m_dropped = 0;
    QString m_reason;
};
