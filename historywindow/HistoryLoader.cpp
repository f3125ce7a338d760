#include "HistoryLoader.h"

#include "history/HistoryCsv.h"
#include "history/HistoryReader.h"
#include "history/StabilityCsv.h"

#include <QSaveFile>

HistoryLoader::HistoryLoader(const QString &databasePath) : m_path(databasePath)
{
    qRegisterMetaType<ViewRequest>();
    qRegisterMetaType<StabilityRequest>();
    qRegisterMetaType<StabilityResult>();
    qRegisterMetaType<HistoryView>();
    qRegisterMetaType<TimeRange>();
    qRegisterMetaType<Series::Id>();
}

HistoryLoader::~HistoryLoader() = default;

bool HistoryLoader::openReader(int id)
{
    if (m_reader)
        return true;
    // Tried again on every request: the program may make the file meanwhile.
    auto reader = std::make_unique<HistoryReader>(m_path);
    if (!reader->open()) {
        emit unavailable(id, reader->reason());
        return false;
    }
    m_reader = std::move(reader);
    return true;
}

bool HistoryLoader::report(int id, int percent)
{
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        emit progress(id, percent);
    }
    return wanted(id);
}

void HistoryLoader::loadView(const ViewRequest &request)
{
    if (!wanted(request.id) || !openReader(request.id))
        return;
    m_lastPercent = -1;
    const TimeRange extent = m_reader->extent();
    const TimeRange range = HistoryRange::of(request.choice, request.nowMs, extent, request.range);
    const HistoryView view = m_reader->load(range, request.buckets,
                                            [&](int percent) { return report(request.id, percent); });
    if (wanted(request.id))
        emit viewLoaded(request.id, view, extent);
}

void HistoryLoader::computeStability(int id, const StabilityRequest &request, int generation)
{
    if (!wanted(id) || !openReader(id))
        return;
    m_lastPercent = -1;
    report(id, 0);
    const bool kept = m_readingsGeneration == generation && m_readings.series == request.series
        && m_readings.range.fromMs == request.range.fromMs && m_readings.range.toMs == request.range.toMs;
    if (!kept) {
        m_readingsGeneration = -1;
        StabilityReadings readings;
        if (!StabilityJob::read(*m_reader, request.series, request.range, [&] { return wanted(id); }, &readings))
            return;
        m_readings = readings;
        m_readingsGeneration = generation;
    }
    if (!report(id, 40))
        return;
    const StabilityResult result = StabilityJob::analyse(m_readings, request,
                                                         [&](int percent) { return report(id, 40 + percent * 6 / 10); });
    if (wanted(id))
        emit stabilityReady(id, result);
}

void HistoryLoader::exportSeries(int id, const QVector<ReadingRun> &runs, const QString &path)
{
    if (m_stopped)
        return;
    m_lastPercent = -1;
    QSaveFile file(path);
    qint64 total = 0;
    for (const ReadingRun &run : runs)
        total += run.y.size();
    qint64 written = 0;
    bool ok = file.open(QIODevice::WriteOnly);
    constexpr int Chunk = 16384;
    for (const ReadingRun &run : runs) {
        for (int from = 0; ok && from < run.y.size(); from += Chunk) {
            ok = file.write(StabilityCsv::series(run, from, Chunk)) >= 0;
            written += qMin(Chunk, run.y.size() - from);
            report(id, int(100 * written / qMax<qint64>(1, total)));
            if (m_stopped) {
                file.cancelWriting();
                return;
            }
        }
    }
    ok = ok && file.commit();
    if (!ok)
        file.cancelWriting();
    emit exported(id, ok ? total : 0, ok ? QString() : file.errorString());
}

void HistoryLoader::exportCsv(int id, TimeRange range, const QString &path)
{
    if (m_stopped || !openReader(id))
        return;
    m_lastPercent = -1;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        emit exported(id, 0, file.errorString());
        return;
    }
    qint64 rows = 0;
    bool written = file.write(HistoryCsv::header()) >= 0;
    const bool read = written && m_reader->readings(range, [&](const Reading &reading) {
        written = file.write(HistoryCsv::line(reading)) >= 0;
        ++rows;
        if (rows % 4096 == 0)
            report(id, int(100 * (reading.timeMs - range.fromMs) / qMax<qint64>(1, range.length())));
        return written && !m_stopped;
    });
    if (m_stopped) {
        file.cancelWriting();
        return;
    }
    if (!read || !written || !file.commit()) {
        file.cancelWriting();
        emit exported(id, rows, written && !read ? m_reader->reason() : file.errorString());
        return;
    }
    emit exported(id, rows, QString());
}
