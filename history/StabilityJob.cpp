#include "StabilityJob.h"

#include "HistoryReader.h"
#include "RunSplitter.h"
#include "SignalPresence.h"

#include <algorithm>

int StabilityJob::channelOf(Series::Id series)
{
    if (series >= Series::Offset1 && series <= Series::Offset4)
        return series - Series::Offset1 + 1;
    if (series >= Series::Adev1 && series <= Series::Adev4)
        return series - Series::Adev1 + 1;
    return 0;
}

bool StabilityJob::read(HistoryReader &reader, Series::Id series, TimeRange range,
                        const std::function<bool()> &goOn, StabilityReadings *readings)
{
    StabilityReadings r;
    r.series = series;
    r.range = range;
    QVector<Sample> samples = reader.samples(series, range, goOn);
    if (goOn && !goOn())
        return false;
    r.read = samples.size();
    if (const int channel = channelOf(series))
        samples = SignalPresence::without(
            samples, SignalPresence::absent(reader.timelineInput(range), channel, range), &r.noSignal);
    auto stop = [&goOn] { return !goOn || goOn(); };
    r.runs = RunSplitter::split(samples, reader.breaks(range), stop);
    if (!stop())
        return false;
    *readings = r;
    return true;
}

StabilityResult StabilityJob::analyse(const StabilityReadings &readings, const StabilityRequest &request,
                                      const std::function<bool(int)> &progress)
{
    StabilityResult result;
    result.request = request;
    result.read = readings.read;
    result.noSignal = readings.noSignal;
    result.shares = IntervalShares::of(readings.runs);
    // The interval asked for, or, when it is none of the range's, the one
    // with the most time.
    result.intervalMs = request.intervalMs;
    auto share = std::find_if(result.shares.begin(), result.shares.end(),
                              [&](const IntervalShares::Share &s) { return s.intervalMs == request.intervalMs; });
    if (share == result.shares.end())
        result.intervalMs = result.shares.isEmpty() ? 0 : result.shares.first().intervalMs;
    result.analysed = IntervalShares::at(readings.runs, result.intervalMs);
    for (const ReadingRun &run : readings.runs) {
        if (run.intervalMs == 0)
            result.alone += run.y.size();
        else if (run.intervalMs != result.intervalMs)
            result.otherIntervals += run.y.size();
    }
    QVector<QVector<double>> y;
    for (const ReadingRun &run : qAsConst(result.analysed)) {
        y << run.y;
        result.used += run.y.size();
    }
    result.runs = y.size();
    if (!y.isEmpty())
        result.curves = StabilityAnalysis::run(y, double(result.intervalMs) / 1000.0, request.options, progress);
    return result;
}
