#include "bench/report.h"
#include "bench/stats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(Stats, MedianAndNearestRankPercentile)
{
    EXPECT_EQ(bench::median({5, 1, 3}), 3);
    EXPECT_EQ(bench::median({4, 1, 3, 2}), 2.5);
    EXPECT_TRUE(std::isnan(bench::median({})));

    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(i);
    EXPECT_EQ(bench::percentile(hundred, 99), 99);
    EXPECT_EQ(bench::percentile(hundred, 100), 100);
    EXPECT_EQ(bench::percentile(hundred, 0), 1);
    // Never an interpolation between two values.
    EXPECT_EQ(bench::percentile({1, 2, 3, 4}, 50), 2);
    EXPECT_TRUE(std::isnan(bench::percentile({}, 50)));
}

TEST(Stats, PeriodsOfTickStamps)
{
    constexpr std::int64_t ms = 1'000'000;
    const std::vector<std::int64_t> ticks{0, 50 * ms + ms / 2, 100 * ms, 152 * ms, 200 * ms};
    const bench::PeriodStats stats = bench::periodStats(ticks, 50);
    EXPECT_EQ(stats.periods, 4u);
    // Periods 50.5, 49.5, 52 and 48: a late tick and its early successor cancel in the mean.
    EXPECT_DOUBLE_EQ(stats.meanMs, 50);
    EXPECT_DOUBLE_EQ(stats.p50Ms, 49.5);
    EXPECT_DOUBLE_EQ(stats.p99DeviationMs, 2);
    EXPECT_DOUBLE_EQ(stats.maxDeviationMs, 2);

    const std::vector<std::int64_t> oneTick{42};
    const bench::PeriodStats none = bench::periodStats(oneTick, 50);
    EXPECT_EQ(none.periods, 0u);
    EXPECT_TRUE(std::isnan(none.meanMs));
}

TEST(Report, SamplesKeepOnlyKeyNumberLines)
{
    const bench::Sample sample = bench::parseSample("startup_ns 1234\n"
                                                    "QStandardPaths: XDG_RUNTIME_DIR not set\n"
                                                    "cpu_user_us 1.5e3\n"
                                                    "timer1_mean_ms nan\n"
                                                    "half 12abc\n"
                                                    " leading 1\n");
    EXPECT_EQ(sample.size(), 3u);
    EXPECT_EQ(sample.at("startup_ns"), 1234);
    EXPECT_EQ(sample.at("cpu_user_us"), 1500);

    // A run without the figure, or with no figure to give, is left out of the median.
    const std::vector<bench::Sample> runs{sample, {{"startup_ns", 1000}}, {}};
    EXPECT_EQ(bench::valuesOf(runs, "startup_ns"), (std::vector<double>{1234, 1000}));
    EXPECT_TRUE(bench::valuesOf(runs, "timer1_mean_ms").empty());
}

TEST(Report, BenchmarkCsvInNanoseconds)
{
    const auto times = bench::parseBenchmarkCsv(
        "2024-01-01T00:00:00+00:00\n"
        "Running ./glouto_engine_bench\n"
        "name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,error_occurred,error_message\n"
        "\"BM_ComputeCellCode_median\",3,15.6,8.1,ns,,,,,\n"
        "\"BM_Timer3_ClockRandom_median\",3,0.40,0.25,us,,,,,\n"
        "\"BM_Broken\",3,1,notanumber,ns,,,,,\n"
        "\"BM_Short\",3\n");
    EXPECT_EQ(times.size(), 2u);
    EXPECT_DOUBLE_EQ(times.at("BM_ComputeCellCode_median"), 8.1);
    EXPECT_DOUBLE_EQ(times.at("BM_Timer3_ClockRandom_median"), 250);
    EXPECT_TRUE(bench::parseBenchmarkCsv("no header at all\n\"BM_X\",1,1,1,ns\n").empty());
}

TEST(Report, TableIsMarkdownWithRatiosAndVerdicts)
{
    bench::Row cpu("CPU (ms)", 60, 30);
    cpu.showRatio = true;
    cpu.goal = "<= 1.5x";
    cpu.met = false;
    bench::Row engine("ComputeCellCode", 8.04);
    engine.decimals = 1;
    engine.goal = "< 10 ns";
    engine.met = true;
    const std::string table = bench::formatTable({bench::Row::title("process"), cpu, engine});

    std::istringstream lines(table);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) {
        all.push_back(line);
        // Six columns on every line, so that Markdown keeps them apart.
        EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 7) << line;
    }
    ASSERT_EQ(all.size(), 5u);
    EXPECT_NE(all[1].find("---:"), std::string::npos);
    EXPECT_NE(all[2].find("**process**"), std::string::npos);
    EXPECT_NE(all[3].find("60.00"), std::string::npos);
    EXPECT_NE(all[3].find("2.00"), std::string::npos);
    EXPECT_NE(all[3].find("MISSED"), std::string::npos);
    // No baseline, no ratio: dashes rather than a made-up number.
    EXPECT_NE(all[4].find("8.0"), std::string::npos);
    EXPECT_NE(all[4].find(" - |"), std::string::npos);
    EXPECT_NE(all[4].find("met"), std::string::npos);
}

} // namespace
