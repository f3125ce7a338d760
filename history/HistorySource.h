#pragma once

#include "HistoryData.h"
#include "HistoryRange.h"
#include "StabilityJob.h"

#include <QMetaType>
#include <QObject>
#include <QString>

// What the History window asks to be drawn.
struct ViewRequest {
    int id = 0;
    HistoryRange::Choice choice = HistoryRange::Last24Hours;
    qint64 nowMs = 0;
    TimeRange range;  // for BetweenDates: the operator's or the zoomed range
    int buckets = 1000;
};

// Where the History window's answers come from: the history file read on a
// worker thread of the window's own, or a service read through its
// connection. Every request carries an id, and every answer names it; a
// request the window no longer wants is dropped wherever it has got to.
class HistorySource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // True when its calls block (reading a file): it is then moved to a
    // worker thread and called there.
    virtual bool blocks() const = 0;
    // Any thread: only request `id` is still wanted (0: none).
    virtual void want(int id) = 0;
    // Any thread: everything stops as soon as it can, an export too.
    virtual void stop() = 0;

    virtual void loadView(const ViewRequest &request) = 0;
    // The readings of a series and range are read once and kept until
    // another series, range or `generation` (the history has grown) is asked.
    virtual void computeStability(int id, const StabilityRequest &request, int generation) = 0;
    // The readings `result` analysed as two columns, MJD and fractional
    // frequency.
    virtual void exportSeries(int id, const StabilityResult &result, int generation, const QString &path) = 0;
    // All readings of the range as CSV at full precision into `path`; the
    // file appears only when it is complete.
    virtual void exportCsv(int id, TimeRange range, const QString &path) = 0;

signals:
    void progress(int id, int percent);
    // `extent`: from the first to just after the last thing recorded.
    void viewLoaded(int id, const HistoryView &view, TimeRange extent);
    void stabilityReady(int id, const StabilityResult &result);
    // `error` empty: `rows` readings written.
    void exported(int id, qint64 rows, const QString &error);
    // There is no history to read (yet): the reason.
    void unavailable(int id, const QString &reason);
};

Q_DECLARE_METATYPE(ViewRequest)
Q_DECLARE_METATYPE(StabilityRequest)
Q_DECLARE_METATYPE(StabilityResult)
Q_DECLARE_METATYPE(HistoryView)
Q_DECLARE_METATYPE(TimeRange)
Q_DECLARE_METATYPE(Series::Id)
