#include "MetricsText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>

namespace MetricsText {

namespace {

template <typename T>
std::string special(T v)
{
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v > 0 ? "+Inf" : "-Inf";
    return std::string();
}

// What std::to_chars gives, through streams in the classic locale: the
// fewest significant digits that read back as the same number, written in
// fixed or exponent notation, whichever is shorter (fixed on a tie).
template <typename T>
std::string streamedShortest(T v)
{
    const std::string named = special(v);
    if (!named.empty())
        return named;
    const auto text = [v](std::ios_base::fmtflags notation, int precision) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out.setf(notation, std::ios_base::floatfield);
        out << std::setprecision(precision) << v;
        return out.str();
    };
    const auto readsBack = [v](const std::string &s) {
        std::istringstream in(s);
        in.imbue(std::locale::classic());
        T back = 0;
        return bool(in >> back) && back == v;
    };
    int digits = 1;
    std::string exponent = text(std::ios_base::scientific, 0);
    while (digits < std::numeric_limits<T>::max_digits10 && !readsBack(exponent))
        exponent = text(std::ios_base::scientific, digits++);
    const int power = std::stoi(exponent.substr(exponent.find('e') + 1));
    const std::string fixed = text(std::ios_base::fixed, std::max(0, digits - 1 - power));
    return fixed.size() <= exponent.size() ? fixed : exponent;
}

template <typename T>
std::string shortest(T v)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    const std::string named = special(v);
    if (!named.empty())
        return named;
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
#else
    // Floating-point std::to_chars came with GCC 11 (MinGW builds of Qt 5.15
    // bring GCC 8).
    return streamedShortest(v);
#endif
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

std::string streamedValue(float v)
{
    return streamedShortest(v);
}

std::string streamedValue(double v)
{
    return streamedShortest(v);
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
