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
    qRegisterMetaType<ExportCursor>();
    qRegisterMetaType<ExportChunk>();
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

bool HistoryLoader::analyse(int id, const StabilityRequest &request, int generation, bool exporting)
{
    // An export goes on whatever stability the window asks for meanwhile.
    auto goOn = [&] { return exporting ? !m_stopped.load() : wanted(id); };
    auto step = [&](int percent) { return exporting ? goOn() : report(id, percent); };
    m_hasResult = false;
    const bool kept = m_readingsGeneration == generation && m_readings.series == request.series
        && m_readings.range.fromMs == request.range.fromMs && m_readings.range.toMs == request.range.toMs;
    if (!kept) {
        m_readingsGeneration = -1;
        StabilityReadings readings;
        if (!StabilityJob::read(*m_reader, request.series, request.range, goOn, &readings))
            return false;
        m_readings = readings;
        m_readingsGeneration = generation;
    }
    if (!step(40))
        return false;
    m_result = StabilityJob::analyse(m_readings, request, [&](int percent) { return step(40 + percent * 6 / 10); });
    m_hasResult = goOn();
    return m_hasResult;
}

void HistoryLoader::computeStability(int id, const StabilityRequest &request, int generation)
{
    if (!wanted(id) || !openReader(id))
        return;
    m_lastPercent = -1;
    report(id, 0);
    if (analyse(id, request, generation, false))
        emit stabilityReady(id, m_result);
}

void HistoryLoader::exportSeries(int id, const StabilityResult &result, int, const QString &path)
{
    if (m_stopped)
        return;
    const QVector<ReadingRun> &runs = result.analysed;
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

void HistoryLoader::readingsChunk(int id, TimeRange range, ExportCursor from, int maxBytes)
{
    if (m_stopped || !openReader(id))
        return;
    ExportChunk chunk;
    const bool first = from.at == range.fromMs && from.skip == 0;
    if (first)
        chunk.text = HistoryCsv::header();
    // Several readings may share a time (a clock set back): the cursor counts
    // those of its time already sent.
    chunk.next = from;
    qint64 skip = from.skip;
    bool full = false;
    const TimeRange rest{qMax(range.fromMs, from.at), range.toMs};
    const bool read = m_reader->readings(rest, [&](const Reading &reading) {
        if (reading.timeMs == from.at && skip > 0) {
            --skip;
            return !m_stopped.load();
        }
        chunk.text += HistoryCsv::line(reading);
        ++chunk.rows;
        if (reading.timeMs == chunk.next.at) {
            ++chunk.next.skip;
        } else {
            chunk.next.at = reading.timeMs;
            chunk.next.skip = 1;
        }
        full = chunk.text.size() >= maxBytes;
        return !full && !m_stopped;
    });
    if (m_stopped)
        return;
    if (!read && !full) {
        emit unavailable(id, m_reader->reason());
        return;
    }
    chunk.done = !full;
    chunk.percent = chunk.done ? 100 : int(100 * (chunk.next.at - range.fromMs) / qMax<qint64>(1, range.length()));
    emit chunkReady(id, chunk);
}

void HistoryLoader::seriesChunk(int id, const StabilityRequest &request, int generation, ExportCursor from,
                                int maxBytes)
{
    if (m_stopped || !openReader(id))
        return;
    const bool kept = m_hasResult && m_readingsGeneration == generation && m_result.request.series == request.series
        && m_result.request.range.fromMs == request.range.fromMs && m_result.request.range.toMs == request.range.toMs
        && m_result.request.intervalMs == request.intervalMs;
    if (!kept && !analyse(id, request, generation, true))
        return;
    const QVector<ReadingRun> &runs = m_result.analysed;
    // About 40 bytes a line.
    const int perChunk = qMax(1, maxBytes / 40);
    ExportChunk chunk;
    chunk.next = from;
    while (chunk.next.at < runs.size() && chunk.rows < perChunk) {
        const ReadingRun &run = runs.at(int(chunk.next.at));
        const int start = int(qBound<qint64>(0, chunk.next.skip, run.y.size()));
        const int count = int(qMin<qint64>(perChunk - chunk.rows, run.y.size() - start));
        chunk.text += StabilityCsv::series(run, start, count);
        chunk.rows += count;
        chunk.next.skip = start + count;
        if (chunk.next.skip >= run.y.size()) {
            ++chunk.next.at;
            chunk.next.skip = 0;
        }
    }
    chunk.done = chunk.next.at >= runs.size();
    chunk.percent = chunk.done ? 100 : int(100 * chunk.next.at / qMax(1, runs.size()));
    emit chunkReady(id, chunk);
}
