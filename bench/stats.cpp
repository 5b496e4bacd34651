#include "bench/stats.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <time.h>

namespace bench {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

std::int64_t monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return kNaN;
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
    const double upper = values[mid];
    if (values.size() % 2 != 0)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return kNaN;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

PeriodStats periodStats(std::span<const std::int64_t> tickNs, double nominalMs)
{
    PeriodStats stats{0, kNaN, kNaN, kNaN, kNaN};
    if (tickNs.size() < 2)
        return stats;
    std::vector<double> periods;
    std::vector<double> deviations;
    periods.reserve(tickNs.size() - 1);
    deviations.reserve(tickNs.size() - 1);
    for (std::size_t i = 1; i < tickNs.size(); ++i) {
        const double ms = static_cast<double>(tickNs[i] - tickNs[i - 1]) / 1e6;
        periods.push_back(ms);
        deviations.push_back(std::abs(ms - nominalMs));
    }
    stats.periods = periods.size();
    // The mean of the periods is the span over the count: one late tick and its early successor cancel.
    stats.meanMs = static_cast<double>(tickNs.back() - tickNs.front()) / 1e6 / static_cast<double>(periods.size());
    stats.p50Ms = percentile(periods, 50);
    stats.p99DeviationMs = percentile(deviations, 99);
    stats.maxDeviationMs = *std::max_element(deviations.begin(), deviations.end());
    return stats;
}

} // namespace bench
