#include "StateTimeline.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace {

// Intervals of one band: equal neighbours merge, nothing of zero length.
template <typename State>
class Intervals
{
public:
    Intervals(qint64 fromMs, State state) { m_list << StateInterval<State>{fromMs, fromMs, state}; }

    void set(qint64 ms, State state)
    {
        StateInterval<State> &last = m_list.last();
        if (last.state == state)
            return;
        if (ms <= last.fromMs) {
            last.state = state;
            if (m_list.size() > 1 && m_list.at(m_list.size() - 2).state == state)
                m_list.removeLast();
            return;
        }
        last.toMs = ms;
        m_list << StateInterval<State>{ms, ms, state};
    }

    QVector<StateInterval<State>> finish(qint64 toMs)
    {
        m_list.last().toMs = toMs;
        if (m_list.last().toMs <= m_list.last().fromMs && m_list.size() > 1)
            m_list.removeLast();
        return m_list;
    }

private:
    QVector<StateInterval<State>> m_list;
};

enum class Kind { Event, RunStart, RunEnd, Detect, Cmd, Status };

struct Happening {
    qint64 timeMs;
    Kind kind;
    int index;
};

class Walker
{
public:
    Walker(const StateTimeline::Input &in, TimeRange range) : m_in(in), m_range(range) {}

    StateTimeline::Output run()
    {
        QVector<Happening> all;
        for (int i = 0; i < m_in.events.size(); ++i)
            all << Happening{m_in.events.at(i).timeMs, Kind::Event, i};
        for (int i = 0; i < m_in.runs.size(); ++i) {
            all << Happening{m_in.runs.at(i).startMs, Kind::RunStart, i};
            all << Happening{m_in.runs.at(i).endMs + 1, Kind::RunEnd, i};
        }
        for (int i = 0; i < m_in.detect.size(); ++i)
            all << Happening{m_in.detect.at(i).timeMs, Kind::Detect, i};
        for (int i = 0; i < m_in.cmd.size(); ++i)
            all << Happening{m_in.cmd.at(i).timeMs, Kind::Cmd, i};
        for (int i = 0; i < m_in.statuses.size(); ++i)
            all << Happening{m_in.statuses.at(i).timeMs, Kind::Status, i};
        // Events first at equal times: a row stamped with the moment of its
        // connection belongs to that connection.
        std::stable_sort(all.begin(), all.end(), [](const Happening &a, const Happening &b) {
            return a.timeMs != b.timeMs ? a.timeMs < b.timeMs : int(a.kind) < int(b.kind);
        });

        int next = 0;
        for (; next < all.size() && all.at(next).timeMs < m_range.fromMs; ++next)
            apply(all.at(next), false);
        Intervals<LinkState> link(m_range.fromMs, linkState());
        std::vector<Intervals<ChannelBand>> channels;
        for (int ch = 1; ch <= 4; ++ch)
            channels.emplace_back(m_range.fromMs, channelBand(ch));
        for (; next < all.size() && all.at(next).timeMs < m_range.toMs; ++next) {
            const qint64 t = all.at(next).timeMs;
            apply(all.at(next), true);
            link.set(t, linkState());
            for (int ch = 1; ch <= 4; ++ch)
                channels[size_t(ch - 1)].set(t, channelBand(ch));
        }

        StateTimeline::Output out;
        out.link = link.finish(m_range.toMs);
        for (int ch = 0; ch < 4; ++ch)
            out.channels[ch] = channels[size_t(ch)].finish(m_range.toMs);
        out.markers = m_markers;
        return out;
    }

private:
    void apply(const Happening &h, bool marks)
    {
        m_marks = marks;
        switch (h.kind) {
        case Kind::Event:
            event(m_in.events.at(h.index));
            break;
        case Kind::RunStart:
            m_inRun = true;
            m_status.reset();
            break;
        case Kind::RunEnd:
            m_inRun = false;
            m_status.reset();
            break;
        case Kind::Detect:
            m_detect = m_in.detect.at(h.index).record;
            break;
        case Kind::Cmd:
            cmd(m_in.cmd.at(h.index));
            break;
        case Kind::Status:
            if (m_inRun)
                m_status = m_in.statuses.at(h.index);
            break;
        }
        followReference(h.timeMs);
    }

