#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>

class COMThread;
class HistoryRecorder;
class HistoryStore;
class HistoryWindow;
class LinkClock;
class QThread;
class QWidget;

// Where the history meets the main window: it records what the program
// does into the history store, opens the History window and imports old
// parameter logs. Lines for the message log (the store failing or recording
// again, an import's summary) come out of messageLine().
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
    HistoryWindow *window() const { return m_window.get(); }  // none until first shown

public slots:
    void recordMessage(const QString &text, const QString &colour);
    void recordCommandQueued(int code);
    void setChannelNames(const QStringList &names);
    void showWindow();
    void closeWindow();
    // Asks for a folder (its "Logs/Parameters" first) and imports its
    // parameter logs on a worker thread.
    void importParameterLogs(QWidget *chooserParent);

signals:
    void messageLine(const QString &text, const QString &colour);

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
    QStringList m_channelNames;
    QVector<Early> m_early;  // recorded before the store could open

    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<HistoryRecorder> m_recorder;
    std::unique_ptr<HistoryWindow> m_window;
    QThread *m_import = nullptr;
    std::shared_ptr<std::atomic<bool>> m_stopImport = std::make_shared<std::atomic<bool>>(false);
};
