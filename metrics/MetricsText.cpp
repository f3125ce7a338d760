#include "MetricsText.h"

#include <charconv>
#include <cmath>

namespace MetricsText {

namespace {

template <typename T>
std::string shortest(T v)
{
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v > 0 ? "+Inf" : "-Inf";
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

const char *typeName(MetricFamily::Type type)
{
    return type == MetricFamily::Type::Counter ? "counter" : "gauge";
}

void appendSample(std::string &out, const std::string &name, const MetricSample &sample)
{
    out += name;
    if (!sample.labels.empty()) {
        out += '{';
        bool first = true;
        for (const auto &label : sample.labels) {
            if (!first)
                out += ',';
            first = false;
            out += label.first;
            out += "=\"";
            out += escapeLabelValue(label.second);
            out += '"';
        }
        out += '}';
    }
    out += ' ';
    out += sample.value;
    out += '\n';
}

}  // namespace

std::string escapeLabelValue(const std::string &value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string escapeHelp(const std::string &help)
{
    std::string out;
    out.reserve(help.size());
    for (char c : help) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string value(float v)
{
    return shortest(v);
}

std::string value(double v)
{
    return shortest(v);
}

std::string value(quint64 v)
{
    return std::to_string(v);
}

std::string render(const std::vector<MetricFamily> &families)
{
    std::string out;
    for (const MetricFamily &family : families) {
        if (family.samples.empty())
            continue;
        out += "# HELP " + family.name + ' ' + escapeHelp(family.help) + '\n';
        out += "# TYPE " + family.name + ' ' + typeName(family.type) + '\n';
        for (const MetricSample &sample : family.samples)
            appendSample(out, family.name, sample);
    }
    return out;
}

}  // namespace MetricsText
