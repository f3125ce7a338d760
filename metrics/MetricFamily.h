#pragma once

#include <string>
#include <utility>
#include <vector>

// One metric in the Prometheus text format: its name, help, type and the
// samples that carry its labels. Values are kept as the text they are
// written with (see MetricsText), so a float from the instrument keeps its
// shortest exact form.
struct MetricSample {
    std::vector<std::pair<std::string, std::string>> labels;
    std::string value;
};

struct MetricFamily {
    enum class Type { Gauge, Counter };

    std::string name;
    std::string help;
    Type type = Type::Gauge;
    std::vector<MetricSample> samples;
};
