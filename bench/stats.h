// Clock, medians, percentiles and the spread of timer periods, shared by the probe and the runner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace bench {

// CLOCK_MONOTONIC in nanoseconds: one clock for the runner and the programs it starts.
std::int64_t monotonicNs();

// NaN for no values.
double median(std::vector<double> values);
// Nearest-rank percentile, p in [0, 100]: always one of the values, never an interpolation.
double percentile(std::vector<double> values, double p);

struct PeriodStats {
    std::size_t periods = 0;
    double meanMs;
    double p50Ms;
    // Of the absolute deviations from the nominal period.
    double p99DeviationMs;
    double maxDeviationMs;
};

// The periods between consecutive tick stamps (nanoseconds, in order of arrival).
PeriodStats periodStats(std::span<const std::int64_t> tickNs, double nominalMs);

} // namespace bench
