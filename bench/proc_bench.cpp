// Starts the game's windows and the bare Qt program in turn, several times each, and prints the
// medians of both side by side, with the engine benchmark's figures when given its CSV.
#include "bench/report.h"
#include "bench/runner.h"
#include "bench/stats.h"


#include <array>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using bench::Row;
using bench::Sample;

struct Options {
    std::string game;
    std::string baseline;
    std::vector<std::string> gameArgs;
    std::vector<std::string> baselineArgs;
    std::string engineCsv;
    std::string childLog;
    int runs = 5;
    int startupRuns = 15;
    double sleepLoopSeconds = 10;
    double seconds = 30;
    double warmup = 1;
};

struct Program {
    bench::Launch launch;
    std::vector<Sample> startups;
    std::vector<Sample> plays;
};

constexpr std::array<double, 3> kNominalMs{250, 50, 200};

std::string decimal(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::optional<double> medianOf(const std::vector<Sample>& samples, std::string_view key)
{
    const std::vector<double> values = bench::valuesOf(samples, key);
    if (values.empty())
        return std::nullopt;
    return bench::median(values);
}

std::optional<bool> ratioAtMost(const std::optional<double>& game, const std::optional<double>& baseline, double limit)
{
    if (!game || !baseline || *baseline <= 0)
        return std::nullopt;
    return *game / *baseline <= limit;
}

std::optional<bool> atMost(const std::optional<double>& value, double limit)
{
    if (!value)
        return std::nullopt;
    return *value <= limit;
}

// The machine's own wake-up lateness: a 50 ms absolute sleep loop with no toolkit at all. No
// program's timers can be steadier than this, whatever its event loop does.
bench::PeriodStats sleepLoop(double seconds)
{
    constexpr std::int64_t period = 50'000'000;
    std::vector<std::int64_t> wakes;
    std::int64_t next = bench::monotonicNs() + period;
    for (int i = 0; i < static_cast<int>(seconds * 20); ++i, next += period) {
        const timespec at{static_cast<time_t>(next / 1'000'000'000), static_cast<long>(next % 1'000'000'000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
        }
        wakes.push_back(bench::monotonicNs());
    }
    return bench::periodStats(wakes, 50);
}

void engineRows(std::vector<Row>& rows, const std::string& csvPath)
{
    std::ifstream file(csvPath);
    const std::string csv{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto times = bench::parseBenchmarkCsv(csv);
    rows.push_back(Row::title("engine, CPU per call, median of repetitions (ns)"));
    struct Entry {
        const char* label;
        const char* name;
        double goalNs;
    };
    constexpr Entry kEntries[] = {
        {"ComputeCellCode", "BM_ComputeCellCode", 10},
        {"Timer1_Timer, no key", "BM_Timer1_Idle", 1000},
        {"Timer1_Timer, one step", "BM_Timer1_Step", 1000},
        {"Timer2_Timer", "BM_Timer2", 1000},
        {"Timer3_Timer, trivial random", "BM_Timer3_TrivialRandom", 0},
        {"ScoreDirections, trivial random", "BM_ScoreDirections_TrivialRandom", 0},
    };
    for (const Entry& e : kEntries) {
        std::optional<double> value;
        // With repetitions the median has its own row; a single run has only the plain name.
        for (const std::string& name : {std::string(e.name) + "_median", std::string(e.name)})
            if (const auto found = times.find(name); !value && found != times.end())
                value = found->second;
        Row row{e.label, value};
        row.decimals = 1;
        if (e.goalNs > 0) {
            row.goal = "< " + decimal(e.goalNs) + " ns";
            row.met = value ? std::optional<bool>(*value < e.goalNs) : std::nullopt;
        }
        rows.push_back(row);
    }
}

void processRows(std::vector<Row>& rows, const Program& game, const Program& baseline, const Options& options,
                 const bench::PeriodStats& machine)
{
    auto both = [&](const std::string& label, std::string_view key, bool plays, int decimals) {
        const auto& g = plays ? game.plays : game.startups;
        const auto& b = plays ? baseline.plays : baseline.startups;
        Row row{label, medianOf(g, key), medianOf(b, key)};
        row.decimals = decimals;
        row.showRatio = true;
        return row;
    };

    rows.push_back(Row::title("process, median of " + std::to_string(options.startupRuns) + " start-ups and " +
                              std::to_string(options.runs) + " plays of " + decimal(options.seconds) + " s each"));
    Row startup = both("start-up to first paint of the client (ms)", "startup_ms", false, 1);
    startup.goal = "<= 1.05x";
    startup.met = ratioAtMost(startup.game, startup.baseline, 1.05);
    rows.push_back(startup);

    Row memory = both("peak resident memory (MiB)", "maxrss_mib", true, 1);
    memory.goal = "<= 1.15x";
    memory.met = ratioAtMost(memory.game, memory.baseline, 1.15);
    rows.push_back(memory);

    Row cpu = both("CPU in play, user + system (ms)", "cpu_ms", true, 1);
    cpu.goal = "<= 1.5x";
    cpu.met = ratioAtMost(cpu.game, cpu.baseline, 1.5);
    rows.push_back(cpu);

    Row share = both("CPU, share of one core (%)", "cpu_share_pct", true, 3);
    share.goal = "< 1 %";
    share.met = share.game ? std::optional<bool>(*share.game < 1) : std::nullopt;
    rows.push_back(share);

    Row switches = both("context switches per second, all threads", "switches_ps", true, 1);
    rows.push_back(switches);

    for (std::size_t i = 0; i < kNominalMs.size(); ++i) {
        const double nominal = kNominalMs[i];
        const std::string name = "Timer" + std::to_string(i + 1);
        const std::string key = "timer" + std::to_string(i + 1) + "_";
        const std::string title = name + " (" + decimal(nominal) + " ms): ";

        Row mean = both(title + "mean period (ms)", key + "mean_ms", true, 3);
        mean.showRatio = false;
        mean.goal = "within 0.5 %";
        if (mean.game)
            mean.met = std::abs(*mean.game - nominal) <= nominal * 0.005;
        rows.push_back(mean);

        Row p50 = both(title + "median period (ms)", key + "p50_ms", true, 3);
        p50.showRatio = false;
        rows.push_back(p50);

        Row p99 = both(title + "p99 deviation from nominal (ms)", key + "p99dev_ms", true, 3);
        p99.showRatio = false;
        p99.goal = "<= 2 ms";
        p99.met = atMost(p99.game, 2);
        rows.push_back(p99);

        Row worst = both(title + "max deviation from nominal (ms)", key + "maxdev_ms", true, 3);
        worst.showRatio = false;
        rows.push_back(worst);
    }

    // The machine's floor, under the baseline: neither program can tick steadier than this.
    Row floorP99("no Qt, a 50 ms sleep loop: p99 deviation (ms)", std::nullopt, machine.p99DeviationMs);
    floorP99.decimals = 3;
    rows.push_back(floorP99);
    Row floorMax("no Qt, a 50 ms sleep loop: max deviation (ms)", std::nullopt, machine.maxDeviationMs);
    floorMax.decimals = 3;
    rows.push_back(floorMax);

    Row area = both("repainted area, union per frame (px/s)", "repaint_pxps", true, 0);
    area.showRatio = false;
    rows.push_back(area);
    Row areaShare = both("  the same, share of the client area per second (%)", "repaint_client_pct", true, 2);
    areaShare.showRatio = false;
    rows.push_back(areaShare);
    Row frames = both("frames painted per second", "frames_ps", true, 2);
    frames.showRatio = false;
    rows.push_back(frames);
    Row changed = both("moved, shown and hidden widgets' area (px/s)", "changed_pxps", true, 0);
    changed.showRatio = false;
    rows.push_back(changed);

    Row overChanged = both("repainted area outside the label / that area", "repaint_over_changed", true, 2);
    overChanged.showRatio = false;
    overChanged.goal = "<= 1.10";
    overChanged.met = atMost(overChanged.game, 1.10);
    rows.push_back(overChanged);

    Row largest = both("largest frame, share of the client area (%)", "largest_frame_pct", true, 1);
    largest.showRatio = false;
    rows.push_back(largest);

    Row full = both("frames repainting >= 90 % of the client", "full_frames", true, 0);
    full.showRatio = false;
    full.goal = "0";
    full.met = atMost(full.game, 0);
    rows.push_back(full);

    Row sameText = both("label repaints with an unchanged text", "label_same_text_paints", true, 0);
    sameText.showRatio = false;
    sameText.goal = "0";
    sameText.met = atMost(sameText.game, 0);
    rows.push_back(sameText);

    Row newText = both("label repaints for a new text", "label_text_changes", true, 0);
    newText.showRatio = false;
    rows.push_back(newText);
}

std::optional<Options> parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        if (flag == "--game")
            options.game = value;
        else if (flag == "--baseline")
            options.baseline = value;
        else if (flag == "--game-arg")
            options.gameArgs.emplace_back(value);
        else if (flag == "--baseline-arg")
            options.baselineArgs.emplace_back(value);
        else if (flag == "--engine-csv")
            options.engineCsv = value;
        else if (flag == "--child-log")
            options.childLog = value;
        else if (flag == "--runs")
            options.runs = std::atoi(value);
        else if (flag == "--startup-runs")
            options.startupRuns = std::atoi(value);
        else if (flag == "--seconds")
            options.seconds = std::atof(value);
        else if (flag == "--warmup")
            options.warmup = std::atof(value);
        else if (flag == "--sleep-loop")
            options.sleepLoopSeconds = std::atof(value);
        else
            return std::nullopt;
    }
    if (argc % 2 == 0 || options.game.empty() || options.baseline.empty() || options.runs < 1 ||
        options.startupRuns < 1 || options.seconds <= 0)
        return std::nullopt;
    return options;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: %s --game PATH --baseline PATH [--runs N] [--startup-runs N] [--seconds S] [--warmup S]\n"
                     "          [--sleep-loop S] [--game-arg ARG]... [--baseline-arg ARG]... [--engine-csv FILE]\n"
                     "          [--child-log FILE]\n",
                     argv[0]);
        return 2;
    }
    const int logFd = options->childLog.empty()
                          ? -1
                          : open(options->childLog.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);

    Program game{{"game", options->game, options->gameArgs}, {}, {}};
    Program baseline{{"baseline", options->baseline, options->baselineArgs}, {}, {}};
    std::array<Program*, 2> programs{&game, &baseline};

    // Untimed first starts: both find their libraries and pictures in the page cache afterwards.
    for (Program* program : programs)
        if (!bench::runOnce(program->launch, 0, 0, logFd))
            return 1;

    // Alternating which goes first keeps a drift of the machine's load from favouring one side.
    auto inTurn = [&](int count, double seconds, auto store) {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < 2; ++j) {
                Program& program = *programs[static_cast<std::size_t>((i + j) % 2)];
                std::fprintf(stderr, "  %s, run %d of %d%s\n", program.launch.name.c_str(), i + 1, count,
                             seconds > 0 ? (", " + decimal(seconds) + " s of play").c_str() : ", start-up only");
                auto sample = bench::runOnce(program.launch, seconds, options->warmup, logFd);
                if (!sample)
                    return false;
                bench::derive(*sample);
                store(program, std::move(*sample));
            }
        }
        return true;
    };
    if (!inTurn(options->startupRuns, 0, [](Program& p, Sample s) { p.startups.push_back(std::move(s)); }))
        return 1;
    if (!inTurn(options->runs, options->seconds, [](Program& p, Sample s) { p.plays.push_back(std::move(s)); }))
        return 1;

    std::fprintf(stderr, "  a plain 50 ms sleep loop for %g s\n", options->sleepLoopSeconds);
    const bench::PeriodStats machine = sleepLoop(options->sleepLoopSeconds);

    std::vector<Row> rows;
    if (!options->engineCsv.empty())
        engineRows(rows, options->engineCsv);
    processRows(rows, game, baseline, *options, machine);
    std::fputs(bench::formatTable(rows).c_str(), stdout);
    return 0;
}
