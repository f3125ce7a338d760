#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>

// One named Qt SQL connection to the history database, owned by the thread
// that opens it and removed again when this object goes.
class HistoryConnection
{
public:
    enum class Mode { Write, Read };
    enum class Status {
        Open,
        CannotOpen,   // missing, unreadable, not a database, locked, read-only
        NotHistory,   // an SQLite database of something else
        Newer,        // written by a newer version of the program
        Older,        // a reader met a history not yet upgraded
    };

    HistoryConnection(const QString &path, Mode mode);
    ~HistoryConnection();
    HistoryConnection(const HistoryConnection &) = delete;
    HistoryConnection &operator=(const HistoryConnection &) = delete;

    // A writer creates the file and its tables or upgrades older ones, in WAL
    // mode so that other programs can read while it writes. A reader opens
    // read-only and never changes the file.
    Status open();
    void close();

    // A write transaction that takes the write lock at once, so a lock held
    // elsewhere is waited for (up to the busy timeout) instead of failing
    // half way. False with reason().
    bool begin();
    bool commit();
    void rollback();
    // Gives the pages the file no longer uses back to the file system (the
    // database is made with incremental vacuum). False with reason().
    bool releaseFreePages();
    bool isOpen() const { return m_db.isOpen(); }

    QSqlDatabase &db() { return m_db; }
    // Binds `values` in order and runs a prepared query; false with the
    // reason in SQLite's words.
    static bool run(QSqlQuery &query, const QVector<QVariant> &values, QString *reason);
    const QString &path() const { return m_path; }
    QString reason() const { return m_reason; }  // why open() failed, in SQLite's words
    int foundVersion() const { return m_version; }

private:
    Status fail(Status status, const QString &reason);
    bool exec(const QString &statement, QString *answer = nullptr);

    QString m_path;
    Mode m_mode;
    QString m_name;
    QSqlDatabase m_db;
    QString m_reason;
    int m_version = 0;
};
