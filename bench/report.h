// The runner's side: reading what the programs and the engine benchmark print, and the table.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bench {

// One run of a program: its "key value" lines, plus what the runner measured from outside.
using Sample = std::map<std::string, double, std::less<>>;

// Lines that are not "key number" are skipped, so stray output cannot shift the figures.
Sample parseSample(std::string_view text);

// The values of one key over several runs; runs that lack it are left out.
std::vector<double> valuesOf(const std::vector<Sample>& samples, std::string_view key);

// Google Benchmark's CSV: benchmark name to CPU time per iteration in nanoseconds.
std::map<std::string, double, std::less<>> parseBenchmarkCsv(std::string_view csv);

struct Row {
    explicit Row(std::string label, std::optional<double> game = {}, std::optional<double> baseline = {})
        : label(std::move(label)), game(game), baseline(baseline)
    {
    }
    static Row title(std::string label)
    {
        Row row(std::move(label));
        row.section = true;
        return row;
    }

    std::string label;
    std::optional<double> game;
    std::optional<double> baseline;
    // Empty when the row has no goal.
    std::string goal;
    std::optional<bool> met;
    int decimals = 2;
    bool showRatio = false;
    // A title over the rows that follow: only its label is shown.
    bool section = false;
};

std::string formatTable(const std::vector<Row>& rows);

} // namespace bench