    void event(const StateTimeline::Event &e)
    {
        if (e.kind == EventKind::Connected) {
            // Recording began again during a connection: not a new one.
            if (e.code == 0)
                mark(e.timeMs, MarkerKind::Connected, [&](Marker &m) { m.text = e.text; });
            m_connected = true;
            m_detect.reset();
            m_cmd.reset();
            return;
        }
        if (e.kind == EventKind::ConnectionLost && m_connected)
            mark(e.timeMs, MarkerKind::ConnectionLost, [](Marker &) {});
        if (e.kind == EventKind::WritesDropped)
            mark(e.timeMs, MarkerKind::HistoryGap, [&](Marker &m) { m.code = int(qMin<qint64>(e.code, INT_MAX)); });
        if (isBreak(e.kind))
            m_connected = false;
    }

    void cmd(const StateTimeline::Row<ADJ_CMD_STATE> &row)
    {
        if (m_connected && m_cmd) {
            const bool was = m_cmd->syncStatus == 1;
            const bool now = row.record.syncStatus == 1;
            if (was != now)
                mark(row.timeMs, now ? MarkerKind::SyncRestored : MarkerKind::SyncLost, [](Marker &) {});
        }
        m_cmd = row.record;
    }

    // In switching mode the channel in the group is the reference.
    void followReference(qint64 ms)
    {
        int reference = 0;
        for (int ch = 1; ch <= 4 && reference == 0; ++ch) {
            if (channelBand(ch) == ChannelBand::Reference)
                reference = ch;
        }
        if (reference == 0)
            return;
        if (m_reference != 0 && reference != m_reference) {
            const int previous = m_reference;
            mark(ms, MarkerKind::ReferenceChanged, [&](Marker &m) {
                m.channel = reference;
                m.previous = previous;
            });
        }
        m_reference = reference;
    }

    template <typename Fill>
    void mark(qint64 ms, MarkerKind kind, Fill fill)
    {
        if (!m_marks)
            return;
        Marker m;
        m.timeMs = ms;
        m.kind = kind;
        fill(m);
        m_markers << m;
    }

    LinkState linkState() const
    {
        if (m_connected) {
            if (!m_cmd)
                return LinkState::Connected;
            if (m_cmd->syncStatus != 1)
                return LinkState::NotSynchronised;
            return m_cmd->estimationTimeLeft != 0 ? LinkState::Estimation : LinkState::Synchronised;
        }
        return m_inRun ? LinkState::ParameterLog : LinkState::NoConnection;
    }

    ChannelBand channelBand(int ch) const
    {
        if (m_connected)
            return m_detect && m_cmd ? StateTimeline::band(*m_detect, *m_cmd, ch) : ChannelBand::Unknown;
        if (m_inRun && m_status)
            return StateTimeline::importedBand(m_status->status[ch - 1], m_status->mode);
        return ChannelBand::Unknown;
    }

    const StateTimeline::Input &m_in;
    TimeRange m_range;
    bool m_marks = false;
    bool m_connected = false;
    std::optional<DETECT> m_detect;
    std::optional<ADJ_CMD_STATE> m_cmd;
    bool m_inRun = false;
    std::optional<StateTimeline::ImportedStatus> m_status;
    int m_reference = 0;
    QVector<Marker> m_markers;
};

}  // namespace

StateTimeline::Output StateTimeline::build(const Input &input, TimeRange range)
{
    return Walker(input, range).run();
}

namespace {

// The roles a live state code and a logged status name alike.
std::optional<ChannelBand> roleBand(int code, bool switching)
{
    switch (code) {
    case ChannelState::InGroup:
        return switching ? ChannelBand::Reference : ChannelBand::InGroup;
    case ChannelState::Qualifying:
        return ChannelBand::Qualifying;
    case ChannelState::Backup1:
    case ChannelState::Backup2:
    case ChannelState::Backup3:
        return ChannelBand(int(ChannelBand::Backup1) + code - ChannelState::Backup1);
    default:
        return std::nullopt;
    }
}

}  // namespace

ChannelBand StateTimeline::band(const DETECT &detect, const ADJ_CMD_STATE &cmd, int channel)
{
    const int code = ChannelState::of(detect, cmd, channel);
    if (const std::optional<ChannelBand> role = roleBand(code, cmd.switchingMode()))
        return *role;
    const bool error = detect.signalError(channel - 1);
    if (code == ChannelState::NotDetected)
        return error ? ChannelBand::Error : ChannelBand::NoSignal;
    if (code == ChannelState::NotInGroup)
        return error ? ChannelBand::Error : ChannelBand::NotInGroup;
    return ChannelBand::Other;
}

ChannelBand StateTimeline::importedBand(int status, int mode)
{
    if (const std::optional<ChannelBand> role = roleBand(status, mode == 2))
        return *role;
    if (status == LoggedStatus::Out)
        return ChannelBand::Out;
    return status == LoggedStatus::Error ? ChannelBand::Error : ChannelBand::Unknown;
}
