#pragma once

#include "MetricFamily.h"

#include <QtGlobal>

#include <string>
#include <vector>

// The Prometheus text exposition format, version 0.0.4. Pure functions, so
// the formatting is checked without a server.
namespace MetricsText {

constexpr char ContentType[] = "text/plain; version=0.0.4; charset=utf-8";

// A label value (UTF-8) with backslash, double quote and line feed escaped.
std::string escapeLabelValue(const std::string &value);
// A HELP text with backslash and line feed escaped.
std::string escapeHelp(const std::string &help);

// Sample values: the shortest text that reads back as the same number, so a
// single-precision value from the instrument is not shown with float noise;
// "NaN", "+Inf" and "-Inf" as the format spells them.
std::string value(float v);
std::string value(double v);
std::string value(quint64 v);
// The same texts without std::to_chars, which value() uses where the
// standard library has no floating-point std::to_chars.
std::string streamedValue(float v);
std::string streamedValue(double v);

// HELP, TYPE and the samples of each family; families without samples are
// left out. Ends with a line feed.
std::string render(const std::vector<MetricFamily> &families);

}  // namespace MetricsText
