#include "MetricsCollector.h"

#include "MetricsText.h"

#include "link/COMThread.h"
#include "status/SnapshotBoard.h"

namespace MetricsCollector {

namespace {

using Type = MetricFamily::Type;
using Labels = std::vector<std::pair<std::string, std::string>>;

MetricFamily family(const char *name, const char *help, Type type = Type::Gauge)
{
    MetricFamily f;
    f.name = name;
    f.help = help;
    f.type = type;
    return f;
}

void add(MetricFamily &f, std::string value, Labels labels = {})
{
    f.samples.push_back({std::move(labels), std::move(value)});
}

Labels channelLabels(const StatusSnapshot &s, int channel)
{
    return {{"channel", std::to_string(channel)}, {"name", s.channelName(channel).toStdString()}};
}

std::string flag(bool on)
{
    return on ? "1" : "0";
}

double seconds(quint16 hundredths)
{
    return hundredths / 100.0;
}

void append(std::vector<MetricFamily> &to, std::vector<MetricFamily> from)
{
    for (MetricFamily &f : from)
        to.push_back(std::move(f));
}

}  // namespace

const std::vector<std::string> &channelStateNames()
{
    static const std::vector<std::string> names = {
        "reference", "in_group",     "backup1",      "backup2", "backup3",
        "qualifying", "not_in_group", "not_detected", "error",
    };
    return names;
}

std::string channelStateName(const StatusSnapshot &s, int channel)
{
    const std::optional<int> code = s.channelState(channel);
    if (!code)
        return std::string();
    const bool error = s.signalError(channel).value_or(false);
    switch (*code) {
    case ChannelState::InGroup:
        return s.referenceChannel() == channel ? "reference" : "in_group";
    case ChannelState::Backup1:
        return "backup1";
    case ChannelState::Backup2:
        return "backup2";
    case ChannelState::Backup3:
        return "backup3";
    case ChannelState::Qualifying:
        return "qualifying";
    case ChannelState::NotInGroup:
        return error ? "error" : "not_in_group";
    case ChannelState::NotDetected:
        return error ? "error" : "not_detected";
    default:
        return std::string();
    }
}

std::vector<MetricFamily> linkFamilies(const StatusSnapshot &s, bool hears)
{
    MetricFamily up = family("ksr583_up", "Whether the program has the instrument on its link and heard from it "
                                          "within the last two poll intervals (1) or not (0).");
    add(up, flag(hears));
    MetricFamily lastAnswer = family("ksr583_last_answer_timestamp_seconds",
                                     "Time of the instrument's last answer (a status poll, a command or a journal "
                                     "record), in seconds since the epoch.");
    if (s.lastAnswerUtc.isValid())
        add(lastAnswer, MetricsText::value(s.lastAnswerUtc.toMSecsSinceEpoch() / 1000.0));

    const LinkCounters &c = s.counters;
    MetricFamily polls = family("ksr583_polls_total", "Status polls sent to the instrument.", Type::Counter);
    add(polls, MetricsText::value(c.polls));
    MetricFamily timeouts = family("ksr583_poll_timeouts_total",
                                   "Status polls the instrument did not answer in time.", Type::Counter);
    add(timeouts, MetricsText::value(c.pollTimeouts));
    MetricFamily rejected = family("ksr583_checksum_errors_total",
                                   "Answers refused for a wrong checksum or a missing start byte.", Type::Counter);
    add(rejected, MetricsText::value(c.rejectedAnswers));
    MetricFamily connections = family("ksr583_connections_total",
                                      "Connections made to the instrument.", Type::Counter);
    add(connections, MetricsText::value(c.connections));
    return {up, lastAnswer, polls, timeouts, rejected, connections};
}

std::vector<MetricFamily> instrumentFamilies(const StatusSnapshot &s)
{
    MetricFamily synchronized = family("ksr583_synchronized", "Whether the instrument is synchronised (1) or not (0).");
    MetricFamily estimation = family("ksr583_initial_estimation_seconds_left",
                                     "Time left of the instrument's initial signal estimation.");
    MetricFamily mode = family("ksr583_mode", "The instrument's mode: 1 for the active one.");
    if (s.connected && s.cmd) {
        add(synchronized, flag(s.cmd->syncStatus == 1));
        add(estimation, MetricsText::value(seconds(s.cmd->estimationTimeLeft)));
        add(mode, flag(s.cmd->switchingMode()), {{"mode", "switching"}});
        add(mode, flag(!s.cmd->switchingMode()), {{"mode", "averaging"}});
    }
    MetricFamily offset = family("ksr583_frequency_offset", "Fractional frequency offset of the output.");
    MetricFamily trend = family("ksr583_frequency_trend", "Fractional frequency trend of the output, as the instrument reports it.");
    if (s.connected && s.adj) {
        add(offset, MetricsText::value(s.adj->freqOffset));
        add(trend, MetricsText::value(s.adj->freqDrift));
    }
    return {synchronized, estimation, mode, offset, trend};
}

std::vector<MetricFamily> channelFamilies(const StatusSnapshot &s)
{
    MetricFamily offset = family("ksr583_channel_frequency_offset", "Fractional frequency offset of the input channel.");
    MetricFamily adev = family("ksr583_channel_adev_1s", "Allan deviation of the input channel at 1 s.");
    MetricFamily detected = family("ksr583_channel_signal_detected",
                                   "Whether a signal is detected on the input channel (1) or not (0).");
    MetricFamily state = family("ksr583_channel_state", "The input channel's role: 1 for the current one.");
    MetricFamily qualification = family("ksr583_channel_qualification_seconds_left",
                                        "Time left of the input channel's qualification interval.");
    if (!s.connected)
        return {offset, adev, detected, state, qualification};
    for (int n = 1; n <= StatusSnapshot::Channels; ++n) {
        const Labels labels = channelLabels(s, n);
        if (s.adj)
            add(offset, MetricsText::value(s.adj->chanOffset[n - 1]), labels);
        if (s.var)
            add(adev, MetricsText::value(s.var->adev(n)), labels);
        if (const std::optional<bool> on = s.signalDetected(n))
            add(detected, flag(*on), labels);
        const std::string current = channelStateName(s, n);
        if (!current.empty()) {
            for (const std::string &name : channelStateNames()) {
                Labels withState = labels;
                withState.emplace_back("state", name);
                add(state, flag(name == current), withState);
            }
        }
        if (s.cmd)
            add(qualification, MetricsText::value(seconds(s.cmd->qualTimeLeft[n - 1])), labels);
    }
    return {offset, adev, detected, state, qualification};
}

std::vector<MetricFamily> commandFamilies(const StatusSnapshot &s)
{
    MetricFamily commands = family("ksr583_commands_total", "Commands run on the instrument, by outcome.", Type::Counter);
    for (int code = 0; code < StatusSnapshot::CommandCodes; ++code) {
        const std::string verb = COMThread::commandVerb(code).toStdString();
        add(commands, MetricsText::value(s.commands[size_t(code)][0]), {{"command", verb}, {"outcome", "ok"}});
        add(commands, MetricsText::value(s.commands[size_t(code)][1]), {{"command", verb}, {"outcome", "failed"}});
    }
    MetricFamily journals = family("ksr583_journal_downloads_total",
                                   "Journal downloads, by outcome: ok, incomplete (records missing) or failed.",
                                   Type::Counter);
    const char *const outcomes[JournalReading::OutcomeCount] = {"ok", "incomplete", "failed"};
    for (int k = 0; k < JournalReading::OutcomeCount; ++k)
        add(journals, MetricsText::value(s.journalDownloads[size_t(k)]), {{"outcome", outcomes[k]}});
    return {commands, journals};
}

std::vector<MetricFamily> identityFamilies(const StatusSnapshot &s)
{
    MetricFamily info = family("ksr583_build_info",
                               "The program's version and the instrument's serial number and firmware, once read.");
    Labels labels = {{"version", ProgramVersion}};
    if (!s.serialNumber.isEmpty())
        labels.emplace_back("serial", s.serialNumber.toStdString());
    if (!s.firmware.isEmpty())
        labels.emplace_back("firmware", s.firmware.toStdString());
    add(info, "1", labels);
    return {info};
}

std::vector<MetricFamily> collect(const StatusSnapshot &s, qint64 nowMs)
{
    const bool hears = s.hearsInstrument(nowMs);
    StatusSnapshot current = s;
    if (!hears)
        current.dropReadings();
    std::vector<MetricFamily> all;
    append(all, linkFamilies(current, hears));
    append(all, instrumentFamilies(current));
    append(all, channelFamilies(current));
    append(all, commandFamilies(current));
    append(all, identityFamilies(current));
    return all;
}

std::string exposition(const SnapshotBoard &board)
{
    const std::shared_ptr<const StatusSnapshot> snapshot = board.current();
    return exposition(*snapshot, board.nowMs());
}

std::string exposition(const StatusSnapshot &s, qint64 nowMs)
{
    return MetricsText::render(collect(s, nowMs));
}

}  // namespace MetricsCollector
