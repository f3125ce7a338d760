#pragma once

#include "HistoryRange.h"

#include "history/HistoryData.h"
#include "history/StabilityJob.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class HistoryReader;

// What the History window asks to be drawn.
struct ViewRequest {
    int id = 0;
    HistoryRange::Choice choice = HistoryRange::Last24Hours;
    qint64 nowMs = 0;
    TimeRange range;  // for BetweenDates: the operator's or the zoomed range
    int buckets = 1000;
};

// The History window's worker: lives on a thread of its own, where it opens
// its own reader of the history, and answers each request with a signal
// carrying whole copies. A request the window no longer wants (a newer one
// came, or the window goes) stops at its next progress step.
class HistoryLoader : public QObject
{
    Q_OBJECT

public:
    explicit HistoryLoader(const QString &databasePath);
    ~HistoryLoader() override;

    // Any thread: only request `id` is still wanted.
    void want(int id) { m_wanted = id; }
    // Any thread: everything stops as soon as it can, an export too.
    void stop() { m_stopped = true; }

public slots:
    void loadView(const ViewRequest &request);
    // The readings of a series and range are read once and kept until
    // another series, range or `generation` (the history has grown) is asked.
    void computeStability(int id, const StabilityRequest &request, int generation);
    // The readings of `runs` as two columns, MJD and fractional frequency.
    void exportSeries(int id, const QVector<ReadingRun> &runs, const QString &path);
    // All readings of the range as CSV at full precision into `path`; the
    // file appears only when it is complete.
    void exportCsv(int id, TimeRange range, const QString &path);

signals:
    void progress(int id, int percent);
    // `extent`: from the first to just after the last thing recorded.
    void viewLoaded(int id, const HistoryView &view, TimeRange extent);
    void stabilityReady(int id, const StabilityResult &result);
    // `error` empty: `rows` readings written.
    void exported(int id, qint64 rows, const QString &error);
    // There is no history to read (yet): the database's reason.
    void unavailable(int id, const QString &reason);

private:
    bool openReader(int id);
    bool wanted(int id) const { return !m_stopped && m_wanted == id; }
    // Tells `percent` once it changes; false when `id` is no longer wanted.
    bool report(int id, int percent);

    QString m_path;
    std::unique_ptr<HistoryReader> m_reader;
    StabilityReadings m_readings;  // of the last stability asked for
    int m_readingsGeneration = -1;
    std::atomic<int> m_wanted{0};
    std::atomic<bool> m_stopped{false};
    int m_lastPercent = -1;
};

Q_DECLARE_METATYPE(ViewRequest)
Q_DECLARE_METATYPE(StabilityRequest)
Q_DECLARE_METATYPE(StabilityResult)
Q_DECLARE_METATYPE(HistoryView)
Q_DECLARE_METATYPE(TimeRange)
Q_DECLARE_METATYPE(Series::Id)
