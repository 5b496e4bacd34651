#include "bench/report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace bench {
namespace {

std::optional<double> number(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string_view unquoted(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::string cell(const std::optional<double>& value, int decimals)
{
    if (!value || std::isnan(*value))
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

std::string padded(std::string text, std::size_t width, bool right)
{
    if (text.size() >= width)
        return text;
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

} // namespace

Sample parseSample(std::string_view text)
{
    Sample sample;
    for (std::string_view line : split(text, '\n')) {
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos || space == 0)
            continue;
        if (const auto value = number(line.substr(space + 1)))
            sample[std::string(line.substr(0, space))] = *value;
    }
    return sample;
}

std::vector<double> valuesOf(const std::vector<Sample>& samples, std::string_view key)
{
    std::vector<double> values;
    for (const Sample& sample : samples)
        if (const auto found = sample.find(key); found != sample.end() && !std::isnan(found->second))
            values.push_back(found->second);
    return values;
}

std::map<std::string, double, std::less<>> parseBenchmarkCsv(std::string_view csv)
{
    std::map<std::string, double, std::less<>> times;
    bool header = false;
    for (std::string_view line : split(csv, '\n')) {
        // Anything before the header is the library's context text.
        if (!header) {
            header = line.starts_with("name,iterations,real_time,cpu_time,time_unit");
            continue;
        }
        const auto fields = split(line, ',');
        if (fields.size() < 5)
            continue;
        const auto cpu = number(fields[3]);
        if (!cpu)
            continue;
        const std::string_view unit = fields[4];
        const double scale = unit == "ns" ? 1 : unit == "us" ? 1e3 : unit == "ms" ? 1e6 : unit == "s" ? 1e9 : NAN;
        times[std::string(unquoted(fields[0]))] = *cpu * scale;
    }
    return times;
}

std::string formatTable(const std::vector<Row>& rows)
{
    const std::vector<std::string> head{"measure", "game", "baseline", "game/base", "goal", "verdict"};
    std::vector<std::vector<std::string>> cells;
    for (const Row& row : rows) {
        if (row.section) {
            cells.push_back({"**" + row.label + "**"});
            continue;
        }
        std::optional<double> ratio;
        if (row.showRatio && row.game && row.baseline && *row.baseline != 0)
            ratio = *row.game / *row.baseline;
        cells.push_back({row.label, cell(row.game, row.decimals), cell(row.baseline, row.decimals), cell(ratio, 2),
                         row.goal, row.met ? (*row.met ? "met" : "MISSED") : ""});
    }
    std::vector<std::size_t> widths(head.size());
    for (std::size_t c = 0; c < head.size(); ++c)
        widths[c] = std::max<std::size_t>(head[c].size(), 3);
    for (const auto& line : cells)
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());

    // Markdown, so that the same text reads in a terminal and in docs/performance.md.
    std::ostringstream out;
    auto emit = [&](const std::vector<std::string>& line) {
        out << '|';
        for (std::size_t c = 0; c < head.size(); ++c)
            out << ' ' << padded(c < line.size() ? line[c] : "", widths[c], c >= 1 && c <= 3) << " |";
        out << '\n';
    };
    emit(head);
    out << '|';
    for (std::size_t c = 0; c < head.size(); ++c)
        out << ' ' << std::string(widths[c] - 1, '-') << (c >= 1 && c <= 3 ? ':' : '-') << " |";
    out << '\n';
    for (const auto& line : cells)
        emit(line);
    return out.str();
}

} // namespace bench
