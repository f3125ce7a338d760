#pragma once

#include "MetricFamily.h"

#include "status/StatusSnapshot.h"

#include "ProgramVersion.h"

#include <string>
#include <vector>

// The metrics the program publishes, read from one snapshot at scrape time:
// one collector per concern (the link, the instrument's state, its channels,
// the commands run, the program's identity). Values the snapshot does not
// know are left out rather than published as 0.
namespace MetricsCollector {

constexpr char ProgramVersion[] = KSR_PROGRAM_VERSION;

// The words of ksr583_channel_state, in the order they are published.
const std::vector<std::string> &channelStateNames();
// The word for a channel state code, or empty for codes without one.
std::string channelStateName(const StatusSnapshot &s, int channel);

std::vector<MetricFamily> linkFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> instrumentFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> channelFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> commandFamilies(const StatusSnapshot &s);
std::vector<MetricFamily> identityFamilies(const StatusSnapshot &s);

std::vector<MetricFamily> collect(const StatusSnapshot &s);

// The whole answer to GET /metrics.
std::string exposition(const StatusSnapshot &s);

}  // namespace MetricsCollector
