#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <memory>

class COMThread;
class HistoryRecorder;
class HistoryStore;
class LinkClock;
class QThread;

// Where the history meets the program: it records what the program does
// into the history store and imports old parameter logs. Lines for the
// message log (the store failing or recording again, an import's summary)
// come out of messageLine(); historyChanged() tells the History window
// that there is more to draw.
class HistoryHub : public QObject
{
    Q_OBJECT

public:
    // The history lives in `pathLocal` + "/Logs"; `iniFile` holds History/
    // KeepDays and the window's place.
    HistoryHub(const QString &pathLocal, const QString &iniFile, std::shared_ptr<LinkClock> clock,
               QObject *parent = nullptr);
    ~HistoryHub() override;

    // Opens the store (its folder is made by now), writes what was recorded
    // before and records what `link` reports from now on. Called before the
    // link's thread starts, so that its first search is kept.
    void start(COMThread *link);
    HistoryStore *store() const { return m_store.get(); }
    // The database the History window reads.
    QString databasePath() const;

public slots:
    void recordMessage(const QString &text, const QString &colour);
    void recordCommandQueued(int code);
    // Imports the parameter logs of `folder` on a worker thread.
    void importParameterLogs(const QString &folder);

signals:
    void messageLine(const QString &text, const QString &colour);
    void historyChanged();

private:
    struct Early {
        qint64 utcMs;
        QString colour;  // empty: a command
        QString text;
        int code;
    };

    qint64 nowMs() const;
    void importFinished();

    QString m_pathLocal;
    QString m_iniFile;
    std::shared_ptr<LinkClock> m_clock;
    int m_keepDays = 0;
    QVector<Early> m_early;  // recorded before the store could open

    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<HistoryRecorder> m_recorder;
    QThread *m_import = nullptr;
    std::shared_ptr<std::atomic<bool>> m_stopImport = std::make_shared<std::atomic<bool>>(false);
};
