#include "SignalPresence.h"

#include <algorithm>

namespace {

class Stretches
{
public:
    explicit Stretches(TimeRange range) : m_range(range) {}

    void add(qint64 fromMs, qint64 toMs)
    {
        fromMs = qMax(fromMs, m_range.fromMs);
        toMs = qMin(toMs, m_range.toMs);
        if (toMs <= fromMs)
            return;
        if (!m_list.isEmpty() && fromMs <= m_list.last().toMs)
            m_list.last().toMs = qMax(m_list.last().toMs, toMs);
        else
            m_list << TimeRange{fromMs, toMs};
    }
    QVector<TimeRange> list() const { return m_list; }

private:
    TimeRange m_range;
    QVector<TimeRange> m_list;
};

enum class Kind { Event, Detect, RunStart, RunEnd, Status };

struct Happening {
    qint64 timeMs;
    Kind kind;
    int index;
};

}  // namespace

QVector<TimeRange> SignalPresence::absent(const StateTimeline::Input &in, int channel, TimeRange range)
{
    const int c = channel - 1;
    QVector<Happening> all;
    for (int i = 0; i < in.events.size(); ++i)
        all << Happening{in.events.at(i).timeMs, Kind::Event, i};
    for (int i = 0; i < in.detect.size(); ++i)
        all << Happening{in.detect.at(i).timeMs, Kind::Detect, i};
    for (int i = 0; i < in.runs.size(); ++i) {
        all << Happening{in.runs.at(i).startMs, Kind::RunStart, i};
        all << Happening{in.runs.at(i).endMs + 1, Kind::RunEnd, i};
    }
    for (int i = 0; i < in.statuses.size(); ++i)
        all << Happening{in.statuses.at(i).timeMs, Kind::Status, i};
    // A row stamped with the moment of its connection belongs to it.
    std::stable_sort(all.begin(), all.end(), [](const Happening &a, const Happening &b) {
        return a.timeMs != b.timeMs ? a.timeMs < b.timeMs : int(a.kind) < int(b.kind);
    });

    Stretches out(range);
    // Live: since when, and whether the last DETECT row showed the signal.
    qint64 connectedMs = range.fromMs;
    bool haveRow = false;
    qint64 rowMs = 0;
    bool rowSignal = true;
    // Imported: the status in force and since when.
    bool inRun = false;
    bool errorStatus = false;
    qint64 statusMs = 0;
    auto endStatus = [&](qint64 ms) {
        if (inRun && errorStatus)
            out.add(statusMs, ms);
        errorStatus = false;
        statusMs = ms;
    };

    for (const Happening &h : qAsConst(all)) {
        switch (h.kind) {
        case Kind::Event:
            if (haveRow && !rowSignal)
                out.add(rowMs, h.timeMs);
            haveRow = false;
            connectedMs = h.timeMs;
            break;
        case Kind::Detect: {
            const DETECT &d = in.detect.at(h.index).record;
            const bool signal = d.detected(c) && !d.signalError(c);
            if (!signal || (haveRow && !rowSignal))
                out.add(haveRow ? rowMs : connectedMs, h.timeMs);
            haveRow = true;
            // A row with the signal vouches for it until its last poll; one
            // without stands from its first.
            rowMs = signal ? in.detect.at(h.index).lastSeenMs() : h.timeMs;
            rowSignal = signal;
            break;
        }
        case Kind::RunStart:
            endStatus(h.timeMs);
            inRun = true;
            break;
        case Kind::RunEnd:
            endStatus(h.timeMs);
            inRun = false;
            break;
        case Kind::Status:
            endStatus(h.timeMs);
            errorStatus = in.statuses.at(h.index).status[c] == LoggedStatus::Error;
            break;
        }
    }
    if (haveRow && !rowSignal)
        out.add(rowMs, range.toMs);
    endStatus(range.toMs);

    // Live and imported stretches came in two orders; put them in one.
    QVector<TimeRange> list = out.list();
    std::sort(list.begin(), list.end(), [](const TimeRange &a, const TimeRange &b) { return a.fromMs < b.fromMs; });
    Stretches merged(range);
    for (const TimeRange &r : qAsConst(list))
        merged.add(r.fromMs, r.toMs);
    return merged.list();
}

bool SignalPresence::inside(const QVector<TimeRange> &absent, qint64 ms)
{
    auto after = std::upper_bound(absent.begin(), absent.end(), ms,
                                  [](qint64 t, const TimeRange &r) { return t < r.fromMs; });
    return after != absent.begin() && (after - 1)->contains(ms);
}

QVector<Sample> SignalPresence::without(const QVector<Sample> &samples, const QVector<TimeRange> &absent,
                                        qint64 *excluded)
{
    QVector<Sample> kept;
    kept.reserve(samples.size());
    int next = 0;
    qint64 left = 0;
    for (const Sample &s : samples) {
        while (next < absent.size() && absent.at(next).toMs <= s.timeMs)
            ++next;
        if (next < absent.size() && absent.at(next).contains(s.timeMs))
            ++left;
        else
            kept << s;
    }
    if (excluded)
        *excluded = left;
    return kept;
}
