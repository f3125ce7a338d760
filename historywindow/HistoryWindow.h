#pragma once

#include "history/HistorySource.h"
#include "history/HistoryRange.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class LinkClock;
class QThread;

namespace Ui {
class HistoryWindow;
}

// The History window: what the instrument did over a chosen range, drawn
// from the history store. Every query runs on one of the window's two worker
// threads (one for the plots, one for the stability plot and the exports), so
// the window never waits for the database; a progress bar shows what runs.
// A range that ends now follows the clock and the new readings while the
// window is open. The window is hidden, not destroyed, when it is closed, and
// comes back where it was left.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // `iniFile`: where the window's place is kept. `clock`: "now" for the
    // ranges that end now (a real clock when empty).
    HistoryWindow(const QString &databasePath, const QString &iniFile, std::shared_ptr<LinkClock> clock = {},
                  QWidget *parent = nullptr);
    // Answers from the sources `makeSource` makes (one for the plots, one for
    // the jobs); exports are suggested in `exportFolder`.
    using SourceMaker = std::function<HistorySource *()>;
    HistoryWindow(const SourceMaker &makeSource, const QString &exportFolder, const QString &iniFile,
                  std::shared_ptr<LinkClock> clock = {}, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    void setChannelNames(const QStringList &names);
    // Shows `choice` (`dates` for BetweenDates) at once.
    void showRange(HistoryRange::Choice choice, TimeRange dates = {});
    TimeRange shownRange() const;

public slots:
    // The history has grown: a range that follows the clock is drawn anew
    // within a few seconds.
    void historyChanged();

signals:
    // A loaded range has been drawn.
    void viewShown();
    void stabilityShown();
    // An export or a save has ended; `error` is empty on success.
    void saved(const QString &path, const QString &error);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void on_rangeCombo_activated(int index);
    void on_showButton_clicked();
    void on_exportCsvButton_clicked();
    void on_savePlotsButton_clicked();
    void on_tabs_currentChanged(int index);

private:
    // A source that blocks gets a thread of its own (or null).
    QThread *startWorker(HistorySource *source, const QString &name);
    void stopWorker(HistorySource *source, QThread *thread);
    qint64 nowMs() const;
    TimeRange enteredDates() const;
    void showDates(TimeRange range);
    void request(HistoryRange::Choice choice, TimeRange range);
    void followClock();
    void requestStability();
    void cancelStability();
    void exportSeries(const QString &path);
    // Runs `job` on the jobs' worker with a new export id.
    void startExport(const QString &path, const std::function<void(HistorySource *, int)> &job);
    void viewLoaded(int id, const HistoryView &view, TimeRange extent);
    void stabilityReady(int id, const StabilityResult &result);
    void exported(int id, qint64 rows, const QString &error);
    void unavailable(int id, const QString &reason);
    void progress(int id, int percent);
    void finishJob(int id);
    void setStatus(const QString &text, bool error = false);
    QString rangeText(TimeRange range) const;
    QString suggestedName(const QString &suffix) const;

    std::unique_ptr<Ui::HistoryWindow> ui;
    QString m_iniFile;
    std::shared_ptr<LinkClock> m_clock;
    QString m_databaseFolder;  // where the exports are suggested
    QStringList m_channelNames;

    HistorySource *m_viewLoader = nullptr;  // on m_viewThread when it blocks
    HistorySource *m_jobLoader = nullptr;   // on m_jobThread when it blocks
    QThread *m_viewThread = nullptr;
    QThread *m_jobThread = nullptr;

    HistoryRange::Choice m_choice = HistoryRange::Last24Hours;
    int m_lastId = 0;
    int m_viewId = 0;       // the view being loaded, 0 when none
    int m_stabilityId = 0;  // the stability being computed
    int m_exportId = 0;
    QString m_exportPath;
    int m_generation = 0;  // counts the times the history has grown
    bool m_loadedOnce = false;
    bool m_changed = false;
    qint64 m_loadedAtMs = 0;
    QTimer m_liveTimer;
};
