#pragma once

#include "ChangeFilter.h"
#include "HistoryConnection.h"
#include "HistoryItem.h"

#include <QSqlQuery>
#include <QString>

#include <memory>
#include <vector>

// Writes queued items into the history database, a batch per transaction,
// with statements prepared once per connection. Lives on the store's writer
// thread. When the database fails, the writer closes it, counts what it
// could not store and remembers whether the instrument was connected, so
// that the next open() records the gap and picks up the connection.
class HistoryWriter
{
public:
    explicit HistoryWriter(const QString &path);
    ~HistoryWriter();

    // Opens (creating or upgrading the tables) and begins a session at `nowMs`:
    // a session the last run left open is closed at its last row, a gap since
    // the last failure is recorded, and a connection that still holds is
    // written again.
    HistoryConnection::Status open(qint64 nowMs);
    bool isOpen() const { return m_connection && m_connection->isOpen(); }
    // Ends the session at `nowMs` and closes.
    void close(qint64 nowMs);

    // One transaction. On failure it is rolled back, the database closed and
    // the items counted as dropped; reason() tells why.
    bool write(const std::vector<HistoryItem> &items);
    // While the database is closed: the items are dropped and counted.
    void skip(const std::vector<HistoryItem> &items);
    // Deletes rows older than `cutoffMs` and gives the space back; journal
    // records older than that are not stored again by later downloads.
    bool prune(qint64 cutoffMs);

    QString reason() const { return m_reason; }
    int foundVersion() const { return m_connection ? m_connection->foundVersion() : 0; }
    qint64 dropped() const { return m_droppedTotal; }
    qint64 droppedSinceOpen() const { return m_droppedSince; }
    qint64 journalDuplicates() const { return m_journalDuplicates; }

private:
    bool prepare();
    bool beginSession(qint64 nowMs);
    bool closeOpenSession();
    qint64 lastRowMs();
    void follow(const std::vector<HistoryItem> &items);
    void drop(const std::vector<HistoryItem> &items);
    bool fail(const QString &reason);
    void breakSeries();

    bool store(const HistoryItem &item);
    bool store(qint64 timeMs, const DETECT &r);
    bool store(qint64 timeMs, const ADJ_CMD_STATE &r);
    bool store(qint64 timeMs, const ADJ_STATE &r);
    bool store(qint64 timeMs, const VAR_STRUCT &r);
    bool store(qint64 timeMs, const HistoryEvent &e);
    bool store(qint64 timeMs, const QVector<JournalRecord> &records);
    bool exec(QSqlQuery &query, const QVector<QVariant> &values);
    bool exec(const QString &statement, const QVector<QVariant> &values = {});

    QString m_path;
    std::unique_ptr<HistoryConnection> m_connection;
    // Prepared on each open, destroyed before the connection.
    struct Statements;
    std::unique_ptr<Statements> m_statements;

    ChangeFilter<DETECT> m_detectFilter;
    ChangeFilter<ADJ_CMD_STATE> m_cmdFilter;
    qint64 m_cutoffMs;

    // What happened while the database was closed.
    qint64 m_droppedSince = 0;     // writes lost since the last open
    qint64 m_stoppedAtMs = -1;     // when recording stopped
    qint64 m_droppedTotal = 0;
    qint64 m_journalDuplicates = 0;
    struct Link {
        bool connected = false;
        QString port;
        QString identification;
    } m_link;

    QString m_reason;
};
