// Starting one measured program and reading what it reports.
#pragma once

#include "bench/report.h"

#include <optional>
#include <string>
#include <vector>

namespace bench {

struct Launch {
    std::string name;
    std::string path;
    // After the runner's own --t0, --warmup and --seconds.
    std::vector<std::string> extraArgs;
};

// One run: the program's "key value" lines plus "maxrss_kb", its peak memory as wait4 reports it.
// Nothing, with the reason on stderr, when it fails, reports no start-up, reports no play although
// one was asked for, or outlives the play by graceS; its error output goes to logFd unless that is -1.
std::optional<Sample> runOnce(const Launch& program, double seconds, double warmup, int logFd, double graceS = 60);

// Adds the per-run figures in the table's units, so that the medians are medians of what is shown.
void derive(Sample& sample);

} // namespace bench
