#include "bench/runner.h"

#include "bench/stats.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace bench {
namespace {

std::string decimal(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

} // namespace

std::optional<Sample> runOnce(const Launch& program, double seconds, double warmup, int logFd, double graceS)
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
    const std::int64_t t0 = monotonicNs();
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
    const std::int64_t deadline = t0 + static_cast<std::int64_t>((seconds + warmup + graceS) * 1e9);
    bool timedOut = false;
    for (;;) {
        const std::int64_t left = deadline - monotonicNs();
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
        std::fprintf(stderr, "%s: %s (status %d)\n", program.name.c_str(), timedOut ? "timed out" : "failed", status);
        return std::nullopt;
    }
    Sample sample = parseSample(output);
    if (!sample.contains("startup_ns") || sample["startup_ns"] <= 0 || (seconds > 0 && !sample.contains("play_ns"))) {
        std::fprintf(stderr, "%s: incomplete report:\n%s\n", program.name.c_str(), output.c_str());
        return std::nullopt;
    }
    sample["maxrss_kb"] = static_cast<double>(usage.ru_maxrss);
    return sample;
}

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

} // namespace bench
