// Starts the game's windows and the bare Qt program in turn, several times each, and prints the
// medians of both side by side, with the engine benchmark's figures when given its CSV.
#include "report.h"
#include "stats.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
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
    double seconds = 30;
    double warmup = 1;
};

struct Program {
    const char* name;
    std::string path;
    std::vector<std::string> extraArgs;
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

// One run: the child's "key value" lines, plus its peak memory and total CPU as wait4 reports them.
std::optional<Sample> runOnce(const Program& program, double seconds, double warmup, int logFd)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        return std::nullopt;
    }
    std::vector<std::string> args{program.path, "--t0", "", "--warmup", decimal(warmup), "--seconds", decimal(seconds)};
    args.insert(args.end(), program.extraArgs.begin(), program.extraArgs.end());
    std::vector<char*> argv;
    // Stamped as late as possible: the start-up measured is the child's from here to its first paint.
    const std::int64_t t0 = bench::monotonicNs();
    args[2] = std::to_string(t0);
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        if (logFd >= 0)
            dup2(logFd, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        std::perror("fork");
        close(pipeFds[0]);
        return std::nullopt;
    }

    std::string output;
    const std::int64_t deadline = t0 + static_cast<std::int64_t>((seconds + warmup + 60) * 1e9);
    bool timedOut = false;
    for (;;) {
        const std::int64_t left = deadline - bench::monotonicNs();
        if (left <= 0) {
            timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left / 1'000'000) + 1) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: %s (status %d)\n", program.name, timedOut ? "timed out" : "failed", status);
        return std::nullopt;
    }
    Sample sample = bench::parseSample(output);
    if (!sample.contains("startup_ns") || sample["startup_ns"] <= 0 || (seconds > 0 && !sample.contains("play_ns"))) {
        std::fprintf(stderr, "%s: incomplete report:\n%s\n", program.name, output.c_str());
        return std::nullopt;
    }
    sample["maxrss_kb"] = static_cast<double>(usage.ru_maxrss);
    return sample;
}

// Per-run figures in the table's units, so that the medians are medians of what is shown.
void derive(Sample& s)
{
    s["startup_ms"] = s["startup_ns"] / 1e6;
    s["maxrss_mib"] = s["maxrss_kb"] / 1024;
    if (!s.contains("play_ns"))
        return;
    const double playS = s["play_ns"] / 1e9;
    s["cpu_ms"] = (s["cpu_user_us"] + s["cpu_sys_us"]) / 1e3;
    s["cpu_share_pct"] = s["cpu_ms"] / (playS * 1e3) * 100;
    s["switches_ps"] = s["context_switches"] / playS;
    s["repaint_pxps"] = s["frame_px"] / playS;
    s["repaint_client_pct"] = s["repaint_pxps"] / s["client_px"] * 100;
    s["frames_ps"] = s["frames"] / playS;
    s["changed_pxps"] = s["changed_px"] / playS;
    s["repaint_over_changed"] = s["changed_px"] > 0 ? (s["frame_px"] - s["label_px"]) / s["changed_px"] : NAN;
    s["largest_frame_pct"] = s["largest_frame_px"] / s["client_px"] * 100;
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
        {"Timer3_Timer, ClockRandom", "BM_Timer3_ClockRandom", 1000},
        {"Timer3_Timer, trivial random", "BM_Timer3_TrivialRandom", 0},
        {"ScoreDirections, ClockRandom", "BM_ScoreDirections_ClockRandom", 0},
        {"ScoreDirections, ClockRandom on a counter clock", "BM_ScoreDirections_CounterClock", 0},
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

void processRows(std::vector<Row>& rows, const Program& game, const Program& baseline, const Options& options)
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
    startup.goal = "<= 1.10x";
    startup.met = ratioAtMost(startup.game, startup.baseline, 1.10);
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
                     "          [--game-arg ARG]... [--baseline-arg ARG]... [--engine-csv FILE] [--child-log FILE]\n",
                     argv[0]);
        return 2;
    }
    const int logFd = options->childLog.empty()
                          ? -1
                          : open(options->childLog.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);

    Program game{"game", options->game, options->gameArgs, {}, {}};
    Program baseline{"baseline", options->baseline, options->baselineArgs, {}, {}};
    std::array<Program*, 2> programs{&game, &baseline};

    // Untimed first starts: both find their libraries and pictures in the page cache afterwards.
    for (Program* program : programs)
        if (!runOnce(*program, 0, 0, logFd))
            return 1;

    // Alternating which goes first keeps a drift of the machine's load from favouring one side.
    auto inTurn = [&](int count, double seconds, auto store) {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < 2; ++j) {
                Program& program = *programs[static_cast<std::size_t>((i + j) % 2)];
                std::fprintf(stderr, "  %s, run %d of %d%s\n", program.name, i + 1, count,
                             seconds > 0 ? (", " + decimal(seconds) + " s of play").c_str() : ", start-up only");
                auto sample = runOnce(program, seconds, options->warmup, logFd);
                if (!sample)
                    return false;
                derive(*sample);
                store(program, std::move(*sample));
            }
        }
        return true;
    };
    if (!inTurn(options->startupRuns, 0, [](Program& p, Sample s) { p.startups.push_back(std::move(s)); }))
        return 1;
    if (!inTurn(options->runs, options->seconds, [](Program& p, Sample s) { p.plays.push_back(std::move(s)); }))
        return 1;

    std::vector<Row> rows;
    if (!options->engineCsv.empty())
        engineRows(rows, options->engineCsv);
    processRows(rows, game, baseline, *options);
    std::fputs(bench::formatTable(rows).c_str(), stdout);
    return 0;
}
