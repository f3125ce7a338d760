#pragma once

#include "MetricFamily.h"

#include "status/StatusSnapshot.h"

#include "ProgramVersion.h"

#include <QtGlobal>

#include <string>
#include <vector>

class SnapshotBoard;

// The metrics the program publishes, read from one snapshot at scrape time:
// one collector per concern (the link, the instrument's state, its channels,
// the commands run, the program's identity). Values the snapshot does not
// know are left out rather than published as 0, and so is all the snapshot
// read from the instrument once it has not been heard from for two poll
// intervals: the link or the window may hang, and the last values would
// otherwise pass for current.
namespace MetricsCollector {

constexpr char ProgramVersion[] = KSR_PROGRAM_VERSION;

// The words of ksr583_channel_state, in the order they are published.
const std::vector<std::string> &channelStateNames();
// The word for a channel state code, or empty for codes without one.
std::string channelStateName(const StatusSnapshot &s, int channel);

// `hears`: StatusSnapshot::hearsInstrument() at scrape time. The instrument
// and channel families publish the records `s` holds; collect() hands them
// only those it may.
std::vector<MetricFamily> linkFamilies(const StatusSnapshot &s, bool hears);
std::vector<MetricFamily> instrumentFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> channelFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> commandFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> identityFamilies(const StatusSnapshot &s);

// `nowMs` on the clock of StatusSnapshot::heardMs.
std::vector<MetricFamily> collect(const StatusSnapshot &s, qint64 nowMs);

// The whole answer to GET /metrics: the board's snapshot, judged by its
// clock at this moment.
std::string exposition(const SnapshotBoard &board);
std::string exposition(const StatusSnapshot &s, qint64 nowMs);

}  // namespace MetricsCollector
