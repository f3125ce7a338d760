#pragma once

#include "HistorySource.h"

#include <QByteArray>

#include <atomic>
#include <memory>

class HistoryReader;

// Where a chunked export goes on: the first `skip` readings at `at` are sent
// (readings: `at` is their time in ms; the analysed series: `at` is a run).
struct ExportCursor {
    qint64 at = 0;
    qint64 skip = 0;
};

// One piece of an export, for a service to send to a window.
struct ExportChunk {
    QByteArray text;  // whole lines
    qint64 rows = 0;
    ExportCursor next;
    bool done = false;
    int percent = 0;
};

// The History window's worker, and a service's for an attached window: lives
// on a thread of its own, where it opens its own reader of the history, and
// answers each request with a signal carrying whole copies. A request no
// longer wanted (a newer one came, or the window goes) stops at its next
// progress step.
class HistoryLoader : public HistorySource
{
    Q_OBJECT

public:
    explicit HistoryLoader(const QString &databasePath);
    ~HistoryLoader() override;

    bool blocks() const override { return true; }
    void want(int id) override { m_wanted = id; }
    void stop() override { m_stopped = true; }

    void loadView(const ViewRequest &request) override;
    void computeStability(int id, const StabilityRequest &request, int generation) override;
    void exportSeries(int id, const StabilityResult &result, int generation, const QString &path) override;
    void exportCsv(int id, TimeRange range, const QString &path) override;

    // The next piece of at most about `maxBytes` of the readings' CSV from
    // `from` (the header first when `from` is the range's start).
    void readingsChunk(int id, TimeRange range, ExportCursor from, int maxBytes);
    // The next piece of the series `request` analyses, as exportSeries()
    // writes it; analysed again unless it is the one analysed last.
    void seriesChunk(int id, const StabilityRequest &request, int generation, ExportCursor from, int maxBytes);

signals:
    void chunkReady(int id, const ExportChunk &chunk);

private:
    bool openReader(int id);
    bool wanted(int id) const { return !m_stopped && m_wanted == id; }
    // Tells `percent` once it changes; false when `id` is no longer wanted.
    bool report(int id, int percent);
    // The analysis of `request`, kept for the series' export.
    bool analyse(int id, const StabilityRequest &request, int generation, bool exporting);

    QString m_path;
    std::unique_ptr<HistoryReader> m_reader;
    StabilityReadings m_readings;  // of the last stability asked for
    int m_readingsGeneration = -1;
    StabilityResult m_result;      // the last analysis
    bool m_hasResult = false;
    std::atomic<int> m_wanted{0};
    std::atomic<bool> m_stopped{false};
    int m_lastPercent = -1;
};

Q_DECLARE_METATYPE(ExportCursor)
Q_DECLARE_METATYPE(ExportChunk)
